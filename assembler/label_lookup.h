#pragma once

#include "assembler/program_tables.h"

#include <string_view>

namespace casl {

/// The first program line whose label is exactly `label`, or 0 when none is.
int firstLineLabelled(const ProgramTables& tables, std::u32string_view label);

/// The last program line whose label is exactly `label`, or 0 when none is. An empty `label`
/// equals the empty label of every unlabelled line.
int lastLineLabelled(const ProgramTables& tables, std::u32string_view label);

} // namespace casl
