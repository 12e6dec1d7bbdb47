#pragma once

#include "assembler/program_tables.h"
#include "simulator/address_index.h"
#include "simulator/decoded_program.h"
#include "simulator/display_texts.h"
#include "simulator/machine_state.h"
#include "simulator/provenance.h"
#include "simulator/trace_displays.h"
#include "simulator/trace_history.h"
#include "simulator/trace_host.h"
#include "simulator/word.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace casl {

/// The window state a run starts with.
struct TraceOptions {
    /// 0 = no breakpoint (every step waits); else the line after whose execution the run waits.
    int breakpointLine = 0;
    /// "簡易表示": the data dump folds the later words of `DS` areas.
    bool simpleDisplay = false;
    /// The memory the steps kept for 戻る may take; 0 keeps none (a run nobody steps back in).
    std::size_t historyBytes = defaultHistoryBytes;
    /// The line the run starts on: 1, the program's first line, as Trace does; a grader that
    /// calls a subroutine starts on the subroutine's line with the registers it set.
    int startLine = 1;
    /// Keeps who last wrote each value of the displays and which words each step read, for a
    /// front end that explains the run (`casl2 check` keeps none). 戻る puts them back, and the
    /// reads are kept with the steps, so both need the history.
    bool explain = false;

    /// The last 131,072 steps of a run (fewer only where steps write many words, as `IN` does),
    /// while the per-step records stay near the processor: a larger ring slows running on
    /// towards a breakpoint.
    static constexpr std::size_t defaultHistoryBytes = std::size_t{24} << 20;
};

/// Where a run is.
enum class TraceState {
    NotStarted, ///< `start()` has not been called.
    Running,    ///< Inside a call of the session: a step executes.
    Waiting,    ///< A step waits for Next (`next()`), End (`end()`) or 戻る (`back()`).
    Asking,     ///< A box of the run is open (`pendingBox()`); `answer()` closes it.
    Ended,      ///< The run is over; the host heard `traceEnded()`.
};

/// How a run ended.
enum class TraceEnding {
    None,           ///< It has not ended.
    EndButton,      ///< End was pressed during a wait.
    StepQuestion,   ///< The 101-step question was answered No.
    ProgramEnded,   ///< `RET` on the empty stack: "Program終了".
    RuntimeMessage, ///< Any other message ended it.
};

/// One trace run of the program in `tables` on `machine`, talking to `host`. The wait between
/// steps and every box of the run are states: `start()` runs the first steps and returns when a
/// step waits, a box is open or the run ended; `next()`, `end()`, `back()` and `answer()` resume
/// it. Running on towards the breakpoint happens inside one call. The session keeps the steps
/// it ran, so `back()` can undo them one by one. The tables, the machine and the host must
/// outlive the session; the run stores into the tables' data words and leaves the machine as
/// the run left it.
class TraceSession {
public:
    TraceSession(ProgramTables& tables, MachineState& machine, std::u32string_view infoText,
                 TraceOptions options, TraceHost& host);

    TraceSession(const TraceSession&) = delete;
    TraceSession& operator=(const TraceSession&) = delete;

    /// Prepares the machine (SP, stack, flags, first line) and runs until a step waits or the
    /// run ends.
    void start();
    /// Next: the waiting step goes on. Does nothing unless the run waits.
    void next() {
        if (state_ != TraceState::Waiting) {
            return;
        }
        state_ = TraceState::Running;
        // A step that answered a question and went on was never counted; stepping back onto it
        // and on again must not count it either.
        carryOn(displayOnly_ ? Next::Execute : Next::Proceed);
    }
    /// Next, and Next again at every wait after it that the host would not learn anything new
    /// at: the run goes on without waiting or showing until a box opens, and then waits at the
    /// first wait after the box as it would have anyway (or ends, or asks again). For a host
    /// that looks only at boxes and at what they change, such as a run nobody watches, to which
    /// a wait at every step is pure cost. Does nothing unless the run waits.
    void nextUntilBox() {
        if (state_ != TraceState::Waiting) {
            return;
        }
        passWaits_ = true;
        next();
    }
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
    /// The steps kept for 戻る, which are also the run's trace table.
    const TraceHistory& history() const { return history_; }

