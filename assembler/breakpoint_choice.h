#pragma once

#include "assembler/program_tables.h"

#include <optional>

namespace casl {

/// The breakpoint line chosen by a click on the 1-based editor line `clickedLine` after an
/// assembly: lines whose recorded operation code is none (comments, blank lines, `NOP`), `DC`,
/// `DS` or `END` give way to the nearest line above them with another code, and the search
/// stops at line 1. A line past the line tables chooses nothing, so the click leaves the
/// breakpoint as it was.
std::optional<int> chooseBreakpointLine(int clickedLine, const ProgramTables& tables);

} // namespace casl
