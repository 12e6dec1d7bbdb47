#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace casl::platform {

/// Characters `first`, `first + stride`, … up to `last` whose upper case is the character
/// `delta` further on.
struct UpperCaseRun {
    char32_t first;
    char32_t last;
    std::int32_t delta;
    std::uint8_t stride;
};

/// Every character with a one-character upper case, as runs in ascending order.
std::span<const UpperCaseRun> upperCaseRuns();

/// The upper case of `c` when it is one character; `c` itself otherwise (ß, whose upper case
/// is SS, and every character without a case).
char32_t upperCaseOf(char32_t c);

/// `text` with every character in its upper case, as the editor inserts typed text.
std::u32string upperCased(std::u32string_view text);

} // namespace casl::platform
