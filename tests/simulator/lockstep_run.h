#pragma once

#include "assembler/program_tables.h"
#include "simulator/trace_session.h"

#include <cstdint>
#include <string_view>

namespace casl::test {

/// How a lockstep run is driven.
struct LockstepPlan {
    TraceOptions options;
    /// Seeds the commands and answers; the same seed gives the same run.
    std::uint32_t seed = 1;
    /// The step question is answered Yes while fewer steps than this were counted.
    std::int64_t stepBudget = 3000;
    /// At most this many commands (Next, 戻る, End, answers, breakpoint and display changes).
    int commands = 1500;
    /// Whether the commands include 戻る, End, breakpoint moves and "簡易表示" switches; else
    /// every wait is answered with Next.
    bool varyCommands = true;
    /// The machine as an earlier run left it: the registers keep their values until a `START`
    /// at address 0.
    MachineState machine;
};

/// What a lockstep run went through, for tests that want a run to have done something.
struct LockstepOutcome {
    int commands = 0;
    int waits = 0;
    std::int64_t countedSteps = 0;
    TraceEnding ending = TraceEnding::None;
    /// Whether the two loops differed (the difference is reported as a test failure).
    bool differed = false;
};

/// Runs the program in `tables` with the loop the simulator had before runs were decoded and
/// with the decoded loop, each on its own copy of the tables, giving both the same commands and
/// the same answers (some at once, some while the run asks). After every command it compares
/// what the two hosts were shown (displays, boxes, the end), the sessions' states, step counts
/// and history, the machines and the data words, and reports the first difference as a test
/// failure.
LockstepOutcome runLockstep(const ProgramTables& tables, std::u32string_view infoText,
                            const LockstepPlan& plan);

} // namespace casl::test
