#pragma once

#include <string>
#include <string_view>

namespace casl::cli {

/// A window text as the terminal shows it: UTF-8, with CR LF printed as LF.
std::string terminalText(std::u32string_view text);

/// A box's text, whose lines CR LF separates, as terminal lines: every line ends with LF, so a
/// text that ends in CR LF keeps the empty last line that the box shows.
std::string terminalLines(std::u32string_view text);

} // namespace casl::cli
