#include "cli/check/terminal_columns.h"

#include <gtest/gtest.h>

namespace casl::check {
namespace {

struct Fit {
    std::string name;
    std::string text;
    std::size_t columns;
    std::string shortened;
    std::vector<std::string> wrapped;
};

void PrintTo(const Fit& f, std::ostream* os) {
    *os << f.name;
}

class FitsColumns : public testing::TestWithParam<Fit> {};

TEST_P(FitsColumns, ShortensInTheMiddleAndWrapsWithoutLosingAnything) {
    const Fit& f = GetParam();
    EXPECT_EQ(shortenedInTheMiddle(f.text, f.columns), f.shortened);
    EXPECT_LE(terminalColumns(shortenedInTheMiddle(f.text, f.columns)), f.columns);
    EXPECT_EQ(wrappedToColumns(f.text, f.columns), f.wrapped);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, FitsColumns,
    testing::Values(
        Fit{"Fits", "ito.cas", 7, "ito.cas", {"ito.cas"}},
        Fit{"OneTooLong", "sato.cas", 7, "sat…cas", {"sato.ca", "s"}},
        Fit{"WideCharactersTakeTwoColumns", "あいうえお", 6, "あ…お", {"あいう", "えお"}},
        Fit{"AWideCharacterIsNotSplit", "aあいう", 4, "a…う", {"aあ", "いう"}},
        Fit{"CombiningMarksTakeNone",
            "ka\u0301ka\u0301",
            4,
            "ka\u0301ka\u0301",
            {"ka\u0301ka\u0301"}},
        Fit{"BreaksAtABlankNearTheEnd", "one two three", 9, "one …hree", {"one two", "three"}},
        Fit{"ABlankTooEarlyIsNoPlaceToBreak", "a bcdefghijk", 6, "a b…jk", {"a bcde", "fghijk"}},
        Fit{"ManyLines", "aaaa bbbb cccc", 4, "aa…c", {"aaaa", "bbbb", "cccc"}}),
    testing::PrintToStringParamName());

TEST(TerminalColumns, CountsWideCharactersTwice) {
    EXPECT_EQ(terminalColumns("ABC"), 3u);
    EXPECT_EQ(terminalColumns("ＡＢ"), 4u);
    EXPECT_EQ(terminalColumns("レジスタ"), 8u);
    EXPECT_EQ(terminalColumns("ｱｲ"), 2u); // half-width kana stay narrow
}

} // namespace
} // namespace casl::check
