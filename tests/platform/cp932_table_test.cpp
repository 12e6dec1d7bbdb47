// The codec's CP932 tables against the C library's iconv, which they were written from: every
// character both ways, every one- and two-byte sequence, and where decoding stops.

#include "platform/text_codec.h"

#include <bit>
#include <cerrno>
#include <cstring>
#include <gtest/gtest.h>
#include <iconv.h>
#include <optional>
#include <stdexcept>
#include <string>

namespace casl::platform {
namespace {

constexpr const char* utf32Name =
    std::endian::native == std::endian::little ? "UTF-32LE" : "UTF-32BE";

class Iconv {
public:
    Iconv(const char* to, const char* from) : descriptor_(iconv_open(to, from)) {
        if (descriptor_ == reinterpret_cast<iconv_t>(-1)) {
            throw std::runtime_error(std::string("iconv cannot convert ") + from + " to " + to);
        }
    }
    ~Iconv() { iconv_close(descriptor_); }
    Iconv(const Iconv&) = delete;
    Iconv& operator=(const Iconv&) = delete;

    struct Result {
        std::string out;
        std::optional<std::size_t> stoppedAt; ///< Input offset of a failed conversion.
    };

    Result convert(std::string in) {
        iconv(descriptor_, nullptr, nullptr, nullptr, nullptr);
        Result result;
        result.out.resize(in.size() * 4 + 8);
        char* inPtr = in.data();
        char* outPtr = result.out.data();
        std::size_t inLeft = in.size();
        std::size_t outLeft = result.out.size();
        if (iconv(descriptor_, &inPtr, &inLeft, &outPtr, &outLeft) ==
            static_cast<std::size_t>(-1)) {
            result.stoppedAt = static_cast<std::size_t>(inPtr - in.data());
        }
        result.out.resize(result.out.size() - outLeft);
        return result;
    }

private:
    iconv_t descriptor_;
};

/// The code as `cp932Code` gives it: iconv's one or two bytes. glibc drops the tag characters
/// U+E0000–U+E007F without a byte; no byte is no code.
std::optional<int> iconvCode(Iconv& toCp932, char32_t c) {
    std::string in(sizeof c, '\0');
    std::memcpy(in.data(), &c, sizeof c);
    const Iconv::Result encoded = toCp932.convert(in);
    if (encoded.stoppedAt || encoded.out.empty() || encoded.out.size() > 2) {
        return std::nullopt;
    }
    const auto lead = static_cast<unsigned char>(encoded.out[0]);
    if (encoded.out.size() == 1) {
        return lead;
    }
    const auto trail = static_cast<unsigned char>(encoded.out[1]);
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(lead << 8 | trail));
}

DecodedText iconvDecode(Iconv& fromCp932, const std::string& bytes) {
    const Iconv::Result decoded = fromCp932.convert(bytes);
    DecodedText result;
    result.text.resize(decoded.out.size() / sizeof(char32_t));
    std::memcpy(result.text.data(), decoded.out.data(), result.text.size() * sizeof(char32_t));
    result.badByte = decoded.stoppedAt;
    return result;
}

std::string hexBytes(const std::string& bytes) {
    std::string text;
    for (const char byte : bytes) {
        constexpr const char* digits = "0123456789ABCDEF";
        const auto value = static_cast<unsigned char>(byte);
        text += {' ', digits[value >> 4], digits[value & 15]};
    }
    return text;
}

TEST(Cp932TableTest, GivesIconvsCodeForEveryCharacter) {
    Iconv toCp932("CP932", utf32Name);
    int encodable = 0;
    for (char32_t c = 0; c <= 0x10FFFF; ++c) {
        const std::optional<int> expected = iconvCode(toCp932, c);
        ASSERT_EQ(cp932Code(c), expected) << "U+" << std::hex << static_cast<unsigned>(c);
        encodable += expected ? 1 : 0;
    }
    // A table that lost its double-byte half would agree on no character past ASCII.
    EXPECT_GT(encodable, 9000);
}

void expectDecodesAsIconv(Iconv& fromCp932, const std::string& bytes) {
    const DecodedText expected = iconvDecode(fromCp932, bytes);
    const DecodedText decoded = decodeCp932(bytes);
    ASSERT_EQ(decoded.badByte, expected.badByte) << "bytes" << hexBytes(bytes);
    ASSERT_EQ(decoded.text, expected.text) << "bytes" << hexBytes(bytes);
}

TEST(Cp932TableTest, DecodesEveryOneAndTwoByteSequenceAsIconv) {
    Iconv fromCp932(utf32Name, "CP932");
    for (int first = 0; first < 256; ++first) {
        const std::string one(1, static_cast<char>(first));
        ASSERT_NO_FATAL_FAILURE(expectDecodesAsIconv(fromCp932, one));
        for (int second = 0; second < 256; ++second) {
            ASSERT_NO_FATAL_FAILURE(
                expectDecodesAsIconv(fromCp932, one + static_cast<char>(second)));
        }
    }
}

} // namespace
} // namespace casl::platform
