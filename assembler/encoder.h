#pragma once

#include "assembler/assembly_state.h"

#include <string_view>

namespace casl {

/// Encodes every line without findings into `lineCode`: operation code, r, x and address.
/// Literals are placed through the literal pool. Findings: 5, 6, 8, 9.
void encodePass(AssemblyState& state);

/// The register operand `text` into `lineCode`(line, column), else error 5.
void parseRegister(ProgramTables& tables, int line, std::u32string_view text, int column);

/// Operand 3 as the index register of an address form, else error 6.
void parseIndexRegister(ProgramTables& tables, int line);

/// Operand 2 as the index register of a jump, `PUSH`, `CALL` or `SVC`: "GR0" is error 6, any
/// other text that is no register error 5.
void parseJumpIndex(ProgramTables& tables, int line);

/// The address operand `text` into the address column: a number, a `#` constant, a label or a
/// literal.
void resolveAddress(AssemblyState& state, int line, std::u32string_view text);

} // namespace casl
