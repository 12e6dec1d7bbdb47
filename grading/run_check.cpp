#include "grading/run_check.h"

#include "grading/case_setup.h"
#include "grading/word_text.h"
#include "platform/text_codec.h"
#include "simulator/word.h"

#include <algorithm>
#include <sstream>

namespace casl::check {
namespace {

/// The `OUT` lines in quotes, LF between them; a run without `OUT` differs from one that wrote
/// one empty line.
std::string outputText(const std::vector<std::u32string>& lines) {
    if (lines.empty()) {
        return "nothing (no OUT)";
    }
    std::u32string text;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        text += i == 0 ? U"" : U"\n";
        text += lines[i];
    }
    return quoted(text);
}

/// Outputs longer than this, or of more than one line, carry where they first differ.
constexpr std::size_t shortOutput = 40;
/// The characters shown either side of the first difference.
constexpr std::size_t excerptReach = 16;

/// The characters of `line` around `at`, quoted, with "…" outside the quotes where it goes on.
std::string excerpt(const std::u32string& line, std::size_t at) {
    const std::size_t begin = at > excerptReach ? at - excerptReach : 0;
    const std::size_t end = std::min(line.size(), at + excerptReach);
    return (begin > 0 ? "…" : "") + quoted(line.substr(begin, end - begin)) +
           (end < line.size() ? "…" : "");
}

std::optional<FirstDifference> firstDifference(const std::vector<std::u32string>& expected,
                                               const std::vector<std::u32string>& actual) {
    std::size_t longest = 0;
    for (const auto* lines : {&expected, &actual}) {
        for (const std::u32string& line : *lines) {
            longest = std::max(longest, line.size());
        }
    }
    if (expected.size() <= 1 && actual.size() <= 1 && longest <= shortOutput) {
        return std::nullopt;
    }
    std::size_t row = 0;
    while (row < expected.size() && row < actual.size() && expected[row] == actual[row]) {
        ++row;
    }
    const std::string lineName = "line " + std::to_string(row + 1);
    auto missing = [&](const std::vector<std::u32string>& lines) {
        return "no " + lineName + " (" + std::to_string(lines.size()) +
               (lines.size() == 1 ? " line)" : " lines)");
    };
    if (row >= expected.size() || row >= actual.size()) {
        return FirstDifference{
            lineName, row < expected.size() ? excerpt(expected[row], 0) : missing(expected),
            row < actual.size() ? excerpt(actual[row], 0) : missing(actual)};
    }
    const std::u32string& e = expected[row];
    const std::u32string& a = actual[row];
    std::size_t column = 0;
    while (column < e.size() && column < a.size() && e[column] == a[column]) {
        ++column;
    }
    return FirstDifference{lineName + ", character " + std::to_string(column + 1),
                           excerpt(e, column), excerpt(a, column)};
}

std::string expectedDataText(const ExpectedData& wanted) {
    if (wanted.kind == ExpectedData::Kind::Text) {
        return quoted(wanted.text);
    }
    if (!wanted.list) {
        return wordText(wanted.words.front());
    }
    std::string list = "[";
    for (std::size_t j = 0; j < wanted.words.size(); ++j) {
        list += (j == 0 ? "" : ", ") + wanted.words[j].written;
    }
    return list + "]";
}

std::string endingText(const RunRecord& run, const CheckCase& c) {
    std::string text(endingName(run.ending));
    if (run.ending == RunEnding::StepLimit) {
        return text + " (no end within the budget of " + std::to_string(c.maxSteps) +
               " steps; stopped after " + std::to_string(run.steps) + ")";
    }
    if (run.ending == RunEnding::OutputLimit) {
        return text + " (the OUT text passed " + std::to_string(c.maxOutput) + " characters)";
    }
    if (run.ending == RunEnding::TimeLimit) {
        std::ostringstream seconds;
        seconds << c.timeLimitSeconds.value_or(0);
        return text + " (no end within the time limit of " + seconds.str() +
               " seconds; stopped after " + std::to_string(run.steps) + " steps)";
    }
    if (run.ending != RunEnding::ProgramEnd) {
        text += ": " + quoted(comparableMessage(run.endingMessage));
    }
    return text;
}

void compareEnding(const RunRecord& run, const CheckCase& c, std::vector<Mismatch>& found) {
    const ExpectedEnding wanted = c.expect.ending.value_or(
        ExpectedEnding{RunEnding::ProgramEnd, std::nullopt, "program-end"});
    if (wanted.text) {
        if (run.ending == RunEnding::StepLimit || run.ending == RunEnding::OutputLimit ||
            run.ending == RunEnding::TimeLimit ||
            comparableMessage(run.endingMessage) != *wanted.text) {
            found.push_back({"ending", quoted(*wanted.text), endingText(run, c)});
        }
    } else if (run.ending != wanted.ending) {
        found.push_back({"ending", wanted.written, endingText(run, c)});
    }
}

void compareWord(std::string what, const std::optional<ExpectedWord>& wanted, std::int64_t value,
                 std::vector<Mismatch>& found) {
    if (wanted && wanted->pattern != static_cast<std::uint16_t>(value & 0xFFFF)) {
        found.push_back({std::move(what), wordText(*wanted), wordText(value)});
    }
}

void compareFlag(std::string what, const std::optional<int>& wanted, int value,
                 std::vector<Mismatch>& found) {
    if (wanted && *wanted != value) {
        found.push_back({std::move(what), std::to_string(*wanted), std::to_string(value)});
    }
}

/// The characters of data words as the test file writes them, when every word holds the code
/// of one character.
std::optional<std::u32string> wordsAsText(const ProgramTables& tables, int row, std::size_t count) {
    std::u32string text;
    for (std::size_t j = 0; j < count; ++j) {
        const std::int32_t value = tables.dataWords[row + j][dataValueColumn];
        std::string bytes;
        if (value >= 0 && value <= 255) {
            bytes.push_back(static_cast<char>(value));
        } else if (value < 0 && value >= -32768) {
            const auto pattern = static_cast<std::uint16_t>(value & 0xFFFF);
            bytes = {static_cast<char>(pattern >> 8), static_cast<char>(pattern & 0xFF)};
        } else {
            return std::nullopt;
        }
        const platform::DecodedText decoded = platform::decodeCp932(bytes);
        if (decoded.badByte || decoded.text.size() != 1) {
            return std::nullopt;
        }
        text += decoded.text;
    }
    return text;
}

std::string wordsText(const ProgramTables& tables, int row, std::size_t count) {
    std::string list = "[";
    for (std::size_t j = 0; j < count; ++j) {
        list += (j == 0 ? "" : ", ") + std::to_string(tables.dataWords[row + j][dataValueColumn]);
    }
    return list + "]";
}

void compareData(const ExpectedData& wanted, const ProgramTables& tables,
                 std::vector<Mismatch>& found) {
    const std::string label = platform::toUtf8(wanted.label);
    const std::string what = "data " + label;
    const std::string expected = expectedDataText(wanted);
    const int row = labelledDataRow(tables, wanted.label);
    if (row == 0) {
        Mismatch m{what, expected, "(no DC or DS line has the label " + label + ")"};
        m.missingLabel = true;
        found.push_back(std::move(m));
        return;
    }
    const std::size_t available = static_cast<std::size_t>(tables.dataWordCounter - row);
    const std::size_t count = std::min(wanted.words.size(), available);
    if (wanted.kind == ExpectedData::Kind::Text) {
        bool same = count == wanted.words.size();
        for (std::size_t j = 0; same && j < count; ++j) {
            same = wanted.words[j].pattern ==
                   static_cast<std::uint16_t>(tables.dataWords[row + j][dataValueColumn] & 0xFFFF);
        }
        if (!same) {
            const auto text = wordsAsText(tables, row, count);
            found.push_back({what, expected, text ? quoted(*text) : wordsText(tables, row, count)});
        }
        return;
    }
    for (std::size_t j = 0; j < wanted.words.size(); ++j) {
        const std::string place = j == 0 ? what : what + "+" + std::to_string(j);
        if (j >= available) {
            found.push_back(
                {place, wordText(wanted.words[j]),
                 "(the data words end before " + label + "+" + std::to_string(j) + ")"});
            return;
        }
        const std::int32_t value = tables.dataWords[row + j][dataValueColumn];
        if (wanted.words[j].pattern != static_cast<std::uint16_t>(value & 0xFFFF)) {
            found.push_back({place, wordText(wanted.words[j]), wordText(value)});
            return;
        }
    }
}

} // namespace

