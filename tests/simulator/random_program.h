#pragma once

#include "assembler/program_tables.h"

#include <memory>
#include <random>
#include <string>

namespace casl::test {

/// A CASL II program drawn from `random`, meant to assemble cleanly: every instruction kind
/// with every operand form (registers, labels of data and of code, literals, numbers and #hex
/// naming data words, code words and nothing, index registers), jumps and calls, the stack
/// macros, `IN` and `OUT`, shifts by negative and large counts, comments, `NOP`, `SVC`, `DC`
/// lists and strings, `DS` areas long and empty, and a start label now and then.
std::u32string randomProgram(std::mt19937& random);

/// Program tables that no assembly makes: random operation codes (known and unknown), r and x
/// beyond 7 and negative, code in column 0, comment marks, start operands and repeated data
/// addresses. The run must still be the same with either loop.
std::unique_ptr<ProgramTables> randomTables(std::mt19937& random);

} // namespace casl::test
