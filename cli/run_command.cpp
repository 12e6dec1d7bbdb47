#include "cli/assembly_json.h"
#include "cli/commands.h"
#include "cli/exit_status.h"
#include "cli/json_text.h"
#include "cli/run_json.h"
#include "cli/run_outcome.h"
#include "cli/scripted_trace_host.h"
#include "cli/source_assembly.h"
#include "simulator/trace_session.h"

#include <algorithm>
#include <memory>
#include <ostream>
#include <sstream>

namespace casl::cli {
namespace {

using Json = nlohmann::ordered_json;

/// Tells why a bound stopped the run.
void explainStop(RunStop stop, const RunOptions& options, std::ostream& err) {
    if (stop == RunStop::OutputBound) {
        err << "casl2 run: the run was stopped: its output reached the bound of "
            << options.maxOutputBytes << " bytes (--max-output)\n";
    } else if (stop == RunStop::TimeLimit) {
        std::ostringstream seconds;
        seconds << *options.timeLimitSeconds;
        err << "casl2 run: the run was stopped: it took longer than its time limit of "
            << seconds.str() << " seconds (--time-limit)\n";
    }
}

/// Presses the buttons of `--press`, then Next, at every wait until the run ends or a bound
/// stops it.
void runToTheEnd(TraceSession& session, const RunOptions& options, RunBounds& bounds) {
    session.start();
    for (std::size_t press = 0; session.waiting(); ++press) {
        if (bounds.stop() != RunStop::None) {
            session.end();
            break;
        }
        switch (press < options.presses.size() ? options.presses[press] : Press::Next) {
        case Press::Next:
            session.next();
            break;
        case Press::Back:
            session.back();
            break;
        case Press::End:
            session.end();
            break;
        }
    }
}

} // namespace

int runCommand(const RunOptions& options, std::ostream& out, std::ostream& err) {
    auto tables = std::make_unique<ProgramTables>();
    const auto assembly = assembleFile(options.path, *tables, err);
    if (!assembly) {
        return exit_status::usageOrFileError;
    }
    Json json = {{"version", jsonVersion},
                 {"file", options.path},
                 {"assembly", assemblySummaryJson(*assembly)},
                 {"run", nullptr}};
    if (!assembly->success) {
        if (options.json) {
            out << jsonText(json);
        } else {
            printListing(*assembly, out);
        }
        explainNoTrace(*assembly, *tables, "run", err);
        return exit_status::failed;
    }
    if (options.breakpointLine > tables->lineCount()) {
        err << "casl2 run: --breakpoint " << options.breakpointLine << ": the program has "
            << tables->lineCount() << " lines\n";
        return exit_status::usageOrFileError;
    }

    MachineState machine;
    RunBounds bounds(options.maxOutputBytes, options.timeLimitSeconds, out);
    ScriptedTraceHost host(options, out, bounds);
    // Steps are kept for 戻る only when a press asks for it.
    const bool stepsBack = std::ranges::find(options.presses, Press::Back) != options.presses.end();
    TraceSession session(*tables, machine, assembly->infoText,
                         TraceOptions{options.breakpointLine, options.simpleDisplay,
                                      stepsBack ? TraceOptions::defaultHistoryBytes : 0},
                         host);
    host.attach(session);
    runToTheEnd(session, options, bounds);

    const RunOutcome outcome = runOutcome(session, bounds.reached());
    if (options.json) {
        json["run"] = runJson(host.log(), session, *tables, outcome.ending);
        out << jsonText(json);
    } else {
        out << displayBlock(session.displays());
    }
    explainStop(bounds.reached(), options, err);
    return outcome.status;
}

} // namespace casl::cli