std::vector<std::u32string> outputLinesOf(std::u32string_view outputText) {
    // Every `OUT` appends CR LF and then its characters, which never hold a line end.
    std::vector<std::u32string> lines;
    std::size_t at = outputText.find(U"\r\n");
    while (at != std::u32string_view::npos) {
        const std::size_t begin = at + 2;
        at = outputText.find(U"\r\n", begin);
        lines.emplace_back(outputText.substr(
            begin, at == std::u32string_view::npos ? std::u32string_view::npos : at - begin));
    }
    return lines;
}

std::vector<Mismatch> compareRun(const RunRecord& run, const ProgramTables& tables,
                                 const CheckCase& c) {
    std::vector<Mismatch> found;
    const Expectations& e = c.expect;
    compareEnding(run, c, found);
    if (e.output) {
        const std::vector<std::u32string> lines = outputLinesOf(run.machine.outputText);
        if (lines != *e.output) {
            Mismatch m{"output", outputText(*e.output), outputText(lines)};
            m.firstDifference = firstDifference(*e.output, lines);
            found.push_back(std::move(m));
        }
    }
    for (std::size_t i = 0; i < e.registers.size(); ++i) {
        compareWord("GR" + std::to_string(i), e.registers[i], run.machine.generalRegisters[i],
                    found);
    }
    if (c.call) {
        for (const int r : c.call->preserves) {
            const std::int16_t atCall = c.call->registers[static_cast<std::size_t>(r)];
            const ExpectedWord kept{static_cast<std::uint16_t>(atCall), std::to_string(atCall)};
            compareWord("GR" + std::to_string(r) + " kept from the call", kept,
                        run.machine.generalRegisters[static_cast<std::size_t>(r)], found);
        }
    }
    compareWord("PR", e.programRegister, run.programRegister, found);
    compareWord("SP", e.stackPointer, run.machine.stackPointer, found);
    compareFlag("OF", e.overflowFlag, run.machine.overflowFlag != 0 ? 1 : 0, found);
    compareFlag("SF", e.signFlag, signFlagOf(run.machine.signZeroState), found);
    compareFlag("ZF", e.zeroFlag, zeroFlagOf(run.machine.signZeroState), found);
    for (const ExpectedData& d : e.data) {
        compareData(d, tables, found);
    }
    return found;
}

} // namespace casl::check
