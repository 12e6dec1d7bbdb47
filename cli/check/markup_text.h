#pragma once

#include <string>
#include <string_view>

namespace casl::check {

/// UTF-8 text for HTML, in an element or a quoted attribute: the markup characters escaped and
/// the control characters that HTML may not hold (all but TAB and LF) shown as U+FFFD.
std::string htmlText(std::string_view utf8);

/// UTF-8 text for XML 1.0: the markup characters escaped and the characters XML cannot hold at
/// all (most control characters) shown as U+FFFD. In an attribute the quote and the white space
/// that a reader would otherwise normalise away are written as references.
std::string xmlText(std::string_view utf8, bool attribute);

} // namespace casl::check
