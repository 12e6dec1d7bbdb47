#pragma once

#include "assembler/assembly_state.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace casl {

enum class LiteralKind { decimal, hexadecimal, character };

/// The `DC` operand that stands for a literal: decimal and hexadecimal literals as typed after
/// "=", a character literal quoted again with every quote doubled.
std::u32string literalDcForm(std::u32string_view text, LiteralKind kind);

/// The row of the `END` that closes the program: the last line, or the `END` after which only
/// lines with nothing to assemble (blank lines, comments) follow; 0 when there is none, and so no
/// place for literals.
int closingEndLine(const ProgramTables& tables);

/// The address of the literal's first word: the literal line already placed for the same `DC`
/// form, or a new literal line placed just before the closing `END` (`closingEndLine`), which
/// moves one row down with the lines after it. Empty when the line table or the address space
/// has no room (the state then names the limit). The program must have a closing `END`.
std::optional<std::int16_t> addLiteral(AssemblyState& state, std::u32string_view text,
                                       LiteralKind kind);

} // namespace casl
