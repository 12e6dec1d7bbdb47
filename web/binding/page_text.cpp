#include "web/binding/page_text.h"

#include "platform/text_codec.h"

namespace casl::web {

namespace {

/// `text` with each CR LF, lone CR and lone LF replaced by `lineEnd`.
std::u32string withLineEnds(std::u32string_view text, std::u32string_view lineEnd) {
    std::u32string result;
    result.reserve(text.size() + text.size() / 16);
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char32_t c = text[i];
        if (c == U'\r' || c == U'\n') {
            result += lineEnd;
            if (c == U'\r' && i + 1 < text.size() && text[i + 1] == U'\n') {
                ++i;
            }
        } else {
            result += c;
        }
    }
    return result;
}

} // namespace

std::u32string coreTextFromPage(std::string_view pageText) {
    return withLineEnds(platform::fromUtf8(pageText), U"\r\n");
}

std::string pageTextFromCore(std::u32string_view coreText) {
    return platform::toUtf8(withLineEnds(coreText, U"\n"));
}

} // namespace casl::web
