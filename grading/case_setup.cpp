#include "grading/case_setup.h"

#include "grading/case_runner.h"
#include "platform/text_codec.h"

#include <charconv>
#include <utility>
#include <vector>

namespace casl::check {
namespace {

/// The value a data word takes for `word` of `d`.
std::int32_t storedValue(const ExpectedData& d, const ExpectedWord& word) {
    const std::string& written = word.written;
    std::int32_t value = 0;
    if (d.kind == ExpectedData::Kind::Words && !written.starts_with('#') &&
        std::from_chars(written.data(), written.data() + written.size(), value).ec == std::errc{}) {
        return value;
    }
    return static_cast<std::int16_t>(word.pattern);
}

} // namespace

int labelledDataRow(const ProgramTables& tables, std::u32string_view label) {
    for (int w = 1; w < tables.dataWordCounter && w <= maxDataWords; ++w) {
        if (tables.dataLabel[static_cast<std::size_t>(w)] == label) {
            return w;
        }
    }
    return 0;
}

std::optional<std::string> applySetup(ProgramTables& tables, const CheckCase& c) {
    // Every place is found first, so that a case that cannot run changes nothing.
    std::vector<std::pair<int, const ExpectedData*>> places;
    for (const ExpectedData& d : c.setup) {
        const std::string label = platform::toUtf8(d.label);
        const int row = labelledDataRow(tables, d.label);
        if (row == 0) {
            return "setup.data." + label + ": no DC or DS line has the label " + label;
        }
        const auto available = static_cast<std::size_t>(tables.dataWordCounter - row);
        if (d.words.size() > available) {
            return "setup.data." + label + ": " + std::to_string(d.words.size()) + " words from " +
                   label + " on run past the last data word (" + std::to_string(available) +
                   " from there)";
        }
        places.emplace_back(row, &d);
    }
    for (const auto& [row, d] : places) {
        for (std::size_t j = 0; j < d->words.size(); ++j) {
            tables.dataWords[static_cast<std::size_t>(row) + j][dataValueColumn] =
                storedValue(*d, d->words[j]);
        }
    }
    return std::nullopt;
}

std::variant<int, std::string> prepareCaseRun(ProgramTables& tables, const CheckCase& c) {
    if (auto problem = applySetup(tables, c)) {
        return std::move(*problem);
    }
    if (!c.call) {
        return 1;
    }
    if (const int line = subroutineLine(tables, c.call->label); line != 0) {
        return line;
    }
    return "no line has the label " + platform::toUtf8(c.call->label) +
           " of the subroutine to call";
}

MachineState machineAtStart(const CheckCase& c) {
    MachineState machine;
    if (c.call) {
        machine.generalRegisters = c.call->registers;
    }
    return machine;
}

} // namespace casl::check
