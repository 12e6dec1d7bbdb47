#include "grading/run_ending.h"

#include "platform/line_ends.h"
#include "simulator/run_messages.h"

#include <algorithm>
#include <array>

namespace casl::check {
namespace {

struct EndingRow {
    RunEnding ending;
    std::string_view name;
    /// The message that shows this ending; empty for the bounds.
    std::u32string_view text;
    /// The message's title, where two messages share a text.
    std::u32string_view title;
};

constexpr std::array<EndingRow, 15> endingRows{{
    {RunEnding::ProgramEnd, "program-end", messages::programEnd, {}},
    {RunEnding::StepLimit, "step-limit", {}, {}},
    {RunEnding::OutputLimit, "output-limit", {}, {}},
    {RunEnding::TimeLimit, "time-limit", {}, {}},
    {RunEnding::StartAddress, "start-address", messages::startAddress, {}},
    {RunEnding::StackOverflow, "stack-overflow", messages::stackOverflow, {}},
    {RunEnding::StackUnderflow, "stack-underflow", messages::stackUnderflow, {}},
    {RunEnding::NegativeShift, "negative-shift", messages::negativeShift, {}},
    {RunEnding::StoreIntoCode, "store-into-code", messages::storeIntoCode, {}},
    {RunEnding::BranchTarget, "branch-target", messages::branchTarget, {}},
    {RunEnding::ReturnTarget, "return-target", messages::returnTarget, {}},
    {RunEnding::OutsideProgramWarning, "outside-program-warning", messages::outsideProgram,
     messages::warningTitle},
    {RunEnding::OutsideData, "outside-data", messages::outsideData, {}},
    {RunEnding::CodeArea, "code-area", messages::codeArea, {}},
    {RunEnding::OutsideProgram, "outside-program", messages::outsideProgram,
     messages::operandErrorTitle},
}};

constexpr bool rowsInOrderOfTheEndings() {
    for (std::size_t i = 0; i < endingRows.size(); ++i) {
        if (static_cast<std::size_t>(endingRows[i].ending) != i) {
            return false;
        }
    }
    return true;
}
static_assert(rowsInOrderOfTheEndings(), "row n of the table describes ending n");

const EndingRow& rowOf(RunEnding ending) {
    return endingRows[static_cast<std::size_t>(ending)];
}

/// The branch message begins with its target ("00C8(200)") before the fixed text.
bool isBranchMessage(std::u32string_view comparable) {
    const std::u32string tail = comparableMessage(messages::branchTarget);
    return comparable.size() > tail.size() && comparable.ends_with(tail);
}

} // namespace

std::string_view endingName(RunEnding ending) {
    return rowOf(ending).name;
}

std::optional<RunEnding> endingByName(std::string_view name) {
    for (const EndingRow& row : endingRows) {
        if (row.name == name) {
            return row.ending;
        }
    }
    return std::nullopt;
}

std::u32string comparableMessage(std::u32string_view text) {
    std::u32string lines = platform::convertCrLf(text, platform::LineEndStyle::Lf);
    while (!lines.empty() && (lines.back() == U'\n' || lines.back() == U'\r')) {
        lines.pop_back();
    }
    return lines;
}

std::optional<RunEnding> endingByMessage(std::u32string_view text) {
    const std::u32string comparable = comparableMessage(text);
    if (isBranchMessage(comparable)) {
        return RunEnding::BranchTarget;
    }
    for (const EndingRow& row : endingRows) {
        if (!row.text.empty() && row.ending != RunEnding::BranchTarget &&
            comparableMessage(row.text) == comparable) {
            return row.ending;
        }
    }
    return std::nullopt;
}

RunEnding classifyEnding(TraceEnding ending, const RunBox* endingBox) {
    if (ending == TraceEnding::ProgramEnded) {
        return RunEnding::ProgramEnd;
    }
    if (ending != TraceEnding::RuntimeMessage || endingBox == nullptr) {
        return RunEnding::StepLimit;
    }
    const std::u32string comparable = comparableMessage(endingBox->text);
    if (isBranchMessage(comparable)) {
        return RunEnding::BranchTarget;
    }
    const auto row = std::find_if(endingRows.begin(), endingRows.end(), [&](const EndingRow& r) {
        return !r.text.empty() && comparableMessage(r.text) == comparable &&
               (r.title.empty() || r.title == endingBox->title);
    });
    // Every message that ends a run is in the table; a run cannot end on anything else.
    return row != endingRows.end() ? row->ending : RunEnding::StepLimit;
}

} // namespace casl::check
