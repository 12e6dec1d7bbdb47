#include "platform/text_codec.h"

#include "platform/cp932_table.h"

#include <cstdint>

namespace casl::platform {

namespace {

bool isLeadByte(unsigned char byte) {
    return (cp932LeadBytes[byte / 64] >> byte % 64 & 1) != 0;
}

} // namespace

std::optional<int> cp932Code(char32_t c) {
    // CP932 has no character past U+FFFF.
    if (c > 0xFFFF) {
        return std::nullopt;
    }
    const std::optional<std::uint16_t> code = cp932Encoding.find(static_cast<std::uint16_t>(c));
    if (!code) {
        return std::nullopt;
    }
    if (*code <= 0xFF) {
        return *code;
    }
    return static_cast<std::int16_t>(*code);
}

DecodedText decodeCp932(std::string_view bytes) {
    DecodedText result;
    result.text.reserve(bytes.size());
    for (std::size_t at = 0; at < bytes.size();) {
        const auto lead = static_cast<unsigned char>(bytes[at]);
        std::uint16_t code = lead;
        std::size_t length = 1;
        if (isLeadByte(lead)) {
            // A lead byte at the end has lost its trail byte.
            if (at + 1 == bytes.size()) {
                result.badByte = at;
                return result;
            }
            code =
                static_cast<std::uint16_t>(lead << 8 | static_cast<unsigned char>(bytes[at + 1]));
            length = 2;
        }
        const std::optional<std::uint16_t> character = cp932Decoding.find(code);
        if (!character) {
            result.badByte = at;
            return result;
        }
        result.text.push_back(*character);
        at += length;
    }
    return result;
}

EncodedText encodeCp932(std::u32string_view text) {
    EncodedText result;
    result.bytes.reserve(text.size() * 2);
    for (std::size_t i = 0; i < text.size(); ++i) {
        const std::optional<int> code = cp932Code(text[i]);
        if (!code) {
            result.badCharacter = i;
            return result;
        }
        if (*code >= 0) {
            result.bytes.push_back(static_cast<char>(*code));
        } else {
            const auto pair = static_cast<std::uint16_t>(*code);
            result.bytes.push_back(static_cast<char>(pair >> 8));
            result.bytes.push_back(static_cast<char>(pair & 0xFF));
        }
    }
    return result;
}

} // namespace casl::platform
