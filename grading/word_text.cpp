#include "grading/word_text.h"

#include "platform/text_codec.h"

#include <cstdio>

namespace casl::check {
namespace {

std::string hex4(std::uint16_t pattern) {
    char digits[8];
    std::snprintf(digits, sizeof digits, "#%04X", static_cast<unsigned>(pattern));
    return digits;
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    return -1;
}

} // namespace

std::optional<std::uint16_t> hexWord(std::string_view text) {
    if (text.size() != 5 || text[0] != '#') {
        return std::nullopt;
    }
    unsigned value = 0;
    for (char c : text.substr(1)) {
        const int digit = hexDigit(c);
        if (digit < 0) {
            return std::nullopt;
        }
        value = value * 16 + static_cast<unsigned>(digit);
    }
    return static_cast<std::uint16_t>(value);
}

std::string wordText(std::int64_t value) {
    return std::to_string(value) + " (" + hex4(static_cast<std::uint16_t>(value & 0xFFFF)) + ")";
}

std::string wordText(const ExpectedWord& word) {
    if (word.written.starts_with("#")) {
        return std::to_string(static_cast<std::int16_t>(word.pattern)) + " (" + hex4(word.pattern) +
               ")";
    }
    return word.written + " (" + hex4(word.pattern) + ")";
}

std::string quoted(std::u32string_view text) {
    std::u32string escaped = U"\"";
    for (char32_t c : text) {
        if (c == U'"' || c == U'\\') {
            escaped.push_back(U'\\');
            escaped.push_back(c);
        } else if (c == U'\n') {
            escaped.append(U"\\n");
        } else if (c < 0x20 || c == 0x7F) {
            char code[8];
            std::snprintf(code, sizeof code, "\\u%04X", static_cast<unsigned>(c));
            escaped.append(platform::fromUtf8(code));
        } else {
            escaped.push_back(c);
        }
    }
    escaped.push_back(U'"');
    return platform::toUtf8(escaped);
}

} // namespace casl::check
