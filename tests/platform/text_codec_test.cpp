#include "platform/text_codec.h"

#include <cstdio>
#include <gtest/gtest.h>
#include <ostream>
#include <string>
#include <thread>
#include <vector>

namespace casl::platform {
namespace {

using namespace std::string_literals;

/// "U0041" for 'A': a case name for a character.
std::string characterName(char32_t c) {
    char name[16];
    std::snprintf(name, sizeof name, "U%04X", static_cast<unsigned>(c));
    return name;
}

/// "x41_x42_x80": a case name for bytes.
std::string bytesName(std::string_view bytes) {
    std::string name;
    for (const char b : bytes) {
        char hex[8];
        std::snprintf(hex, sizeof hex, "%sx%02X", name.empty() ? "" : "_",
                      static_cast<unsigned>(static_cast<unsigned char>(b)));
        name += hex;
    }
    return name.empty() ? "Empty" : name;
}

struct CodeCase {
    char32_t character;
    std::optional<int> code;
};

void PrintTo(const CodeCase& c, std::ostream* out) {
    *out << characterName(c.character);
}

class Cp932CodeTest : public testing::TestWithParam<CodeCase> {};

TEST_P(Cp932CodeTest, GivesTheCodeOfTheWindowsJapaneseCodePage) {
    EXPECT_EQ(cp932Code(GetParam().character), GetParam().code)
        << "U+" << std::hex << static_cast<unsigned>(GetParam().character);
}

constexpr int doubleByte(int pair) {
    return pair - 65536;
}

INSTANTIATE_TEST_SUITE_P(
    Characters, Cp932CodeTest,
    testing::Values(CodeCase{U'\0', 0}, CodeCase{U'A', 0x41}, CodeCase{U'\'', 0x27},
                    // CP932 keeps backslash and tilde at their ASCII places.
                    CodeCase{U'\\', 0x5C}, CodeCase{U'~', 0x7E}, CodeCase{U'\x7F', 0x7F},
                    CodeCase{U'｡', 0xA1}, CodeCase{U'ｱ', 0xB1}, CodeCase{U'ﾟ', 0xDF},
                    CodeCase{U'　', doubleByte(0x8140)}, CodeCase{U'あ', doubleByte(0x82A0)},
                    CodeCase{U'ア', doubleByte(0x8341)}, CodeCase{U'亜', doubleByte(0x889F)},
                    // Vendor extensions that the strict Shift-JIS table refuses.
                    CodeCase{U'①', doubleByte(0x8740)}, CodeCase{U'髙', doubleByte(0xFBFC)},
                    CodeCase{U'～', doubleByte(0x8160)}, CodeCase{U'￢', doubleByte(0x81CA)},
                    CodeCase{U'\U0001F600', std::nullopt}, CodeCase{U'é', std::nullopt},
                    CodeCase{U'\uFEFF', std::nullopt}, CodeCase{U'\xD800', std::nullopt},
                    CodeCase{U'\x110000', std::nullopt}, CodeCase{U'\xFFFFFFFF', std::nullopt}),
    [](const auto& info) { return characterName(info.param.character); });

TEST(Cp932CodeTest, AgreesAcrossThreads) {
#ifdef __EMSCRIPTEN__
    GTEST_SKIP() << "this WebAssembly build runs without threads";
#endif
    const std::u32string sample = U"Aｱあ①髙～亜\U0001F600";
    std::vector<std::optional<int>> expected;
    for (char32_t c : sample) {
        expected.push_back(cp932Code(c));
    }
    std::vector<std::vector<std::optional<int>>> seen(4);
    std::vector<std::thread> threads;
    for (auto& codes : seen) {
        threads.emplace_back([&] {
            for (char32_t c : sample) {
                codes.push_back(cp932Code(c));
            }
        });
    }
    for (auto& thread : threads) {
        thread.join();
    }
    for (const auto& codes : seen) {
        EXPECT_EQ(codes, expected);
    }
}

// Scratch files tell UTF-8 from CP932 by the byte-order mark EF BB BF, so no CP932 text may
// begin with those bytes.
TEST(Cp932CodeTest, NoCharacterEncodesAsTheStartOfAByteOrderMark) {
    for (char32_t c = 0; c < 0x10000; ++c) {
        ASSERT_NE(cp932Code(c), doubleByte(0xEFBB)) << "U+" << std::hex << unsigned(c);
    }
}

TEST(Cp932TextTest, EncodesAndDecodesJapaneseText) {
    const std::u32string text = U"LD\tGR1,='あ①'\r\nｱ髙～\0\n"s;
    const std::string bytes = "LD\tGR1,='\x82\xA0\x87\x40'\r\n\xB1\xFB\xFC\x81\x60\0\n"s;
    const EncodedText encoded = encodeCp932(text);
    EXPECT_FALSE(encoded.badCharacter);
    EXPECT_EQ(encoded.bytes, bytes);
    const DecodedText decoded = decodeCp932(bytes);
    EXPECT_FALSE(decoded.badByte);
    EXPECT_EQ(decoded.text, text);
}

TEST(Cp932TextTest, ReportsTheFirstCharacterWithoutACode) {
    const EncodedText encoded = encodeCp932(U"あA\U0001F600B\U0001F601");
    EXPECT_EQ(encoded.badCharacter, 2u);
}

// Some characters have several codes (the NEC and IBM rows repeat one another): whichever code a
// file holds, saving the character again writes a code that reads back as the same character.
TEST(Cp932TextTest, EveryDecodedCharacterEncodesToACodeOfItsOwn) {
    int codes = 0;
    for (int code = 0; code < 0x10000; ++code) {
        std::string bytes;
        if (code > 0xFF) {
            bytes.push_back(static_cast<char>(code >> 8));
        }
        bytes.push_back(static_cast<char>(code & 0xFF));
        const DecodedText decoded = decodeCp932(bytes);
        if (decoded.badByte || decoded.text.size() != 1) {
            continue;
        }
        ++codes;
        const EncodedText encoded = encodeCp932(decoded.text);
        ASSERT_FALSE(encoded.badCharacter) << "code " << std::hex << code;
        EXPECT_EQ(decodeCp932(encoded.bytes).text, decoded.text) << "code " << std::hex << code;
    }
    EXPECT_GT(codes, 9000);
}

struct BadBytesCase {
    std::string bytes;
    std::size_t badByte;
    std::u32string decodedBefore;
};

void PrintTo(const BadBytesCase& c, std::ostream* out) {
    *out << bytesName(c.bytes);
}

class Cp932BadBytesTest : public testing::TestWithParam<BadBytesCase> {};

TEST_P(Cp932BadBytesTest, ReportsTheFirstUndecodableByte) {
    const DecodedText decoded = decodeCp932(GetParam().bytes);
    EXPECT_EQ(decoded.badByte, GetParam().badByte);
    EXPECT_EQ(decoded.text, GetParam().decodedBefore);
}

INSTANTIATE_TEST_SUITE_P(Bytes, Cp932BadBytesTest,
                         testing::Values(BadBytesCase{"AB\x80", 2, U"AB"},
                                         BadBytesCase{"\x82\xA0\xA0", 2, U"あ"},
                                         BadBytesCase{"A\xFF", 1, U"A"},
                                         // A lead byte without its trail byte.
                                         BadBytesCase{"A\x82", 1, U"A"},
                                         BadBytesCase{"\x82\n", 0, U""}),
                         [](const auto& info) { return bytesName(info.param.bytes); });

struct Utf8Case {
    std::string bytes;
    std::u32string lenient;         // fromUtf8
    std::optional<std::size_t> bad; // decodeUtf8
};

void PrintTo(const Utf8Case& c, std::ostream* out) {
    *out << bytesName(c.bytes);
}

class Utf8DecodeTest : public testing::TestWithParam<Utf8Case> {};

TEST_P(Utf8DecodeTest, ReplacesOrReportsInvalidSequences) {
    EXPECT_EQ(fromUtf8(GetParam().bytes), GetParam().lenient);
    const DecodedText strict = decodeUtf8(GetParam().bytes);
    EXPECT_EQ(strict.badByte, GetParam().bad);
    if (!GetParam().bad) {
        EXPECT_EQ(strict.text, GetParam().lenient);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Sequences, Utf8DecodeTest,
    testing::Values(Utf8Case{"A\0B"s, U"A\0B"s, std::nullopt},
                    Utf8Case{"\xC3\xA9\xE3\x81\x82\xF0\x9F\x98\x80", U"éあ\U0001F600",
                             std::nullopt},
                    Utf8Case{"\xEF\xBF\xBF\xF4\x8F\xBF\xBF", U"\uFFFF\U0010FFFF", std::nullopt},
                    Utf8Case{"A\xC3", U"A\uFFFD", 1},
                    // A cut-off sequence counts as one bad character, and the next one is kept.
                    Utf8Case{"\xE3\x81"
                             "A",
                             U"\uFFFDA", 0},
                    Utf8Case{"\xC0\xAF", U"\uFFFD\uFFFD", 0},
                    Utf8Case{"x\xE0\x80\x80", U"x\uFFFD\uFFFD\uFFFD", 1},
                    Utf8Case{"\xED\xA0\x80", U"\uFFFD\uFFFD\uFFFD", 0},
                    Utf8Case{"\xF4\x90\x80\x80", U"\uFFFD\uFFFD\uFFFD\uFFFD", 0},
                    Utf8Case{"\x80\xBF", U"\uFFFD\uFFFD", 0}, Utf8Case{"\xFF", U"\uFFFD", 0}),
    [](const auto& info) { return bytesName(info.param.bytes); });

TEST(Utf8EncodeTest, EncodesEveryLengthAndRefusesSurrogates) {
    const std::u32string text = U"A\0é\u3042\U0001F600"s;
    EXPECT_EQ(toUtf8(text), "A\0\xC3\xA9\xE3\x81\x82\xF0\x9F\x98\x80"s);
    EXPECT_EQ(fromUtf8(toUtf8(text)), text);
    EXPECT_EQ(encodeUtf8(text).bytes, toUtf8(text));
    EXPECT_FALSE(encodeUtf8(text).badCharacter);

    const std::u32string surrogate = U"ab\xD800"s;
    EXPECT_EQ(encodeUtf8(surrogate).badCharacter, 2u);
    EXPECT_EQ(toUtf8(surrogate), "ab\xEF\xBF\xBD");
}

TEST(Utf16Test, EncodesSurrogatePairsInBothByteOrdersAndReadsThemBack) {
    const std::u32string text = U"A\0あ\U0001F600"s;
    const std::string little = "A\0\0\0\x42\x30\x3D\xD8\x00\xDE"s;
    const std::string big = "\0A\0\0\x30\x42\xD8\x3D\xDE\x00"s;
    EXPECT_EQ(encodeUtf16(text, false).bytes, little);
    EXPECT_EQ(encodeUtf16(text, true).bytes, big);
    EXPECT_EQ(decodeUtf16(little, false).text, text);
    EXPECT_EQ(decodeUtf16(big, true).text, text);
    EXPECT_FALSE(decodeUtf16(big, true).badByte);

    EXPECT_EQ(encodeUtf16(U"ab\xDFFF"s, false).badCharacter, 2u);
    EXPECT_EQ(encodeUtf16(U"a\x110000"s, true).badCharacter, 1u);
    // A low surrogate first, and a high one followed by an ordinary unit.
    EXPECT_EQ(decodeUtf16("A\0\x00\xDC"s, false).badByte, 2u);
    EXPECT_EQ(decodeUtf16("\xD8\x3D\0A"s, true).badByte, 0u);
}

} // namespace
} // namespace casl::platform
