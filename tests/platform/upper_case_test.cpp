// The upper case of typed text, from the table of characters with a one-character upper case.
#include "platform/text_codec.h"
#include "platform/upper_case.h"

#include <gtest/gtest.h>

namespace casl::platform {
namespace {

struct TypedCase {
    const char* name;
    std::u32string typed;
    std::u32string inserted;
};

void PrintTo(const TypedCase& c, std::ostream* os) {
    *os << c.name;
}

class UpperCaseTest : public testing::TestWithParam<TypedCase> {};

TEST_P(UpperCaseTest, TypingUpperCases) {
    EXPECT_EQ(toUtf8(upperCased(GetParam().typed)), toUtf8(GetParam().inserted));
}

INSTANTIATE_TEST_SUITE_P(
    Texts, UpperCaseTest,
    testing::Values(TypedCase{"AsciiLetters", U"ld gr1,a", U"LD GR1,A"},
                    TypedCase{"DigitsBlanksAndPunctuation", U"=#00ff ; 'x'\t", U"=#00FF ; 'X'\t"},
                    TypedCase{"FullWidthLetters", U"ａｂｃ", U"ＡＢＣ"},
                    TypedCase{"LettersWithAccents", U"éñÿ", U"ÉÑŸ"},
                    TypedCase{"AlternatingPairsOfLatinExtended", U"āăą", U"ĀĂĄ"},
                    TypedCase{"GreekAndCyrillic", U"αωжя", U"ΑΩЖЯ"},
                    TypedCase{"KanaAndKanjiHaveNoCase", U"かな漢字", U"かな漢字"},
                    TypedCase{"AnUpperCaseOfTwoCharactersKeepsTheLetter", U"ßa", U"ßA"},
                    TypedCase{"CharactersOutsideTheBmp", U"𐐨😀", U"𐐀😀"},
                    TypedCase{"UpperCaseStaysAsItIs", U"ABC", U"ABC"}),
    [](const testing::TestParamInfo<TypedCase>& info) { return info.param.name; });

TEST(UpperCaseTable, RunsAscendAndEachOfTheirCharactersMapsToAnotherOne) {
    const auto runs = upperCaseRuns();
    ASSERT_FALSE(runs.empty());
    for (std::size_t i = 0; i < runs.size(); ++i) {
        const UpperCaseRun& run = runs[i];
        EXPECT_LE(run.first, run.last);
        EXPECT_NE(run.delta, 0);
        EXPECT_GE(run.stride, 1);
        EXPECT_EQ((run.last - run.first) % run.stride, 0u);
        if (i > 0) {
            EXPECT_LT(runs[i - 1].last, run.first);
        }
    }
}

} // namespace
} // namespace casl::platform
