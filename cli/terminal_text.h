#pragma once

#include <string>
#include <string_view>

namespace casl::cli {

/// A window text as the terminal shows it: UTF-8, with CR LF printed as LF.
std::string terminalText(std::u32string_view text);

} // namespace casl::cli
