#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace casl::platform {

/// The character code that CP932 (the Windows Japanese code page) gives `c`: 0–255 for a
/// one-byte character, the two bytes lead × 256 + trail as a signed 16-bit value for a
/// double-byte one. Empty when CP932 cannot represent `c`.
std::optional<int> cp932Code(char32_t c);

/// Text from UTF-8 bytes; invalid sequences become U+FFFD.
std::u32string fromUtf8(std::string_view bytes);
/// UTF-8 bytes of `text`; surrogate code points and values past U+10FFFF become U+FFFD.
std::string toUtf8(std::u32string_view text);

/// Text decoded from bytes, or where the bytes stopped making sense.
struct DecodedText {
    std::u32string text; ///< The characters decoded; complete only when `badByte` is empty.
    std::optional<std::size_t> badByte; ///< Offset of the first byte that could not be decoded.
};

/// Bytes encoded from text, or where the text could not be encoded.
struct EncodedText {
    std::string bytes; ///< The encoded bytes; complete only when `badCharacter` is empty.
    std::optional<std::size_t> badCharacter; ///< Index of the first character without a code.
};

/// Decodes CP932 bytes. NUL bytes are ordinary characters (U+0000).
DecodedText decodeCp932(std::string_view bytes);
/// Encodes text as CP932, one or two bytes per character as `cp932Code` gives them.
EncodedText encodeCp932(std::u32string_view text);

/// Decodes UTF-8 strictly: overlong forms, surrogates and values past U+10FFFF are refused.
DecodedText decodeUtf8(std::string_view bytes);
/// Encodes text as UTF-8; surrogate code points and values past U+10FFFF are refused.
EncodedText encodeUtf8(std::u32string_view text);

/// Decodes UTF-16 in the given byte order strictly: an unpaired surrogate or a last byte
/// without its pair is refused.
DecodedText decodeUtf16(std::string_view bytes, bool bigEndian);
/// Encodes text as UTF-16 in the given byte order; surrogate code points and values past
/// U+10FFFF are refused.
EncodedText encodeUtf16(std::u32string_view text, bool bigEndian);

} // namespace casl::platform