    /// The steps an explained run executed so far (every executed line is one; a step back
    /// takes one away); 0 in a run that is not explained.
    std::uint32_t stepNumber() const { return stepNumber_; }
    /// The line the last step of an explained run executed (0 before the first).
    int executedLine() const { return executedLine_; }
    /// Who last wrote each value, when the run is explained (else nothing).
    const Provenance* provenance() const { return provenance_.get(); }
    /// The tables the run works on.
    const ProgramTables& tables() const { return tables_; }

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
    TraceDisplays displays() const {
        return TraceDisplays(refreshed_, captions_, tables_, listing_);
    }

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
        /// For an operand question: the code word's value, and whether the operand was a label.
        std::int32_t operandValue = 0;
        bool labelOperand = false;
    };

    // The step loop and the end of a run.
    void carryOn(Next next);
    /// What the step loop records: nothing in a run without history (as `check` runs), the
    /// steps for 戻る, or the steps with the writers and reads of an explained run. Each has a
    /// loop of its own, so that a run without history tests nothing of it at any step.
    enum class Recording { Nothing, Steps, Explained };
    template <Recording R> inline Next executeStep();
    template <Recording R> inline Next finishStep();
    inline Next proceed();
    Next askStepQuestion();
    /// Runs steps until one waits, asks or stops.
    template <Recording R> Next runSteps(Next next);
    Next resume(const BoxAnswer& answer);
    /// Resumes with the answer a host gave as the box opened; out of line, so that `carryOn`,
    /// which every wait passes through, keeps no copy of it on the stack.
    [[gnu::noinline]] Next resumeImmediately();
    static Next after(Flow flow) {
        return flow == Flow::Go ? Next::Finish : flow == Flow::Ask ? Next::Ask : Next::Stop;
    }
    inline void refresh();
    void showToHost() {
        hostBehind_ = false;
        host_.showDisplays(displays_);
    }
    void endTrace(TraceEnding ending);
    Flow openBox(RunBox box, Continuation continuation);
    /// Opens `box_` as it stands.
    Flow showBox(Continuation continuation);
    Flow stopWith(std::u32string_view text, std::u32string_view title, bool refreshFirst);
    Flow passedLastLine();

    // The history of the run.
    /// Fills `position` with where the run stands (the writes are logged as they happen).
    inline void notePosition(TracePosition& position) const;
    /// `Recorded`: the history may keep the write (false only in a loop that keeps nothing).
    template <bool Recorded = true> inline void writeDataWord(int row, std::int32_t value);
    inline void writeStackSlot(int slot, std::int32_t value);

    // The explanation of the run.
    /// The step gives the machine values it wrote their new writer.
    void noteMachineWriters();
    /// `writer` (of the value at `place` of the log) becomes the step under way.
    inline void noteWriter(std::uint16_t place, Writer& writer);
    /// The step read `value` at `place` of the log.
    void noteRead(std::uint16_t place, std::int32_t value) {
        if (explain_) {
            history_.recordRead(place, value);
        }
    }

    // Execution of one line, decoded as `d`.
    template <Recording R> inline Flow execute(int line, const DecodedLine& d);
    Flow executeStart(int line, const DecodedLine& d);
    template <Recording R> inline Flow executeMemoryOperand(int line, const DecodedLine& d);
    Flow askAboutOperand(int line, const DecodedLine& d, std::int32_t address);
    /// `operand` is a data word's address, or with `inCode` a code word's value.
    Flow applyMemoryOperand(const DecodedLine& d, std::int32_t operand, bool inCode);
    [[gnu::noinline]] Flow stopAtCodeLabel();
    inline void executeRegisterForm(const DecodedLine& d);
    Flow executeShift(const DecodedLine& d);
    inline Flow executeJump(int line, const DecodedLine& d);
    Flow executeCall(int line, const DecodedLine& d);
    Flow executeReturn(int line);
    Flow executePush(const DecodedLine& d);
    Flow executePop(const DecodedLine& d);
    Flow executeRegisterPush();
    Flow executeRegisterPop();
    Flow executeIn(int line, const DecodedLine& d);
    void storeInput(const DecodedLine& d, const std::u32string& answer);
    Flow executeOut(int line, const DecodedLine& d);

    std::int32_t effectiveAddress(const DecodedLine& d) const;
    Flow branchTo(std::int32_t target);
    Flow stopAtBranchTarget(std::int32_t target);
    bool push(std::int32_t value);
    bool pop(std::int16_t& reg);

    void showObjectCode(int line) {
        captions_.objectCodeLine = line;
        hostBehind_ = true;
    }
    void showObjectCodeBlank() { showObjectCode(0); }
    /// `pc` shows `shown`, the next sequential address of `line`; the editor marks the line.
    void showProgramRegister(int line, std::int32_t shown) {
        captions_.programRegister = shown;
        markedLine_ = line;
        hostBehind_ = true;
    }
    void showAddress(std::int32_t address) {
        captions_.programRegister = wordPattern(address);
        hostBehind_ = true;
    }
    void setBranchMarks(int line) {
        markedLine_ = line;
        branchMark_ = true;
        lineAfterBranch_ = line + 1;
    }

    ProgramTables& tables_;
    MachineState& machine_;
    TraceHost& host_;
    MarkedListing listing_;
    AddressIndex index_;
    DecodedProgram program_;
    int breakpointLine_;
    int startLine_;
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
    /// Whether a stack slot changed since the last refresh copied them.
    bool stackChanged_ = true;
    /// Whether the run goes on through its waits until a box opens (`nextUntilBox`).
    bool passWaits_ = false;

    RunBox box_;
    /// The breakpoint named by the step question that `box_` holds; nothing when it holds
    /// another box.
    std::optional<int> stepQuestionInBox_;
    Continuation continuation_;
    /// The answer of a host that answered the box as it opened.
    std::optional<BoxAnswer> immediateAnswer_;
    TraceHistory history_;
    bool explain_;
    std::unique_ptr<Provenance> provenance_;
    std::uint32_t stepNumber_ = 0;
    int executedLine_ = 0;

    RefreshedState refreshed_;
    InstructionCaptions captions_;
    /// The displays of `refreshed_` and `captions_`, made once: every refresh passes them on.
    TraceDisplays displays_{refreshed_, captions_, tables_, listing_};
};

