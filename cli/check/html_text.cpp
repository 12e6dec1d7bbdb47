#include "cli/check/html_text.h"

#include "platform/text_codec.h"

namespace casl::check {

std::string htmlText(std::string_view utf8) {
    std::u32string out;
    for (char32_t c : platform::fromUtf8(utf8)) {
        switch (c) {
        case U'&':
            out += U"&amp;";
            break;
        case U'<':
            out += U"&lt;";
            break;
        case U'>':
            out += U"&gt;";
            break;
        case U'"':
            out += U"&quot;";
            break;
        case U'\t':
        case U'\n':
            out.push_back(c);
            break;
        default:
            const bool control =
                c < 0x20 || (c >= 0x7F && c <= 0x9F) || (c >= 0xD800 && c <= 0xDFFF);
            out.push_back(control ? U'\uFFFD' : c);
        }
    }
    return platform::toUtf8(out);
}

} // namespace casl::check
