#include "cli/commands.h"
#include "cli/source_assembly.h"

#include <new>
#include <ostream>

namespace casl::cli {

namespace {

int dispatch(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (args.empty()) {
        err << usageText();
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
    if (command == "--help" || command == "-h" || command == "help") {
        out << usageText();
        return 0;
    }
    err << "casl2: unknown command '" << command << "'\n" << usageText();
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
