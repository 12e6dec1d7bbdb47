#pragma once

#include "assembler/assembler.h"

#include <iosfwd>
#include <optional>
#include <string>

namespace casl::cli {

/// Reads `path` as the Open command does and assembles it into `tables`. Empty when the file
/// cannot be read; the reason then went to `err`, as does the reason why a blank file has no
/// listing.
std::optional<AssemblyResult> assembleFile(const std::string& path, ProgramTables& tables,
                                           std::ostream& err);

/// Prints the listing window's text and the result line; nothing for a blank source.
void printListing(const AssemblyResult& result, std::ostream& out);

} // namespace casl::cli
