#include "cli/commands.h"
#include "cli/source_assembly.h"

#include <memory>
#include <ostream>

namespace casl::cli {

int assembleCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (args.size() != 1) {
        err << "casl2 assemble: expected exactly one FILE\n" << usageText();
        return usageOrFileError;
    }
    auto tables = std::make_unique<ProgramTables>();
    const auto result = assembleFile(args[0], *tables, err);
    if (!result) {
        return usageOrFileError;
    }
    printListing(*result, out);
    return result->success ? 0 : assemblyFailed;
}

} // namespace casl::cli
