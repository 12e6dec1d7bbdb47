#include "grading/case_runner.h"

#include "grading/grading_host.h"
#include "simulator/deadline.h"
#include "simulator/trace_session.h"

namespace casl::check {

RunRecord runCase(ProgramTables& tables, std::u32string_view infoText, const CheckCase& c) {
    RunRecord record;
    Deadline deadline(c.timeLimitSeconds);
    GradingHost host(c, deadline);
    // No breakpoint: every step waits and is let go on at once; nobody steps back, so the
    // run keeps no history.
    TraceSession session(tables, record.machine, infoText, TraceOptions{0, false, 0}, host);
    host.attach(session);
    session.start();
    std::optional<RunEnding> bound;
    while (session.waiting()) {
        if (static_cast<std::int64_t>(record.machine.outputText.size()) > c.maxOutput) {
            bound = RunEnding::OutputLimit;
        } else if (deadline.passed()) {
            bound = RunEnding::TimeLimit;
        } else {
            session.next();
            continue;
        }
        session.end();
    }
    // A run that the time limit stopped at the step question ended there.
    if (!bound && session.ending() == TraceEnding::StepQuestion && deadline.passed()) {
        bound = RunEnding::TimeLimit;
    }
    record.ending = bound.value_or(classifyEnding(session.ending(), session.endingBox()));
    if (const RunBox* box = session.endingBox(); box != nullptr && !bound) {
        record.endingMessage = box->text;
    }
    record.steps = session.countedSteps();
    record.programRegister = session.displays().programRegisterAddress();
    return record;
}

} // namespace casl::check
