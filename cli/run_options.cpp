#include "cli/run_options.h"

#include <charconv>
#include <limits>

namespace casl::cli {
namespace {

/// `value` as a whole decimal number from `least` to `most`, or nothing.
std::optional<std::int64_t> numberIn(const std::string& value, std::int64_t least,
                                     std::int64_t most) {
    std::int64_t number = 0;
    const auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), number);
    if (ec != std::errc{} || end != value.data() + value.size() || number < least ||
        number > most) {
        return std::nullopt;
    }
    return number;
}

/// The buttons of `--press`: "n", "b" and "e" separated by commas.
std::optional<std::vector<Press>> pressesOf(const std::string& value) {
    std::vector<Press> presses;
    std::size_t start = 0;
    for (;;) {
        const std::size_t comma = value.find(',', start);
        const std::string button = value.substr(start, comma - start);
        if (button == "n") {
            presses.push_back(Press::Next);
        } else if (button == "b") {
            presses.push_back(Press::Back);
        } else if (button == "e") {
            presses.push_back(Press::End);
        } else {
            return std::nullopt;
        }
        if (comma == std::string::npos) {
            return presses;
        }
        start = comma + 1;
    }
}

/// Takes the value of the option `name`; false with the reason in `error` when it is wrong.
bool takeValue(RunOptions& options, const std::string& name, const std::string& value,
               std::string& error) {
    if (name == "--input") {
        options.inputs.push_back(value);
    } else if (name == "--answer") {
        if (value != "yes" && value != "no") {
            error = "--answer takes yes or no, not '" + value + "'";
            return false;
        }
        options.answers.push_back(value == "yes");
    } else if (name == "--breakpoint") {
        const auto line = numberIn(value, 1, std::numeric_limits<int>::max());
        if (!line) {
            error = "--breakpoint takes a line number from 1, not '" + value + "'";
            return false;
        }
        options.breakpointLine = static_cast<int>(*line);
    } else if (name == "--max-steps") {
        const auto steps = numberIn(value, 0, std::numeric_limits<std::int64_t>::max());
        if (!steps) {
            error = "--max-steps takes a number of steps, not '" + value + "'";
            return false;
        }
        options.maxSteps = *steps;
    } else if (name == "--press") {
        auto presses = pressesOf(value);
        if (!presses) {
            error = "--press takes buttons n, b and e separated by commas, not '" + value + "'";
            return false;
        }
        options.presses.insert(options.presses.end(), presses->begin(), presses->end());
    }
    return true;
}

bool takesValue(const std::string& arg) {
    return arg == "--input" || arg == "--answer" || arg == "--breakpoint" || arg == "--max-steps" ||
           arg == "--press";
}

} // namespace

std::optional<RunOptions> parseRunOptions(const std::vector<std::string>& args,
                                          std::string& error) {
    RunOptions options;
    bool havePath = false;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        // "--" ends the options: what follows is the FILE, even a name that begins with "-".
        if (arg == "--" && !optionsEnded) {
            optionsEnded = true;
            continue;
        }
        if (optionsEnded) {
            if (havePath) {
                error = "expected exactly one FILE";
                return std::nullopt;
            }
            options.path = arg;
            havePath = true;
            continue;
        }
        if (takesValue(arg)) {
            if (i + 1 >= args.size()) {
                error = arg + " needs a value";
                return std::nullopt;
            }
            if (!takeValue(options, arg, args[++i], error)) {
                return std::nullopt;
            }
        } else if (arg == "--simple") {
            options.simpleDisplay = true;
        } else if (arg == "--trace") {
            options.trace = true;
        } else if (arg.size() > 1 && arg.starts_with("-")) {
            error = "unknown option '" + arg + "'";
            return std::nullopt;
        } else if (havePath) {
            error = "expected exactly one FILE";
            return std::nullopt;
        } else {
            options.path = arg;
            havePath = true;
        }
    }
    if (!havePath) {
        error = "expected exactly one FILE";
        return std::nullopt;
    }
    return options;
}

} // namespace casl::cli
