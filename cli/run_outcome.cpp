#include "cli/run_outcome.h"

#include "cli/exit_status.h"
#include "grading/run_ending.h"

namespace casl::cli {

RunOutcome runOutcome(const TraceSession& session, RunStop stop) {
    using check::endingName;
    using check::RunEnding;
    switch (stop) {
    case RunStop::OutputBound:
        return {{endingName(RunEnding::OutputLimit), {}}, exit_status::outputBoundReached};
    case RunStop::TimeLimit:
        return {{endingName(RunEnding::TimeLimit), {}}, exit_status::timeLimitReached};
    case RunStop::OutputLost:
        return {{"output-lost", {}}, exit_status::outputLost};
    case RunStop::None:
        break;
    }
    if (session.ending() == TraceEnding::EndButton) {
        return {{"end-button", {}}, exit_status::endedByEndButton};
    }
    // The names of `casl2 check` for every other ending.
    const RunBox* box = session.endingBox();
    const RunEnding ending = check::classifyEnding(session.ending(), box);
    const std::u32string message = box != nullptr ? box->text : std::u32string{};
    switch (ending) {
    case RunEnding::ProgramEnd:
        return {{endingName(ending), message}, exit_status::success};
    case RunEnding::StepLimit:
        return {{endingName(ending), {}}, exit_status::endedByStepQuestion};
    default:
        return {{endingName(ending), message}, exit_status::endedByMessage};
    }
}

} // namespace casl::cli
