#pragma once

#include <optional>
#include <string_view>

namespace casl::check {

/// How deep a test file may nest its tables, dotted keys, arrays and inline tables together.
/// A test file needs some six levels; the TOML library reads every level with a call of its own
/// and no bound, so a file of many thousand levels would overflow the stack.
inline constexpr int maxTomlNesting = 64;

/// A place in a text: 1-based line and column (in characters).
struct TextPlace {
    int line = 1;
    int column = 1;
};

/// Where the TOML `text` first nests deeper than `limit` levels; nothing when it never does.
/// Strings and comments are skipped; text that is not TOML is left to the TOML reader to
/// name.
std::optional<TextPlace> tooDeepNesting(std::string_view text, int limit = maxTomlNesting);

} // namespace casl::check
