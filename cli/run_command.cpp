#include "cli/commands.h"
#include "cli/run_options.h"
#include "cli/scripted_trace_host.h"
#include "cli/source_assembly.h"
#include "simulator/trace_session.h"

#include <algorithm>
#include <memory>
#include <ostream>

namespace casl::cli {
namespace {

/// Exit statuses of a run that was traced.
constexpr int programEnded = 0;
constexpr int endedByMessage = 3;
constexpr int endedByStepQuestion = 4;
constexpr int endedByEndButton = 5;

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
        // A listing says why a program with errors cannot be traced, and a blank file was
        // explained where it was read; nothing says it for these.
        if (!assembly->blank && tables->lineCount() == 0) {
            err << "casl2 run: the file holds no program\n";
        } else if (!assembly->blank && assembly->errorCount == 0) {
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
    // Steps are kept for 戻る only when a press asks for it.
    const bool stepsBack =
        std::ranges::find(options->presses, Press::Back) != options->presses.end();
    TraceSession session(*tables, machine, assembly->infoText,
                         TraceOptions{options->breakpointLine, options->simpleDisplay,
                                      stepsBack ? TraceOptions::defaultHistoryBytes : 0},
                         host);
    host.attach(session);
    session.start();
    for (std::size_t press = 0; session.waiting(); ++press) {
        switch (press < options->presses.size() ? options->presses[press] : Press::Next) {
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
    printDisplayBlock(session.displays(), out);

    switch (session.ending()) {
    case TraceEnding::ProgramEnded:
        return programEnded;
    case TraceEnding::StepQuestion:
        return endedByStepQuestion;
    case TraceEnding::EndButton:
        return endedByEndButton;
    default:
        return endedByMessage;
    }
}

} // namespace casl::cli
