#include "cli/commands.h"
#include "cli/source_assembly.h"

#include <memory>
#include <ostream>

namespace casl::cli {

int assembleCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    // "--" before the FILE lets a name that begins with "-" through.
    const bool optionsEnded = !args.empty() && args[0] == "--";
    if (args.size() != (optionsEnded ? 2u : 1u)) {
        err << "casl2 assemble: expected exactly one FILE\n" << usageText();
        return usageOrFileError;
    }
    auto tables = std::make_unique<ProgramTables>();
    const auto result = assembleFile(args.back(), *tables, err);
    if (!result) {
        return usageOrFileError;
    }
    printListing(*result, out);
    return result->success ? 0 : assemblyFailed;
}

} // namespace casl::cli
