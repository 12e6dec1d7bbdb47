#pragma once

#include "assembler/assembler.h"

#include <nlohmann/json.hpp>
#include <string>

namespace casl::cli {

/// The version of the layouts of `casl2 assemble --json` and `casl2 run --json`; it changes
/// when a field changes its meaning.
inline constexpr int jsonVersion = 1;

/// `casl2 assemble --json`: the listing as rows, then the result (docs/assemble.schema.json).
nlohmann::ordered_json assemblyJson(const AssemblyResult& result, const ProgramTables& tables,
                                    const std::string& path);

/// The result of the assembly with the lines in error, without the rows of the listing: the
/// "assembly" of `casl2 run --json`.
nlohmann::ordered_json assemblySummaryJson(const AssemblyResult& result);

} // namespace casl::cli
