#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace casl::platform {

/// How a file ends its lines.
enum class LineEndStyle { CrLf, Lf, Cr };

/// The style of most of the text's line ends; ties go to CR LF, then LF. CR LF for a text
/// without line ends.
LineEndStyle dominantLineEnds(std::u32string_view text);

/// The 1-based line that position `at` lies on; CR LF, a lone CR and a lone LF each end a line.
std::size_t lineNumberAt(std::u32string_view text, std::size_t at);
/// The same for bytes (CR and LF are never part of a multi-byte character in CP932 or UTF-8).
std::size_t lineNumberAt(std::string_view bytes, std::size_t at);

/// The 1-based number of the first line with more than `limit` characters (line ends as for
/// `lineNumberAt`, not counted), or nothing when every line is within it.
std::optional<std::size_t> firstLineLongerThan(std::u32string_view text, std::size_t limit);

/// `text` with every CR LF replaced by the line end of `style`; lone CRs and LFs stay.
std::u32string convertCrLf(std::u32string_view text, LineEndStyle style);

} // namespace casl::platform
