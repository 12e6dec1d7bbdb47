#pragma once

#include "grading/check_case.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace casl::check {

/// The word that "#hhhh" writes (exactly four hexadecimal digits, as the language writes
/// them); nothing for any other text.
std::optional<std::uint16_t> hexWord(std::string_view text);

/// A value as the reports show it: decimal, then its 16-bit pattern, "55 (#0037)".
std::string wordText(std::int64_t value);
/// An expected word as the reports show it, from the value as written: "65535 (#FFFF)".
std::string wordText(const ExpectedWord& word);

/// Text in double quotes, with \" \\ \n and \uXXXX for the other control characters.
std::string quoted(std::u32string_view text);

} // namespace casl::check
