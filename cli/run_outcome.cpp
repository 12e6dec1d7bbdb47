#include "cli/run_outcome.h"

#include "cli/check/run_ending.h"
#include "cli/exit_status.h"

namespace casl::cli {

RunOutcome runOutcome(TraceEnding ending, const RunBox& lastBox, RunStop stop) {
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
    switch (ending) {
    case TraceEnding::EndButton:
        return {{"end-button", {}}, exit_status::endedByEndButton};
    case TraceEnding::StepQuestion:
        return {{"step-limit", {}}, exit_status::endedByStepQuestion};
    case TraceEnding::ProgramEnded:
        return {{"program-end", lastBox.text}, exit_status::success};
    default:
        // The names of `casl2 check` for the messages that end a run.
        return {{check::endingName(check::classifyEnding(ending, lastBox)), lastBox.text},
                exit_status::endedByMessage};
    }
}

} // namespace casl::cli
