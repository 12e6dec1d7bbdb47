#include "platform/text_codec.h"

#include <cstdint>

namespace casl::platform {

namespace {

std::uint16_t unitAt(std::string_view bytes, std::size_t at, bool bigEndian) {
    const auto first = static_cast<unsigned char>(bytes[at]);
    const auto second = static_cast<unsigned char>(bytes[at + 1]);
    return static_cast<std::uint16_t>(bigEndian ? first << 8 | second : second << 8 | first);
}

void appendUnit(std::string& out, std::uint16_t unit, bool bigEndian) {
    const auto high = static_cast<char>(unit >> 8);
    const auto low = static_cast<char>(unit & 0xFF);
    out.push_back(bigEndian ? high : low);
    out.push_back(bigEndian ? low : high);
}

bool isHighSurrogate(std::uint16_t unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}

bool isLowSurrogate(std::uint16_t unit) {
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

} // namespace

DecodedText decodeUtf16(std::string_view bytes, bool bigEndian) {
    DecodedText result;
    result.text.reserve(bytes.size() / 2);
    std::size_t at = 0;
    for (; at + 1 < bytes.size(); at += 2) {
        const std::uint16_t unit = unitAt(bytes, at, bigEndian);
        if (isLowSurrogate(unit)) {
            result.badByte = at;
            return result;
        }
        if (!isHighSurrogate(unit)) {
            result.text.push_back(unit);
            continue;
        }
        if (at + 3 >= bytes.size() || !isLowSurrogate(unitAt(bytes, at + 2, bigEndian))) {
            result.badByte = at;
            return result;
        }
        const std::uint16_t low = unitAt(bytes, at + 2, bigEndian);
        result.text.push_back(0x10000 + ((char32_t{unit} - 0xD800) << 10) + (low - 0xDC00));
        at += 2;
    }
    if (at < bytes.size()) {
        result.badByte = at;
    }
    return result;
}

EncodedText encodeUtf16(std::u32string_view text, bool bigEndian) {
    EncodedText result;
    result.bytes.reserve(text.size() * 2);
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char32_t c = text[i];
        if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
            result.badCharacter = i;
            return result;
        }
        if (c < 0x10000) {
            appendUnit(result.bytes, static_cast<std::uint16_t>(c), bigEndian);
        } else {
            const char32_t offset = c - 0x10000;
            appendUnit(result.bytes, static_cast<std::uint16_t>(0xD800 + (offset >> 10)),
                       bigEndian);
            appendUnit(result.bytes, static_cast<std::uint16_t>(0xDC00 + (offset & 0x3FF)),
                       bigEndian);
        }
    }
    return result;
}

} // namespace casl::platform
