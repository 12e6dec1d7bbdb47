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

/// The address of the literal's first word: the literal line already placed for the same `DC`
/// form, or a new literal line placed just before the program's last line (`END`), which moves
/// one row down. Empty when the line table or the address space has no room (the state then
/// names the limit).
std::optional<std::int16_t> addLiteral(AssemblyState& state, std::u32string_view text,
                                       LiteralKind kind);

} // namespace casl
