#include "cli/commands.h"
#include "cli/run_options.h"
#include "cli/scripted_trace_host.h"
#include "cli/source_assembly.h"
#include "simulator/trace_session.h"

#include <memory>
#include <ostream>

namespace casl::cli {
namespace {

/// Exit statuses of a run that was traced.
constexpr int programEnded = 0;
constexpr int endedByMessage = 3;
constexpr int endedByStepQuestion = 4;

} // namespace

int runCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    std::string error;
    const auto options = parseRunOptions(args, error);
    if (!options) {
        err << "casl2 run: " << error << '\n' << usageText();
        return usageOrFileError;
    }
    auto tables = std::make_unique<ProgramTables>();
    const auto assembly = assembleFile(options->path, *tables, err);
    if (!assembly) {
        return usageOrFileError;
    }
    if (!assembly->success) {
        printListing(*assembly, out);
        return assemblyFailed;
    }

    MachineState machine;
    ScriptedTraceHost host(*options, out);
    TraceSession session(*tables, machine, assembly->infoText,
                         TraceOptions{0, options->simpleDisplay}, host);
    host.attach(session);
    session.start();
    while (session.waiting()) {
        session.next();
    }
    printDisplayBlock(session.displays(), out);

    switch (session.ending()) {
    case TraceEnding::ProgramEnded:
        return programEnded;
    case TraceEnding::StepQuestion:
        return endedByStepQuestion;
    default:
        return endedByMessage;
    }
}

} // namespace casl::cli
