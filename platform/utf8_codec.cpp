#include "platform/text_codec.h"

namespace casl::platform {

namespace {

/// One UTF-8 sequence read at some offset: the character, or the length of the longest
/// start of a valid sequence found there (at least 1) when the bytes are bad.
struct Sequence {
    char32_t character = 0;
    std::size_t length = 1;
    bool valid = false;
};

Sequence readSequence(std::string_view bytes, std::size_t at) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(bytes[i]); };
    const unsigned char lead = byte(at);
    if (lead < 0x80) {
        return {lead, 1, true};
    }
    std::size_t length = 0;
    char32_t value = 0;
    // Bounds of the second byte exclude overlong forms, surrogates and values past U+10FFFF.
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        value = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        value = lead & 0x0F;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        value = lead & 0x07;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    } else {
        return {};
    }
    for (std::size_t i = 1; i < length; ++i) {
        if (at + i >= bytes.size()) {
            return {0, i, false};
        }
        const unsigned char next = byte(at + i);
        if (next < low || next > high) {
            return {0, i, false};
        }
        value = value << 6 | (next & 0x3F);
        low = 0x80;
        high = 0xBF;
    }
    return {value, length, true};
}

bool encodable(char32_t c) {
    return c <= 0x10FFFF && (c < 0xD800 || c > 0xDFFF);
}

void appendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        out.push_back(static_cast<char>(0xC0 | c >> 6));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | c >> 12));
        out.push_back(static_cast<char>(0x80 | (c >> 6 & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | c >> 18));
        out.push_back(static_cast<char>(0x80 | (c >> 12 & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c >> 6 & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
}

} // namespace

std::u32string fromUtf8(std::string_view bytes) {
    std::u32string text;
    text.reserve(bytes.size());
    for (std::size_t at = 0; at < bytes.size();) {
        const Sequence sequence = readSequence(bytes, at);
        text.push_back(sequence.valid ? sequence.character : U'\uFFFD');
        at += sequence.length;
    }
    return text;
}

std::string toUtf8(std::u32string_view text) {
    std::string bytes;
    bytes.reserve(text.size());
    for (const char32_t c : text) {
        appendUtf8(bytes, encodable(c) ? c : U'\uFFFD');
    }
    return bytes;
}

DecodedText decodeUtf8(std::string_view bytes) {
    DecodedText result;
    result.text.reserve(bytes.size());
    for (std::size_t at = 0; at < bytes.size();) {
        const Sequence sequence = readSequence(bytes, at);
        if (!sequence.valid) {
            result.badByte = at;
            return result;
        }
        result.text.push_back(sequence.character);
        at += sequence.length;
    }
    return result;
}

EncodedText encodeUtf8(std::u32string_view text) {
    EncodedText result;
    result.bytes.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (!encodable(text[i])) {
            result.badCharacter = i;
            return result;
        }
        appendUtf8(result.bytes, text[i]);
    }
    return result;
}

} // namespace casl::platform
