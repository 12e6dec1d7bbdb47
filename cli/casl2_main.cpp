#include "cli/check/allocator_tuning.h"
#include "cli/check/check_command.h"
#include "cli/check/check_options.h"
#include "cli/commands.h"
#include "cli/source_assembly.h"

#include <new>
#include <ostream>
#include <unistd.h>

namespace casl::cli {

namespace {

std::string fullUsage() {
    return usageText() + "\n" + check::checkUsageText();
}

int dispatch(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (args.empty()) {
        err << fullUsage();
        return usageOrFileError;
    }
    const std::string& command = args.front();
    const std::vector<std::string> rest(args.begin() + 1, args.end());
    if (command == "assemble") {
        return assembleCommand(rest, out, err);
    }
    if (command == "run") {
        return runCommand(rest, out, err);
    }
    if (command == "check") {
        check::keepFreedMemoryForReuse();
        return check::checkCommand(rest, out, err, isatty(STDERR_FILENO) == 1);
    }
    if (command == "--help" || command == "-h" || command == "help") {
        out << fullUsage();
        return 0;
    }
    err << "casl2: unknown command '" << command << "'\n" << fullUsage();
    return usageOrFileError;
}

} // namespace

int casl2Main(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    try {
        return dispatch(args, out, err);
    } catch (const std::bad_alloc&) {
        out.flush();
        err << "casl2: out of memory\n";
        return outOfMemory;
    }
}

} // namespace casl::cli
