#include "grading/case_runner.h"

#include "grading/case_setup.h"
#include "simulator/scripted_run.h"

namespace casl::check {

int subroutineLine(const ProgramTables& tables, std::u32string_view label) {
    for (int n = 1; n < tables.lineCounter && n <= maxLines; ++n) {
        if (tables.lineFields[static_cast<std::size_t>(n)][labelColumn] == label) {
            return n;
        }
    }
    return 0;
}

RunBounds::Limits caseLimits(const CheckCase& c) {
    return {c.maxOutput, std::nullopt, c.timeLimitSeconds};
}

RunRecord runCase(ProgramTables& tables, std::u32string_view infoText, const CheckCase& c,
                  int startLine, const CaseRunWatch* watch) {
    RunRecord record;
    record.machine = machineAtStart(c);
    RunBounds ownBounds(caseLimits(c));
    RunBounds& bounds = watch != nullptr && watch->bounds != nullptr ? *watch->bounds : ownBounds;
    ScriptedRun driver(RunScript{c.inputs, c.answers, c.maxSteps, {}}, bounds,
                       watch != nullptr ? watch->watcher : nullptr);
    // No breakpoint: every step waits and is let go on at once; nobody steps back, so the
    // run keeps no history.
    TraceSession session(tables, record.machine, infoText, TraceOptions{0, false, 0, startLine},
                         driver);
    driver.drive(session);
    if (watch != nullptr && watch->ended) {
        watch->ended(session);
    }
    const RunStop stop = bounds.reached();
    if (stop == RunStop::OutputBound) {
        record.ending = RunEnding::OutputLimit;
    } else if (stop == RunStop::TimeLimit) {
        record.ending = RunEnding::TimeLimit;
    } else {
        noteRunEnd(session, record);
    }
    record.steps = session.countedSteps();
    record.programRegister = session.displays().programRegisterAddress();
    return record;
}

void noteRunEnd(const TraceSession& session, RunRecord& record) {
    record.ending = classifyEnding(session.ending(), session.endingBox());
    if (const RunBox* box = session.endingBox()) {
        record.endingMessage = box->text;
    }
    record.steps = session.countedSteps();
    record.programRegister = session.displays().programRegisterAddress();
}

} // namespace casl::check
