#include "platform/line_ends.h"

#include <gtest/gtest.h>
#include <ostream>
#include <string>

namespace casl::platform {
namespace {

struct StyleCase {
    std::u32string text;
    LineEndStyle style;
};

/// The text with its line ends named: "a_CR_LF_b_LF".
std::string textName(std::u32string_view text) {
    std::string name;
    for (const char32_t c : text) {
        if (!name.empty()) {
            name += '_';
        }
        name += c == U'\r'   ? std::string("CR")
                : c == U'\n' ? std::string("LF")
                             : std::string(1, static_cast<char>(c));
    }
    return name.empty() ? "Empty" : name;
}

void PrintTo(const StyleCase& c, std::ostream* out) {
    *out << textName(c.text);
}

class DominantLineEndsTest : public testing::TestWithParam<StyleCase> {};

TEST_P(DominantLineEndsTest, FindsTheStyleMostLinesUse) {
    EXPECT_EQ(dominantLineEnds(GetParam().text), GetParam().style);
}

INSTANTIATE_TEST_SUITE_P(Texts, DominantLineEndsTest,
                         testing::Values(StyleCase{U"", LineEndStyle::CrLf},
                                         StyleCase{U"END", LineEndStyle::CrLf},
                                         StyleCase{U"a\r\nb\r\n", LineEndStyle::CrLf},
                                         StyleCase{U"a\nb\n", LineEndStyle::Lf},
                                         StyleCase{U"a\rb\r", LineEndStyle::Cr},
                                         StyleCase{U"a\nb\nc\r\n", LineEndStyle::Lf},
                                         StyleCase{U"a\r\nb\rc\r", LineEndStyle::Cr},
                                         // A CR LF pair is one line end, not a CR and an LF.
                                         StyleCase{U"a\r\nb\r\nc\n", LineEndStyle::CrLf},
                                         StyleCase{U"a\r\nb\n", LineEndStyle::CrLf},
                                         StyleCase{U"a\rb\n", LineEndStyle::Lf}),
                         [](const auto& info) { return textName(info.param.text); });

TEST(LineNumberAtTest, CountsEveryKindOfLineEndOnce) {
    const std::u32string text = U"a\r\nb\rc\nd\n\re";
    EXPECT_EQ(lineNumberAt(text, 0), 1u);
    EXPECT_EQ(lineNumberAt(text, 3), 2u);  // b
    EXPECT_EQ(lineNumberAt(text, 5), 3u);  // c
    EXPECT_EQ(lineNumberAt(text, 7), 4u);  // d
    EXPECT_EQ(lineNumberAt(text, 10), 6u); // e: LF then CR are two line ends
    EXPECT_EQ(lineNumberAt(std::string_view("x\r\n\ry"), 4), 3u);
}

TEST(FirstLineLongerThanTest, CountsCharactersBetweenLineEnds) {
    EXPECT_EQ(firstLineLongerThan(U"", 0), std::nullopt);
    EXPECT_EQ(firstLineLongerThan(U"abc\r\nabcd", 4), std::nullopt);
    EXPECT_EQ(firstLineLongerThan(U"abc\r\nabcde", 4), 2u);
    // Every kind of line end ends a line and is not counted.
    EXPECT_EQ(firstLineLongerThan(U"ab\rab\nab\r\n\r\nabc", 2), 5u);
    EXPECT_EQ(firstLineLongerThan(U"\r\n\r\n", 0), std::nullopt);
}

} // namespace
} // namespace casl::platform
