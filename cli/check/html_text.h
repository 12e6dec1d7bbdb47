#pragma once

#include <string>
#include <string_view>

namespace casl::check {

/// UTF-8 text for HTML, in an element or a quoted attribute: the markup characters escaped and
/// the control characters that HTML may not hold (all but TAB and LF) shown as U+FFFD.
std::string htmlText(std::string_view utf8);

} // namespace casl::check
