#include "cli/run_outcome.h"

#include "cli/check/run_ending.h"
#include "cli/exit_status.h"

namespace casl::cli {

RunOutcome runOutcome(const TraceSession& session, RunStop stop) {
    switch (stop) {
    case RunStop::OutputBound:
        return {{"output-limit", {}}, exit_status::outputBoundReached};
    case RunStop::TimeLimit:
        return {{"time-limit", {}}, exit_status::timeLimitReached};
    case RunStop::OutputLost:
        return {{"output-lost", {}}, exit_status::outputLost};
    case RunStop::None:
        break;
    }
    const RunBox* box = session.endingBox();
    const std::u32string message = box != nullptr ? box->text : std::u32string{};
    switch (session.ending()) {
    case TraceEnding::EndButton:
        return {{"end-button", {}}, exit_status::endedByEndButton};
    case TraceEnding::StepQuestion:
        return {{"step-limit", {}}, exit_status::endedByStepQuestion};
    case TraceEnding::ProgramEnded:
        return {{"program-end", message}, exit_status::success};
    default:
        // The names of `casl2 check` for the messages that end a run.
        return {{check::endingName(check::classifyEnding(session.ending(), box)), message},
                exit_status::endedByMessage};
    }
}

} // namespace casl::cli
