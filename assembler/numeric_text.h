#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace casl {

/// Numeric text: an optional sign followed by one or more decimal digits, nothing else.
bool isNumeric(std::u32string_view text);

/// The value of numeric text. Very long digit strings saturate far outside every valid range,
/// so that range checks still refuse them.
std::int64_t numericValue(std::u32string_view text);

/// The value of the longest leading part of `text` that reads as a decimal number (an optional
/// sign and digits); 0 when the text begins with no number.
std::int64_t leadingNumber(std::u32string_view text);

/// The register number of the exact text "GR0" … "GR7".
std::optional<int> registerNumber(std::u32string_view text);

} // namespace casl
