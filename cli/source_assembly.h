#pragma once

#include "assembler/assembler.h"

#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>

namespace casl::cli {

/// Reads `path` as the Open command does and assembles it into `tables`. Empty when the file
/// cannot be read; the reason then went to `err`, as does the reason why a blank file has no
/// listing.
std::optional<AssemblyResult> assembleFile(const std::string& path, ProgramTables& tables,
                                           std::ostream& err);

/// Says on `err` why an assembly that does not allow tracing cannot be traced, where neither its
/// listing nor the reading of a blank file says it; `command` is the command's name.
void explainNoTrace(const AssemblyResult& assembly, const ProgramTables& tables,
                    std::string_view command, std::ostream& err);

/// Prints the listing window's text and the result line; nothing for a blank source.
void printListing(const AssemblyResult& result, std::ostream& out);

} // namespace casl::cli
