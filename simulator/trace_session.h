#pragma once

#include "assembler/program_tables.h"
#include "simulator/address_index.h"
#include "simulator/display_texts.h"
#include "simulator/machine_state.h"
#include "simulator/trace_displays.h"
#include "simulator/trace_host.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace casl {

/// The window state a run starts with.
struct TraceOptions {
    /// 0 = no breakpoint (every step waits); else the line after whose execution the run waits.
    int breakpointLine = 0;
    /// "簡易表示": the data dump folds the later words of `DS` areas.
    bool simpleDisplay = false;
};

/// Where a run is.
enum class TraceState {
    NotStarted, ///< `start()` has not been called.
    Running,    ///< Inside `start()` or `next()`: a step executes (the host is being asked).
    Waiting,    ///< A step waits for Next (`next()`) or End (`end()`).
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
/// steps is a state: `start()` runs the first steps and returns when a step waits or the run
/// ended; `next()` and `end()` resume it. Running on towards the breakpoint happens inside
/// one call. The tables, the machine and the host must outlive the session; the run stores
/// into the tables' data words and leaves the machine as the run left it.
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
    void next();
    /// End: the waiting run ends without a message. Does nothing unless the run waits.
    void end();

    /// The breakpoint line changed (Clear sets 0, a click into the editor sets a line).
    void setBreakpointLine(int line) { breakpointLine_ = line; }
    int breakpointLine() const { return breakpointLine_; }
    /// "簡易表示" changed; the next refresh uses it.
    void setSimpleDisplay(bool simple) { simpleDisplay_ = simple; }

    TraceState state() const { return state_; }
    bool waiting() const { return state_ == TraceState::Waiting; }
    bool ended() const { return state_ == TraceState::Ended; }
    TraceEnding ending() const { return ending_; }
    /// The steps counted in this run so far, through every Yes to the step question.
    std::int64_t countedSteps() const { return countedSteps_; }
    /// The proceeds since the start or since the last Yes to the step question.
    std::int32_t stepCount() const { return stepCount_; }

    const MachineState& machine() const { return machine_; }
    /// The displays as the window shows them now; valid while the session lives.
    TraceDisplays displays() const;

private:
    enum class Flow { Go, Stop };

    // The step loop and the end of a run.
    void runUntilWait();
    Flow proceed();
    void refresh();
    void showToHost();
    void endTrace(TraceEnding ending);
    Flow stopWith(std::u32string_view text, std::u32string_view title, bool refreshFirst);
    MessageAnswer ask(std::u32string_view text, std::u32string_view title);
    Flow passedLastLine();

    // Execution of one line.
    Flow execute(int line);
    Flow executeStart(int line);
    Flow executeMemoryOperand(int line, int op);
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
    Flow executeOut(int line);

    // Memory operands.
    struct Operand {
        std::int32_t value = 0; ///< A data word's address, or a code word's value.
        bool inCode = false;
    };
    Flow resolveOperand(int line, Operand& operand);
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

    RefreshedState refreshed_;
    InstructionCaptions captions_;
};

} // namespace casl
