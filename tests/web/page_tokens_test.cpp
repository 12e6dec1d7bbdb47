#include "web/binding/page_tokens.h"

#include <gtest/gtest.h>
#include <ostream>
#include <string>
#include <vector>

namespace casl::web {
namespace {

struct Span {
    int from;
    int to;
    std::string kind;

    friend bool operator==(const Span&, const Span&) = default;
};

void PrintTo(const Span& s, std::ostream* os) {
    *os << s.kind << '[' << s.from << ',' << s.to << ')';
}

struct TokensCase {
    const char* name;
    std::string line;
    bool traceListing;
    std::vector<Span> spans;
};

void PrintTo(const TokensCase& c, std::ostream* os) {
    *os << c.name;
}

class PageLineTokensTest : public testing::TestWithParam<TokensCase> {};

TEST_P(PageLineTokensTest, ColourWhatTheAssemblerSees) {
    std::vector<Span> spans;
    for (const PageToken& token : pageLineTokens(GetParam().line, GetParam().traceListing)) {
        spans.push_back(Span{token.from, token.to, token.kind});
    }
    EXPECT_EQ(spans, GetParam().spans);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, PageLineTokensTest,
    testing::Values(
        TokensCase{
            "LabelMnemonicRegisterAndName",
            "LOOP\tLD\tGR1,DATA,GR2",
            false,
            {{0, 4, "label"}, {5, 7, "mnemonic"}, {8, 11, "register"}, {17, 20, "register"}}},
        TokensCase{
            "NumbersLiteralAndComment",
            "\tLAD\tGR1,#00FF ; x",
            false,
            {{1, 4, "mnemonic"}, {5, 8, "register"}, {9, 14, "hexadecimal"}, {15, 18, "comment"}}},
        TokensCase{"DecimalAndLiteral",
                   " ADDA GR1,=5",
                   false,
                   {{1, 5, "mnemonic"}, {6, 9, "register"}, {10, 12, "literal"}}},
        TokensCase{
            "UnknownMnemonic", " FOO 1", false, {{1, 4, "unknownMnemonic"}, {5, 6, "decimal"}}},
        TokensCase{"CharacterConstant",
                   "S DC 'あ'",
                   false,
                   {{0, 1, "label"}, {2, 4, "mnemonic"}, {5, 8, "character"}}},
        // Positions count UTF-16 units, as the editor does: the emoji takes two.
        TokensCase{"OutsideTheBmp", "; \xF0\x9F\x98\x80 x", false, {{0, 6, "comment"}}},
        TokensCase{"AfterAnEmojiInAConstant",
                   " DC '\xF0\x9F\x98\x80' ;c",
                   false,
                   {{1, 3, "mnemonic"}, {4, 8, "character"}, {9, 11, "comment"}}},
        TokensCase{"MarkedListingLine",
                   ">>>>>> \tLOOP      LD      GR1,A",
                   true,
                   {{8, 12, "label"}, {18, 20, "mnemonic"}, {26, 29, "register"}}},
        TokensCase{"UnmarkedListingLine", "\t          RET     ", true, {{11, 14, "mnemonic"}}},
        // In the editor a leading tab is the blank before a mnemonic.
        TokensCase{"TabOutsideTheListing", "\tRET", false, {{1, 4, "mnemonic"}}},
        TokensCase{"EmptyLine", "", false, {}}),
    [](const testing::TestParamInfo<TokensCase>& info) { return info.param.name; });

} // namespace
} // namespace casl::web
