#include "cli/check/terminal_columns.h"

#include "platform/text_codec.h"

namespace casl::check {
namespace {

std::size_t columnsOf(char32_t c) {
    if (c >= 0x0300 && c <= 0x036F) {
        return 0;
    }
    const bool wide = (c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0x303E) ||
                      (c >= 0x3041 && c <= 0x33FF) || (c >= 0x3400 && c <= 0x4DBF) ||
                      (c >= 0x4E00 && c <= 0x9FFF) || (c >= 0xA000 && c <= 0xA4CF) ||
                      (c >= 0xAC00 && c <= 0xD7A3) || (c >= 0xF900 && c <= 0xFAFF) ||
                      (c >= 0xFE30 && c <= 0xFE4F) || (c >= 0xFF00 && c <= 0xFF60) ||
                      (c >= 0xFFE0 && c <= 0xFFE6) || (c >= 0x1F300 && c <= 0x1F64F) ||
                      (c >= 0x1F900 && c <= 0x1F9FF) || (c >= 0x20000 && c <= 0x3FFFD);
    return wide ? 2 : 1;
}

std::size_t columnsOf(std::u32string_view text) {
    std::size_t sum = 0;
    for (char32_t c : text) {
        sum += columnsOf(c);
    }
    return sum;
}

/// The longest start of `text` within `columns`.
std::u32string head(std::u32string_view text, std::size_t columns) {
    std::u32string out;
    std::size_t used = 0;
    for (char32_t c : text) {
        if (used + columnsOf(c) > columns) {
            break;
        }
        used += columnsOf(c);
        out.push_back(c);
    }
    return out;
}

/// The longest end of `text` within `columns`.
std::u32string tail(std::u32string_view text, std::size_t columns) {
    std::size_t used = 0;
    std::size_t begin = text.size();
    while (begin > 0 && used + columnsOf(text[begin - 1]) <= columns) {
        used += columnsOf(text[--begin]);
    }
    return std::u32string(text.substr(begin));
}

} // namespace

std::size_t terminalColumns(std::string_view utf8) {
    return columnsOf(platform::fromUtf8(utf8));
}

std::string shortenedInTheMiddle(std::string_view utf8, std::size_t columns) {
    const std::u32string text = platform::fromUtf8(utf8);
    if (columnsOf(text) <= columns) {
        return std::string(utf8);
    }
    if (columns == 0) {
        return "";
    }
    const std::size_t room = columns - 1;
    const std::u32string start = head(text, room - room / 2);
    const std::u32string end = tail(text, room - columnsOf(start));
    return platform::toUtf8(start + U"…" + end);
}

std::vector<std::string> wrappedToColumns(std::string_view utf8, std::size_t columns) {
    const std::u32string text = platform::fromUtf8(utf8);
    std::vector<std::string> lines;
    std::size_t begin = 0;
    while (columnsOf(std::u32string_view(text).substr(begin)) > columns && columns > 1) {
        const std::u32string line = head(std::u32string_view(text).substr(begin), columns);
        // A blank just after the line, or in its last third, is a good place to break; an
        // earlier one would leave the line mostly empty.
        const std::size_t blank =
            begin + line.size() < text.size() && text[begin + line.size()] == U' '
                ? line.size()
                : line.find_last_of(U' ');
        const bool atBlank =
            blank != std::u32string::npos && blank > 0 &&
            columnsOf(std::u32string_view(line).substr(0, blank)) >= columns * 2 / 3;
        const std::size_t length = atBlank ? blank : std::max<std::size_t>(line.size(), 1);
        lines.push_back(platform::toUtf8(text.substr(begin, length)));
        begin += length + (atBlank ? 1 : 0);
    }
    lines.push_back(platform::toUtf8(text.substr(begin)));
    return lines;
}

} // namespace casl::check
