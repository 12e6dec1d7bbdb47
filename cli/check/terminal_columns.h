#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace casl::check {

/// The columns a terminal gives the UTF-8 text: two for a wide character (kanji, kana,
/// full-width forms), none for a combining mark, one for the others.
std::size_t terminalColumns(std::string_view utf8);

/// The text in at most `columns` columns: as it is when it fits, else its start and its end
/// with "…" between them, so that a file's folder and extension both stay in sight.
std::string shortenedInTheMiddle(std::string_view utf8, std::size_t columns);

/// The text in lines of at most `columns` columns, broken after a blank where one is near the
/// end of a line and within a word where none is, so that nothing of it is lost.
std::vector<std::string> wrappedToColumns(std::string_view utf8, std::size_t columns);

} // namespace casl::check
