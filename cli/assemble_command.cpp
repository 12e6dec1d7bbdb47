#include "cli/assembly_json.h"
#include "cli/commands.h"
#include "cli/exit_status.h"
#include "cli/json_text.h"
#include "cli/source_assembly.h"

#include <memory>
#include <ostream>

namespace casl::cli {

int assembleCommand(const AssembleOptions& options, std::ostream& out, std::ostream& err) {
    auto tables = std::make_unique<ProgramTables>();
    const auto result = assembleFile(options.path, *tables, err);
    if (!result) {
        return exit_status::usageOrFileError;
    }
    if (options.json) {
        out << jsonText(assemblyJson(*result, *tables, options.path));
    } else {
        printListing(*result, out);
    }
    explainNoTrace(*result, *tables, "assemble", err);
    return result->success ? exit_status::success : exit_status::failed;
}

} // namespace casl::cli
