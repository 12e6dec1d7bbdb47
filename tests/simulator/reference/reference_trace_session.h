#pragma once

#include "assembler/program_tables.h"
#include "simulator/address_index.h"
#include "simulator/display_texts.h"
#include "simulator/machine_state.h"
#include "simulator/trace_displays.h"
#include "simulator/trace_host.h"
#include "simulator/trace_session.h"
#include "tests/simulator/reference/reference_trace_history.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace casl::test {

/// The step loop as it stood before runs were decoded: every step looks its line up in the
/// tables again. It behaves as `TraceSession` does, call for call, and stays as the reference
/// that the differential test and the benchmarks compare the decoded loop with.
class ReferenceTraceSession {
public:
    ReferenceTraceSession(ProgramTables& tables, MachineState& machine,
                          std::u32string_view infoText, TraceOptions options, TraceHost& host);

    ReferenceTraceSession(const ReferenceTraceSession&) = delete;
    ReferenceTraceSession& operator=(const ReferenceTraceSession&) = delete;

    /// Prepares the machine (SP, stack, flags, first line) and runs until a step waits or the
    /// run ends.
    void start();
    /// Next: the waiting step goes on. Does nothing unless the run waits.
    void next();
    /// End: the waiting run ends without a message. Does nothing unless the run waits.
    void end();
    /// 戻る: undoes the last step, so that every display shows what it showed after the step
    /// before; a step that the run went through without waiting counts too. Does nothing unless
    /// the run waits and a step can be undone. Next then executes again from there.
    void back();
    /// Closes the open box with `answer` and lets the run go on. Does nothing unless asking.
    void answer(const BoxAnswer& answer);

    /// The open box while the run asks.
    const RunBox* pendingBox() const { return state_ == TraceState::Asking ? &box_ : nullptr; }
    /// How many steps `back()` can undo now.
    std::size_t stepsBack() const { return history_.stepsBack(); }
    /// Whether the oldest steps of the run were dropped to keep the history within its bound.
    bool historyDropped() const { return history_.dropped(); }
    /// The memory the history takes now.
    std::size_t historyBytes() const { return history_.bytes(); }

    /// The breakpoint line changed (Clear sets 0, a click into the editor sets a line).
    void setBreakpointLine(int line) { breakpointLine_ = line; }
    int breakpointLine() const { return breakpointLine_; }
    /// "簡易表示" changed; the next refresh uses it.
    void setSimpleDisplay(bool simple) { simpleDisplay_ = simple; }

    TraceState state() const { return state_; }
    bool waiting() const { return state_ == TraceState::Waiting; }
    bool asking() const { return state_ == TraceState::Asking; }
    bool ended() const { return state_ == TraceState::Ended; }
    TraceEnding ending() const { return ending_; }
    /// The box whose answer ended the run: "Program終了", the run-time message, or the question
    /// whose Yes stopped it. Nothing while the run goes on, and when End or No to the step
    /// question ended it.
    const RunBox* endingBox() const {
        return ending_ == TraceEnding::ProgramEnded || ending_ == TraceEnding::RuntimeMessage
                   ? &box_
                   : nullptr;
    }
    /// The steps counted in this run so far, through every Yes to the step question.
    std::int64_t countedSteps() const { return countedSteps_; }
    /// The proceeds since the start or since the last Yes to the step question.
    std::int32_t stepCount() const { return stepCount_; }

    const MachineState& machine() const { return machine_; }
    /// The displays as the window shows them now; valid while the session lives.
    TraceDisplays displays() const;

private:
    /// What an instruction's execution came to.
    enum class Flow {
        Go,   ///< It is done; the step ends.
        Ask,  ///< It opened a box; the continuation finishes it.
        Stop, ///< The run ended.
    };
    /// What the run does next.
    enum class Next { Execute, Finish, Proceed, Wait, Ask, Stop };

    /// How the run goes on once the open box is answered.
    struct Continuation {
        enum class Kind { EndRun, OperandQuestion, Input, Output, StepQuestion };
        Kind kind = Kind::EndRun;
        TraceEnding ending = TraceEnding::RuntimeMessage;
        int line = 0;
        int code = 0;
        /// For an operand question: the code word's value, and whether the operand was a label.
        std::int32_t operandValue = 0;
        bool labelOperand = false;
    };

    // The step loop and the end of a run.
    void carryOn(Next next);
    Next executeStep();
    Next finishStep();
    Next proceed();
    Next resume(const BoxAnswer& answer);
    static Next after(Flow flow);
    void refresh();
    void showToHost();
    void endTrace(TraceEnding ending);
    Flow openBox(RunBox box, Continuation continuation);
    Flow stopWith(std::u32string_view text, std::u32string_view title, bool refreshFirst);
    Flow passedLastLine();

    // The history of the run.
    /// Fills `position` with where the run stands (the writes are logged as they happen).
    void notePosition(ReferenceTracePosition& position) const;
    void writeDataWord(int row, std::int32_t value);
    void writeStackSlot(int slot, std::int32_t value);

    // Memory operands.
    struct Operand {
        std::int32_t value = 0; ///< A data word's address, or a code word's value.
        bool inCode = false;
    };

    // Execution of one line.
    Flow execute(int line);
    Flow executeStart(int line);
    Flow executeMemoryOperand(int line, int op);
    Flow applyMemoryOperand(int line, int op, Operand operand);
    Flow executeRegisterForm(int line, int op);
    Flow executeShift(int line, int op);
    Flow executeJump(int line, int op);
    Flow executeCall(int line);
    Flow executeReturn(int line);
    Flow executePush(int line);
    Flow executePop(int line);
    Flow executeRegisterPush();
    Flow executeRegisterPop();
    Flow executeIn(int line);
    void storeInput(int line, const std::u32string& answer);
    Flow executeOut(int line);

    Flow resolveOperand(int line, int op, Operand& operand);
    std::int32_t effectiveAddress(int line) const;
    Flow branchTo(std::int32_t target);
    Flow stopAtBranchTarget(std::int32_t target);
    bool push(std::int32_t value);
    bool pop(std::int16_t& reg);

    void showObjectCode(int line);
    void showObjectCodeBlank();
    void showProgramRegister(int line, int words);
    void showAddress(std::int32_t address);
    void setBranchMarks(int line);

    ProgramTables& tables_;
    MachineState& machine_;
    TraceHost& host_;
    MarkedListing listing_;
    AddressIndex index_;
    int breakpointLine_;
    bool simpleDisplay_;

    TraceState state_ = TraceState::NotStarted;
    TraceEnding ending_ = TraceEnding::None;
    std::int32_t stepCount_ = 0;
    std::int64_t countedSteps_ = 0;
    bool displayOnly_ = false;
    bool branchMark_ = false;
    int lineAfterBranch_ = 0;
    int markedLine_ = 0;
    /// Whether the host has not yet seen the latest refresh or caption change.
    bool hostBehind_ = false;

    RunBox box_;
    Continuation continuation_;
    /// The answer of a host that answered the box as it opened.
    std::optional<BoxAnswer> immediateAnswer_;
    ReferenceTraceHistory history_;

    RefreshedState refreshed_;
    InstructionCaptions captions_;
};

} // namespace casl::test
