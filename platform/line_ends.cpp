#include "platform/line_ends.h"

namespace casl::platform {

namespace {

/// Calls `found(style, position)` for each line end of the text.
template <class Text, class Found> void forEachLineEnd(Text text, std::size_t end, Found found) {
    for (std::size_t i = 0; i < end; ++i) {
        if (text[i] == '\r') {
            if (i + 1 < text.size() && text[i + 1] == '\n') {
                found(LineEndStyle::CrLf);
                ++i;
            } else {
                found(LineEndStyle::Cr);
            }
        } else if (text[i] == '\n') {
            found(LineEndStyle::Lf);
        }
    }
}

template <class Text> std::size_t lineNumber(Text text, std::size_t at) {
    std::size_t line = 1;
    forEachLineEnd(text, at < text.size() ? at : text.size(), [&](LineEndStyle) { ++line; });
    return line;
}

} // namespace

LineEndStyle dominantLineEnds(std::u32string_view text) {
    std::size_t crLf = 0;
    std::size_t lf = 0;
    std::size_t cr = 0;
    forEachLineEnd(text, text.size(), [&](LineEndStyle style) {
        switch (style) {
        case LineEndStyle::CrLf:
            ++crLf;
            break;
        case LineEndStyle::Lf:
            ++lf;
            break;
        case LineEndStyle::Cr:
            ++cr;
            break;
        }
    });
    if (crLf >= lf && crLf >= cr) {
        return LineEndStyle::CrLf;
    }
    return lf >= cr ? LineEndStyle::Lf : LineEndStyle::Cr;
}

std::size_t lineNumberAt(std::u32string_view text, std::size_t at) {
    return lineNumber(text, at);
}

std::size_t lineNumberAt(std::string_view bytes, std::size_t at) {
    return lineNumber(bytes, at);
}

std::optional<std::size_t> firstLineLongerThan(std::u32string_view text, std::size_t limit) {
    std::size_t line = 1;
    std::size_t length = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == U'\r' || text[i] == U'\n') {
            if (text[i] == U'\r' && i + 1 < text.size() && text[i + 1] == U'\n') {
                ++i;
            }
            ++line;
            length = 0;
        } else if (++length > limit) {
            return line;
        }
    }
    return std::nullopt;
}

std::u32string convertCrLf(std::u32string_view text, LineEndStyle style) {
    if (style == LineEndStyle::CrLf) {
        return std::u32string(text);
    }
    const char32_t lineEnd = style == LineEndStyle::Lf ? U'\n' : U'\r';
    std::u32string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == U'\r' && i + 1 < text.size() && text[i + 1] == U'\n') {
            out.push_back(lineEnd);
            ++i;
        } else {
            out.push_back(text[i]);
        }
    }
    return out;
}

} // namespace casl::platform
