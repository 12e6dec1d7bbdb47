#pragma once

#include "assembler/program_tables.h"
#include "grading/check_case.h"
#include "simulator/machine_state.h"
#include "simulator/run_bounds.h"
#include "simulator/scripted_run.h"
#include "simulator/trace_session.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace casl::check {

/// What a run left behind, to be compared with a case's expectations.
struct RunRecord {
    RunEnding ending = RunEnding::ProgramEnd;
    /// The message that ended the run (CR LF line ends); empty for the bounds.
    std::u32string endingMessage;
    /// The steps the run counted.
    std::int64_t steps = 0;
    /// The machine as the run left it.
    MachineState machine;
    /// The address that `pc` shows at the end.
    std::int32_t programRegister = 0;
};

/// Whoever follows a case's run as it goes, as `casl2 run` shows a run.
struct CaseRunWatch {
    /// Told every wait and every box with its answer.
    RunWatcher* watcher = nullptr;
    /// The bounds the run keeps, made from `caseLimits`, within which the watcher prints;
    /// none: the run makes its own.
    RunBounds* bounds = nullptr;
    /// Shown the session once the run has ended (its final displays).
    std::function<void(const TraceSession&)> ended;
};

/// The bounds of a case's run: its `OUT` text and its time limit.
RunBounds::Limits caseLimits(const CheckCase& c);

/// The line whose label is `label`, where a call of that subroutine starts; 0 when no line has it.
int subroutineLine(const ProgramTables& tables, std::u32string_view label);
/// Notes in `record` how the run of `session` ended by itself or at the step question (its
/// ending and message), the steps it counted and the address `pc` shows; the machine is not
/// copied.
void noteRunEnd(const TraceSession& session, RunRecord& record);

/// Runs the program in `tables` (assembled, with its "info.tmp" text `infoText`) as the first
/// run in a new window does, answering its boxes from `c`, until it ends. The run stores into
/// the tables' data words, which then hold what the run left. A case that calls a subroutine
/// starts on `startLine` with the case's registers and an empty stack, so that the
/// subroutine's `RET` ends the run as the main program's would. `watch`, when given, follows
/// the run.
RunRecord runCase(ProgramTables& tables, std::u32string_view infoText, const CheckCase& c,
                  int startLine = 1, const CaseRunWatch* watch = nullptr);

} // namespace casl::check