// Every step refreshes the displays and notes its position and writes; defined here so that the
// step loop does not leave its own code for them.

[[gnu::always_inline]] inline void TraceSession::refresh() {
    RefreshedState& shown = refreshed_;
    shown.refreshed = true;
    shown.generalRegisters = machine_.generalRegisters;
    shown.stackPointer = machine_.stackPointer;
    shown.stackBase = machine_.stackBase;
    shown.overflowFlag = machine_.overflowFlag;
    shown.signZeroState = machine_.signZeroState;
    // Most steps leave the stack alone; the slots are copied only when one changed.
    if (stackChanged_) {
        // Clamped by value: `std::clamp`'s references would give the step loop a stack frame.
        const int slot0 = machine_.stackSlots[0];
        const int top = slot0 < 0 ? 0 : slot0 >= stackSlotCount ? stackSlotCount - 1 : slot0;
        std::copy_n(machine_.stackSlots.begin(), top + 1, shown.stackSlots.begin());
        shown.stackTop = top;
        stackChanged_ = false;
    }
    shown.markedLine = markedLine_;
    shown.simpleDisplay = simpleDisplay_;
    hostBehind_ = true;
    ++shown.refreshes;
}

[[gnu::always_inline]] inline void TraceSession::notePosition(TracePosition& p) const {
    p.generalRegisters = machine_.generalRegisters;
    p.stackPointer = machine_.stackPointer;
    p.stackBase = machine_.stackBase;
    p.currentLine = static_cast<std::int16_t>(machine_.currentLine);
    p.markedLine = static_cast<std::int16_t>(markedLine_);
    p.objectCodeLine = static_cast<std::int16_t>(captions_.objectCodeLine);
    p.programRegister = static_cast<std::uint16_t>(captions_.programRegister);
    p.overflowFlag = machine_.overflowFlag != 0 ? 1 : 0;
    p.signZeroState = static_cast<std::uint8_t>(machine_.signZeroState & 3);
    p.branchMark = branchMark_ ? 1 : 0;
    p.displayOnly = displayOnly_ ? 1 : 0;
    p.stepCount = static_cast<std::int8_t>(stepCount_);
    p.outputLength = static_cast<std::uint32_t>(machine_.outputText.size());
    p.step = stepNumber_;
    p.executedLine = static_cast<std::int16_t>(executedLine_);
}

inline void TraceSession::noteWriter(std::uint16_t place, Writer& writer) {
    history_.recordWriter(place, writer.step, writer.line);
    writer = Writer{stepNumber_, static_cast<std::uint16_t>(executedLine_)};
}

template <bool Recorded> inline void TraceSession::writeDataWord(int row, std::int32_t value) {
    auto& word = tables_.dataWords[static_cast<std::size_t>(row)][dataValueColumn];
    if constexpr (Recorded) {
        history_.recordWrite(static_cast<std::uint16_t>(row), word);
        if (explain_) {
            noteWriter(static_cast<std::uint16_t>(row), provenance_->dataWord(row));
        }
    }
    word = value;
}

inline void TraceSession::writeStackSlot(int slot, std::int32_t value) {
    auto& stored = machine_.stackSlots[static_cast<std::size_t>(slot)];
    history_.recordWrite(static_cast<std::uint16_t>(stackPlace | slot), stored);
    // Slot 0 holds the top index, which no display shows as a value.
    if (explain_ && slot != 0) {
        noteWriter(static_cast<std::uint16_t>(stackPlace | slot), provenance_->stackSlot(slot));
    }
    stored = value;
    stackChanged_ = true;
}

} // namespace casl
