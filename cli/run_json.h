#pragma once

#include "assembler/program_tables.h"
#include "cli/run_printer.h"

#include <nlohmann/json.hpp>
#include <string>
#include <string_view>

namespace casl {
class TraceSession;
}

namespace casl::cli {

/// How a run ended, as `casl2 run --json` names it.
struct RunEndingText {
    /// "program-end", "step-limit", "stack-overflow", "end-button", "output-limit", ...
    std::string_view name;
    /// The message that ended the run (CR LF line ends); empty when no message did.
    std::u32string message;
};

/// The "run" of `casl2 run --json` (docs/run.schema.json): every box with its answer, the
/// inputs, the output text, the ending, and the machine and the data words as the run left
/// them.
nlohmann::ordered_json runJson(const RunLog& log, const TraceSession& session,
                               const ProgramTables& tables, const RunEndingText& ending);

} // namespace casl::cli
