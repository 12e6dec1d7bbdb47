#pragma once

#include <string>
#include <string_view>

namespace casl::web {

/// The core's text (lines separated by CR LF) from the page's: UTF-8 from JavaScript, lines
/// separated by LF alone as the editor and the browser keep them (a CR LF or a lone CR that
/// reaches here ends a line too). Bytes that are not UTF-8 become U+FFFD.
std::u32string coreTextFromPage(std::string_view pageText);

/// The page's text for a text of the core: CR LF, a lone CR and a lone LF each end a line.
std::string pageTextFromCore(std::u32string_view coreText);

} // namespace casl::web
