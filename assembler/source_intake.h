#pragma once

#include "assembler/assembly_state.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace casl {

/// The lines of `text`. A line ends at CR LF, at a lone CR or at a lone LF; empty lines are
/// dropped, a line of blanks is kept.
std::vector<std::u32string_view> keptLines(std::u32string_view text);

/// Label, mnemonic and up to three operands of one source line (`lineFields` columns 1–5;
/// index 0 is unused). For `DC` the whole operand list is operand 1. The fields are those of the
/// line's tokens (`lineTokens`), which the editors colour.
std::array<std::u32string, 6> splitLineFields(std::u32string_view line);

/// Whether the editor text holds anything but space characters.
bool isBlankText(std::u32string_view text);

/// Clears the program tables and fills `lineFields` and `lineCounter` from the kept lines of
/// `text`. Returns the editor text rewritten from the kept lines, each ending in CR LF.
std::u32string takeSource(std::u32string_view text, AssemblyState& state);

} // namespace casl
