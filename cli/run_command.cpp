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
        // A listing says why a program with errors cannot be traced; nothing says it for these.
        if (assembly->blank || tables->lineCount() == 0) {
            err << "casl2 run: the file holds no program\n";
        } else if (assembly->errorCount == 0) {
            err << "casl2 run: a program of one line cannot be traced; Trace needs two lines\n";
        }
        return assemblyFailed;
    }
    if (options->breakpointLine > tables->lineCount()) {
        err << "casl2 run: --breakpoint " << options->breakpointLine << ": the program has "
            << tables->lineCount() << " lines\n";
        return usageOrFileError;
    }

    MachineState machine;
    ScriptedTraceHost host(*options, out);
    TraceSession session(*tables, machine, assembly->infoText,
                         TraceOptions{options->breakpointLine, options->simpleDisplay}, host);
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
