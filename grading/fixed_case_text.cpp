#include "grading/fixed_case_text.h"

#include "grading/word_text.h"
#include "platform/text_codec.h"

#include <algorithm>

namespace casl::check {
namespace {

std::string quotedUtf8(const std::string& text) {
    return quoted(platform::fromUtf8(text));
}

template <typename T, typename Show> std::string listOf(const std::vector<T>& items, Show show) {
    std::string list;
    for (const T& item : items) {
        list += (list.empty() ? "" : ", ") + show(item);
    }
    return list;
}

std::string wordsText(const ExpectedData& d) {
    if (d.kind == ExpectedData::Kind::Text) {
        return quoted(d.text);
    }
    const std::string words = listOf(d.words, [](const ExpectedWord& w) {
        return w.written.starts_with('#') ? "\"" + w.written + "\"" : w.written;
    });
    return d.list ? "[" + words + "]" : words;
}

/// `LABEL = words, ...` of the data that has words; a table of a length drawn as 0 sets
/// nothing and a test file cannot write it.
std::string dataEntries(const std::vector<ExpectedData>& data) {
    std::string entries;
    for (const ExpectedData& d : data) {
        if (!d.words.empty()) {
            entries += (entries.empty() ? "" : ", ") + quoted(d.label) + " = " + wordsText(d);
        }
    }
    return entries;
}

/// The registers a call sets: those that are not 0.
std::string callRegisters(const SubroutineCall& call) {
    std::string list;
    for (std::size_t r = 0; r < call.registers.size(); ++r) {
        if (call.registers[r] != 0) {
            list += (list.empty() ? "" : ", ") + std::string("GR") + std::to_string(r) + " = " +
                    std::to_string(call.registers[r]);
        }
    }
    return list;
}

} // namespace

std::string givenText(const CheckCase& c) {
    std::string parts;
    if (!c.inputs.empty()) {
        parts = "inputs " + listOf(c.inputs, [](const std::u32string& in) { return quoted(in); });
    }
    for (const ExpectedData& d : c.setup) {
        parts += (parts.empty() ? "" : "; ") + platform::toUtf8(d.label) + " = " +
                 (d.words.empty() ? "[]" : wordsText(d));
    }
    if (c.call) {
        if (const std::string registers = callRegisters(*c.call); !registers.empty()) {
            parts += (parts.empty() ? "" : "; ") + registers;
        }
    }
    return parts.empty() ? "no inputs" : parts;
}

std::string fixedCaseToml(const CheckCase& c) {
    std::string name = c.name;
    std::replace(name.begin(), name.end(), '#', '-');
    std::string t = "[[case]]\nname = " + quotedUtf8(name) + "\n";
    if (!c.inputs.empty()) {
        t += "inputs = [" + listOf(c.inputs, [](const std::u32string& in) { return quoted(in); }) +
             "]\n";
    }
    if (!c.answers.empty()) {
        t += "answers = [" +
             listOf(c.answers, [](bool yes) { return std::string(yes ? "\"yes\"" : "\"no\""); }) +
             "]\n";
    }
    if (c.points != 1) {
        std::string points = std::to_string(c.points);
        points.erase(points.find_last_not_of('0') + 1);
        t += "points = " + (points.ends_with('.') ? points + "0" : points) + "\n";
    }
    if (c.hidden) {
        t += "hidden = true\n";
    }
    if (c.maxSteps != defaultMaxSteps) {
        t += "max_steps = " + std::to_string(c.maxSteps) + "\n";
    }
    if (c.maxOutput != defaultMaxOutput) {
        t += "max_output = " + std::to_string(c.maxOutput) + "\n";
    }
    if (c.call) {
        t += "call = " + quoted(c.call->label) + "\n";
        if (const std::string registers = callRegisters(*c.call); !registers.empty()) {
            t += "registers = { " + registers + " }\n";
        }
        if (!c.call->preserves.empty()) {
            t +=
                "preserves = [" +
                listOf(c.call->preserves, [](int r) { return "\"GR" + std::to_string(r) + "\""; }) +
                "]\n";
        }
    }
    if (const std::string setup = dataEntries(c.setup); !setup.empty()) {
        t += "setup.data = { " + setup + " }\n";
    }
    const Expectations& e = c.expect;
    if (e.ending) {
        t += "expect.ending = " + quotedUtf8(e.ending->written) + "\n";
    }
    if (e.output) {
        t += "expect.output = [" +
             listOf(*e.output, [](const std::u32string& line) { return quoted(line); }) + "]\n";
    }
    for (std::size_t r = 0; r < e.registers.size(); ++r) {
        if (e.registers[r]) {
            t += "expect.GR" + std::to_string(r) + " = " + e.registers[r]->written + "\n";
        }
    }
    const std::pair<const char*, const std::optional<int>*> flags[] = {
        {"OF", &e.overflowFlag}, {"SF", &e.signFlag}, {"ZF", &e.zeroFlag}};
    for (const auto& [flag, value] : flags) {
        if (*value) {
            t += std::string("expect.") + flag + " = " + std::to_string(**value) + "\n";
        }
    }
    if (const std::string data = dataEntries(e.data); !data.empty()) {
        t += "expect.data = { " + data + " }\n";
    }
    return t;
}

} // namespace casl::check
