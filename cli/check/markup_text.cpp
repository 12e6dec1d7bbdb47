#include "cli/check/markup_text.h"

#include "platform/text_codec.h"

namespace casl::check {
namespace {

enum class Markup { Html, XmlElement, XmlAttribute };

/// Whether HTML or XML can hold `c` as it is (not counting what must be escaped).
bool holdable(char32_t c, Markup markup) {
    if (markup == Markup::Html) {
        return c == U'\t' || c == U'\n' ||
               !(c < 0x20 || (c >= 0x7F && c <= 0x9F) || (c >= 0xD800 && c <= 0xDFFF));
    }
    return c == U'\t' || c == U'\n' || c == U'\r' || (c >= 0x20 && c <= 0xD7FF) ||
           (c >= 0xE000 && c <= 0xFFFD) || (c >= 0x10000 && c <= 0x10FFFF);
}

/// The reference that stands for `c`, or nothing where `c` is written as it is.
std::u32string_view reference(char32_t c, Markup markup) {
    const bool attribute = markup == Markup::XmlAttribute;
    switch (c) {
    case U'&':
        return U"&amp;";
    case U'<':
        return U"&lt;";
    case U'>':
        return U"&gt;";
    case U'"':
        return markup == Markup::XmlElement ? U"" : U"&quot;";
    case U'\r':
        return markup == Markup::Html ? U"" : U"&#13;";
    case U'\n':
        return attribute ? U"&#10;" : U"";
    case U'\t':
        return attribute ? U"&#9;" : U"";
    default:
        return U"";
    }
}

std::string escaped(std::string_view utf8, Markup markup) {
    std::u32string out;
    for (char32_t c : platform::fromUtf8(utf8)) {
        if (std::u32string_view ref = reference(c, markup); !ref.empty()) {
            out += ref;
        } else {
            out.push_back(holdable(c, markup) ? c : U'\uFFFD');
        }
    }
    return platform::toUtf8(out);
}

} // namespace

std::string htmlText(std::string_view utf8) {
    return escaped(utf8, Markup::Html);
}

std::string xmlText(std::string_view utf8, bool attribute) {
    return escaped(utf8, attribute ? Markup::XmlAttribute : Markup::XmlElement);
}

} // namespace casl::check
