#include "cli/check/allocator_tuning.h"
#include "cli/check/check_command.h"
#include "cli/command_line.h"
#include "cli/commands.h"
#include "cli/descriptor_output.h"
#include "cli/exit_status.h"
#include "cli/similar/similar_command.h"
#include "cli/visible_controls.h"

#include <new>
#include <ostream>

namespace casl::cli {
namespace {

int dispatch(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
             std::ostream* progress) {
    const ParsedCommandLine parsed = parseCommandLine(args, out, err);
    if (!parsed.commandLine) {
        return parsed.status;
    }
    const CommandLine& line = *parsed.commandLine;
    switch (line.command) {
    case CommandLine::Command::Assemble:
        return assembleCommand(line.assemble, out, err);
    case CommandLine::Command::Run:
        return runCommand(line.run, out, err);
    case CommandLine::Command::Check:
        if (line.check.explainCase) {
            return explainCommand(line.check, out, err);
        }
        check::keepFreedMemoryForReuse();
        return check::checkCommand(line.check, out, err, progress);
    case CommandLine::Command::Similar:
        return similar::similarCommand(line.similar, out, err);
    }
    return exit_status::usageOrFileError;
}

int dispatchOrOutOfMemory(const std::vector<std::string>& args, std::ostream& out,
                          std::ostream& err, std::ostream* progress) {
    try {
        return dispatch(args, out, err, progress);
    } catch (const std::bad_alloc&) {
        out.flush();
        err << "casl2: out of memory\n";
        return exit_status::outOfMemory;
    }
}

} // namespace

int casl2Main(const std::vector<std::string>& args, const Console& console) {
    // On a terminal the texts go through a filter that shows control characters; to a file or
    // a pipe they go as they are. The progress bar draws with control characters of its own.
    VisibleControlsBuffer visibleOut(*console.out.rdbuf());
    VisibleControlsBuffer visibleErr(*console.err.rdbuf());
    std::ostream filteredOut(&visibleOut);
    std::ostream filteredErr(&visibleErr);
    std::ostream& out = console.outIsTerminal ? filteredOut : console.out;
    std::ostream& err = console.errIsTerminal ? filteredErr : console.err;

    const int status =
        dispatchOrOutOfMemory(args, out, err, console.errIsTerminal ? &console.err : nullptr);
    out.flush();
    console.out.flush();
    if (out.fail() || console.out.fail()) {
        const std::string reason = writeFailure(console.out);
        err << "casl2: the output could not be written" << (reason.empty() ? "" : ": ") << reason
            << '\n';
        err.flush();
        return exit_status::outputLost;
    }
    err.flush();
    return status;
}

} // namespace casl::cli
