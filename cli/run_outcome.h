#pragma once

#include "cli/run_json.h"
#include "simulator/run_bounds.h"
#include "simulator/trace_host.h"
#include "simulator/trace_session.h"

namespace casl::cli {

/// How a run of `casl2 run` ended, and the exit status that says so.
struct RunOutcome {
    RunEndingText ending;
    int status = 0;
};

/// The outcome of the ended run of `session`. A bound that stopped the run (`stop`) decides over
/// the ending the session saw, since the run was stopped through the step question or End.
RunOutcome runOutcome(const TraceSession& session, RunStop stop);

} // namespace casl::cli
