#include "cli/run_options.h"

#include <charconv>

namespace casl::cli {

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
        const bool takesValue = arg == "--input" || arg == "--answer" || arg == "--max-steps";
        if (takesValue && i + 1 >= args.size()) {
            error = arg + " needs a value";
            return std::nullopt;
        }
        if (arg == "--input") {
            options.inputs.push_back(args[++i]);
        } else if (arg == "--answer") {
            const std::string& value = args[++i];
            if (value != "yes" && value != "no") {
                error = "--answer takes yes or no, not '" + value + "'";
                return std::nullopt;
            }
            options.answers.push_back(value == "yes");
        } else if (arg == "--max-steps") {
            const std::string& value = args[++i];
            std::int64_t steps = 0;
            const auto [end, ec] =
                std::from_chars(value.data(), value.data() + value.size(), steps);
            if (ec != std::errc{} || end != value.data() + value.size() || steps < 0) {
                error = "--max-steps takes a number of steps, not '" + value + "'";
                return std::nullopt;
            }
            options.maxSteps = steps;
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
