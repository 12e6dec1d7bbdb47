#include "workbench/run_explanation.h"

#include "assembler/listing.h"
#include "simulator/display_texts.h"
#include "simulator/trace_session.h"
#include "simulator/trace_table.h"
#include "simulator/trace_table_text.h"
#include "simulator/word.h"

#include <optional>

namespace casl {
namespace {

/// "written at step 12, line 7: ADDA GR1,GR2", or where the value came from without a step.
ValueExplanation explain(std::u32string name, Writer writer, const ProgramTables& tables,
                         std::u32string_view withoutStep) {
    ValueExplanation e;
    e.writerStep = writer.step;
    e.tip = std::move(name);
    e.tip += U": ";
    if (writer.step == 0) {
        e.tip += withoutStep;
        return e;
    }
    e.tip += U"written at step " + decimalText(writer.step) + U", line " +
             decimalText(writer.line) + U": " + instructionText(tables, writer.line);
    return e;
}

constexpr std::u32string_view registerNames[8] = {U"GR0", U"GR1", U"GR2", U"GR3",
                                                  U"GR4", U"GR5", U"GR6", U"GR7"};

std::u32string dataWordName(const ProgramTables& tables, int row) {
    const std::u32string& label = tables.dataLabel[static_cast<std::size_t>(row)];
    std::u32string name = label.empty() ? U"" : label + U" ";
    return name + hex4(tables.dataWords[static_cast<std::size_t>(row)][dataAddressColumn]);
}

std::optional<std::int32_t> parseNumber(std::u32string_view text, bool hexOnly) {
    bool hex = hexOnly;
    if (!text.empty() && text.front() == U'#') {
        hex = true;
        text.remove_prefix(1);
    } else if (text.size() == 4 &&
               text.find_first_not_of(U"0123456789ABCDEFabcdef") == std::u32string_view::npos) {
        hex = true;
    }
    bool negative = false;
    if (!hex && !text.empty() && text.front() == U'-') {
        negative = true;
        text.remove_prefix(1);
    }
    if (text.empty() || text.size() > 6) {
        return std::nullopt;
    }
    std::int32_t value = 0;
    for (const char32_t c : text) {
        int digit = -1;
        if (c >= U'0' && c <= U'9') {
            digit = static_cast<int>(c - U'0');
        } else if (hex && c >= U'A' && c <= U'F') {
            digit = static_cast<int>(c - U'A') + 10;
        } else if (hex && c >= U'a' && c <= U'f') {
            digit = static_cast<int>(c - U'a') + 10;
        }
        if (digit < 0) {
            return std::nullopt;
        }
        value = value * (hex ? 16 : 10) + digit;
    }
    return negative ? -value : value;
}

/// Whether `predicted` names the 16-bit `value`; a text that names no number is wrong.
bool sameWord(std::u32string_view predicted, std::int32_t value, bool hexOnly) {
    const std::optional<std::int32_t> number = parseNumber(predicted, hexOnly);
    return number && *number >= -32768 && *number <= 65535 &&
           wordPattern(*number) == wordPattern(value);
}

} // namespace

void explainRun(const TraceSession& session, const ProgramTables& tables, bool simpleDisplay,
                RunExplanation& e) {
    const Provenance& writers = *session.provenance();
    constexpr std::u32string_view startLeft = U"as the run started with it";
    for (int r = 0; r < 8; ++r) {
        e.registers[static_cast<std::size_t>(r)] = explain(
            std::u32string(registerNames[r]),
            writers.of(ValuePlace::machine(static_cast<MachineValue>(r))), tables, startLeft);
    }
    e.programRegister = explain(
        U"PR", writers.of(ValuePlace::machine(MachineValue::ProgramRegister)), tables, startLeft);
    e.stackPointer = explain(U"SP", writers.of(ValuePlace::machine(MachineValue::StackPointer)),
                             tables, startLeft);
    e.flags = explain(U"OF SF ZF", writers.of(ValuePlace::machine(MachineValue::Flags)), tables,
                      startLeft);

    const std::vector<int> rows = dataAreaRowsByLine(tables, simpleDisplay);
    e.dataArea.assign(rows.size(), ValueExplanation{});
    for (std::size_t line = 0; line < rows.size(); ++line) {
        if (rows[line] != 0) {
            e.dataArea[line] = explain(dataWordName(tables, rows[line]),
                                       writers.of(ValuePlace::dataWord(rows[line])), tables,
                                       U"as the assembler or an earlier run left it");
        }
    }
    const MachineState& m = session.machine();
    const int top = std::clamp(m.stackSlots[0], 0, stackSlotCount - 1);
    // The dump shows the top slot first, after its two header lines.
    e.stackArea.assign(static_cast<std::size_t>(top) + 2, ValueExplanation{});
    for (int k = top; k >= 1; --k) {
        e.stackArea[static_cast<std::size_t>(2 + top - k)] =
            explain(hex4(std::int64_t{m.stackBase} - k + 1), writers.of(ValuePlace::stackSlot(k)),
                    tables, startLeft);
    }

    e.dataAreaReads.clear();
    e.stackAreaReads.clear();
    e.readsText.clear();
    for (const WordOfStep& w : wordsReadByStep(session)) {
        e.readsText += e.readsText.empty() ? U"read: " : U", ";
        if (w.stack) {
            e.readsText += U"stack " + hex4(w.address) + U" = " + hex4(w.value);
            if (w.index > top) {
                e.readsText += U" (popped)";
            } else {
                e.stackAreaReads.push_back(2 + top - w.index);
            }
            continue;
        }
        e.readsText += dataWordName(tables, w.index) + U" = " + hex4(w.value);
        for (std::size_t line = 0; line < rows.size(); ++line) {
            if (rows[line] == w.index) {
                e.dataAreaReads.push_back(static_cast<int>(line));
            }
        }
    }
    e.step = session.stepNumber();
    const TraceHistory& history = session.history();
    e.oldestStep = history.positions() == 0 ? e.step : history.position(0).step;
}

void markPredictions(const TraceSession& session, RunExplanation& e) {
    const MachineState& m = session.machine();
    const TraceDisplays displays = session.displays();
    for (int v = 0; v < predictedValueCount; ++v) {
        std::u32string& predicted = e.predictions[static_cast<std::size_t>(v)];
        PredictionResult& result = e.predictionResults[static_cast<std::size_t>(v)];
        result = PredictionResult::None;
        if (predicted.empty()) {
            continue;
        }
        bool right = false;
        if (v < 8) {
            right = sameWord(predicted, m.generalRegisters[static_cast<std::size_t>(v)], false);
        } else if (v == predictedProgramRegister) {
            right = sameWord(predicted, displays.programRegisterAddress(), true);
        } else if (v == predictedStackPointer) {
            right = sameWord(predicted, m.stackPointer, true);
        } else {
            const int flag = v == predictedOverflowFlag ? (m.overflowFlag != 0 ? 1 : 0)
                             : v == predictedSignFlag   ? signFlagOf(m.signZeroState)
                                                        : zeroFlagOf(m.signZeroState);
            right = predicted == (flag == 1 ? U"1" : U"0");
        }
        result = right ? PredictionResult::Right : PredictionResult::Wrong;
        e.predictionsRight += right ? 1 : 0;
        ++e.predictionsMade;
        predicted.clear();
    }
}

} // namespace casl
