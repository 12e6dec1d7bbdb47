#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace casl {

class TraceSession;
struct ProgramTables;

/// The values a student may predict before Next: GR0 to GR7, PR, SP, OF, SF and ZF.
inline constexpr int predictedValueCount = 13;
/// Where PR, SP and the three flags stand among the predicted values.
inline constexpr int predictedProgramRegister = 8;
inline constexpr int predictedStackPointer = 9;
inline constexpr int predictedOverflowFlag = 10;
inline constexpr int predictedSignFlag = 11;
inline constexpr int predictedZeroFlag = 12;

/// A prediction after the step it was made for.
enum class PredictionResult : std::uint8_t { None, Right, Wrong };

/// Who wrote a value of the displays, said as a tip, and the step 戻る to the writer goes to
/// (0: no step of the run wrote it).
struct ValueExplanation {
    std::u32string tip;
    std::uint32_t writerStep = 0;
};

/// What the workbench explains about its run where it stands: who wrote each value of the
/// displays, which words the last step read, and the predictions of the student.
struct RunExplanation {
    /// GR0 to GR7, PR (`pc`), SP (`sp`) and the flags (`fr`).
    std::array<ValueExplanation, 8> registers;
    ValueExplanation programRegister;
    ValueExplanation stackPointer;
    ValueExplanation flags;
    /// One per line of the data and stack dumps (an empty tip for header and folded lines).
    std::vector<ValueExplanation> dataArea;
    std::vector<ValueExplanation> stackArea;
    /// The lines of the dumps (from 0) whose words the last step read.
    std::vector<int> dataAreaReads;
    std::vector<int> stackAreaReads;
    /// The words the last step read, said in words (popped slots too, which the dump no longer
    /// shows); "" when it read none.
    std::u32string readsText;
    /// The step the run stands after, and the oldest it can step back to.
    std::uint32_t step = 0;
    std::uint32_t oldestStep = 0;
    /// What the last step back to a writer could not do; "" when it did.
    std::u32string notice;

    /// The predictions typed for the next step, as typed.
    std::array<std::u32string, predictedValueCount> predictions;
    /// How the predictions of the last step came out.
    std::array<PredictionResult, predictedValueCount> predictionResults{};
    int predictionsRight = 0;
    int predictionsMade = 0;
};

/// The writers and reads of `session` where it stands, for the dumps as shown with
/// `simpleDisplay`. The session must be explained.
void explainRun(const TraceSession& session, const ProgramTables& tables, bool simpleDisplay,
                RunExplanation& explanation);

/// Marks each non-empty prediction right or wrong against the run where it stands, counts it,
/// and clears it. Registers take decimal, "#" and hexadecimal, or four hexadecimal digits as
/// the displays show them; PR and SP hexadecimal, with or without "#"; the flags 0 or 1.
void markPredictions(const TraceSession& session, RunExplanation& explanation);

} // namespace casl
