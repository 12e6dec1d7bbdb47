#pragma once

#include "assembler/program_tables.h"

namespace casl {

/// Finds labels of nine or more characters (2) and duplicate labels (1): a label gets one
/// finding for every later line that carries it too, so the last of equal labels gets none.
void labelChecks(ProgramTables& tables);

/// A label that begins with a digit or a lower-case letter replaces the line's findings by 3.
void labelCharacterCheck(ProgramTables& tables);

} // namespace casl
