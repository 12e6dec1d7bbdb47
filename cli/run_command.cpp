#include "cli/assembly_json.h"
#include "cli/commands.h"
#include "cli/exit_status.h"
#include "cli/json_text.h"
#include "cli/run_json.h"
#include "cli/run_outcome.h"
#include "cli/run_printer.h"
#include "cli/run_table.h"
#include "cli/source_assembly.h"
#include "platform/text_codec.h"
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

/// The answers and presses of the command line.
RunScript scriptOf(const RunOptions& options) {
    RunScript script;
    for (const std::string& input : options.inputs) {
        script.inputs.push_back(platform::fromUtf8(input));
    }
    script.answers = options.answers;
    script.maxSteps = options.maxSteps;
    script.presses = options.presses;
    return script;
}

/// The run printed as its trace table only.
int tableCommand(const RunOptions& options, ProgramTables& tables, const std::u32string& infoText,
                 RunBounds& bounds, std::ostream& out, std::ostream& err) {
    MachineState machine;
    TablePrinter printer(*options.table, options.tableColumns, out, bounds);
    ScriptedRun driver(scriptOf(options), bounds, &printer);
    TraceOptions traceOptions{options.breakpointLine, options.simpleDisplay};
    traceOptions.explain = true;
    TraceSession session(tables, machine, infoText, traceOptions, driver);
    printer.follow(session);
    driver.drive(session);
    printer.finish();
    explainStop(bounds.reached(), options, err);
    return runOutcome(session, bounds.reached()).status;
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
    RunBounds bounds({std::nullopt, options.maxOutputBytes, options.timeLimitSeconds});
    if (options.table) {
        return tableCommand(options, *tables, assembly->infoText, bounds, out, err);
    }
    RunPrinter printer(options, out, bounds);
    ScriptedRun driver(scriptOf(options), bounds, &printer);
    // Steps are kept for 戻る only when a press asks for it.
    const bool stepsBack = std::ranges::find(options.presses, Press::Back) != options.presses.end();
    TraceSession session(*tables, machine, assembly->infoText,
                         TraceOptions{options.breakpointLine, options.simpleDisplay,
                                      stepsBack ? TraceOptions::defaultHistoryBytes : 0},
                         driver);
    driver.drive(session);

    const RunOutcome outcome = runOutcome(session, bounds.reached());
    if (options.json) {
        json["run"] = runJson(printer.log(), session, *tables, outcome.ending);
        out << jsonText(json);
    } else {
        out << displayBlock(session.displays());
    }
    explainStop(bounds.reached(), options, err);
    return outcome.status;
}

} // namespace casl::cli
