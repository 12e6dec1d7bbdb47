#pragma once

#include "assembler/assembly_state.h"

#include <cstdint>
#include <string_view>

namespace casl {

/// A `#` constant read as a word; `bad` unless it was "#" and exactly four digits 0–9 or A–F.
struct HexValue {
    std::int16_t value = 0;
    bool bad = false;
};

/// Reads a `#` hexadecimal constant ("#" included in `text`).
HexValue convertHex(std::u32string_view text);

/// How the `DC` operand scanner treats the words it finds.
enum class DcScan {
    /// The address pass only counts them.
    count,
    /// The data pass writes them into `dataWords`.
    write,
};

/// Scans the operand list of `DC` line `line`, records its findings and, when writing, appends
/// its words to the data-word table. Returns the number of words.
int scanDcOperands(AssemblyState& state, int line, DcScan mode);

} // namespace casl
