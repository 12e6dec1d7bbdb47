#include "assembly_fixture.h"

#include <gtest/gtest.h>

namespace casl {
namespace {

using test::assembleLines;

TEST(LiteralPool, LiteralsGoBeforeEndWhichMovesOn) {
    const auto a = assembleLines({U"P START", U" LD GR1,=5", U" LD GR2,='AB'", U" RET", U" END"});
    ASSERT_TRUE(a.result.success);
    ASSERT_EQ(a.tables->lineCounter, 8);
    EXPECT_EQ(a.field(5, mnemonicColumn), U"DC");
    EXPECT_EQ(a.field(5, operand1Column), U"5");
    EXPECT_EQ(a.field(5, literalMarkColumn), U"1");
    EXPECT_EQ(a.field(6, operand1Column), U"'AB'");
    EXPECT_EQ(a.field(7, mnemonicColumn), U"END");
    EXPECT_EQ(a.address(5), 7);
    EXPECT_EQ(a.address(6), 8);
    EXPECT_EQ(a.address(7), 10);
    EXPECT_EQ(a.code(2, adrColumn), 7);
    EXPECT_EQ(a.code(3, adrColumn), 8);
    EXPECT_EQ(a.code(5, opColumn), 300);
    EXPECT_EQ(a.code(7, opColumn), 401);
    // The literal lines become data words like any DC line.
    EXPECT_EQ(a.tables->dataWordCounter, 4);
    EXPECT_EQ(a.tables->dataWords[1][dataValueColumn], 5);
    EXPECT_EQ(a.tables->dataWords[3][dataValueColumn], 'B');
    EXPECT_EQ(a.tables->dataWords[3][dataAddressColumn], 9);
}

TEST(LiteralPool, EqualLiteralsShareALineAsTyped) {
    const auto a = assembleLines({U"P START", U" LD GR1,=5", U" LD GR2,=5", U" LD GR3,=#0005",
                                  U" LD GR4,=05", U" RET", U" END"});
    ASSERT_EQ(a.tables->lineCounter, 11);
    EXPECT_EQ(a.code(2, adrColumn), a.code(3, adrColumn));
    EXPECT_NE(a.code(2, adrColumn), a.code(4, adrColumn));
    EXPECT_NE(a.code(2, adrColumn), a.code(5, adrColumn));
    EXPECT_EQ(a.field(8, operand1Column), U"#0005");
    EXPECT_EQ(a.field(9, operand1Column), U"05");
}

TEST(LiteralPool, CharacterLiteralsAreQuotedAgain) {
    const auto a =
        assembleLines({U"P START", U" LD GR1,='A''B'", U" LD GR2,='A''B'", U" RET", U" END"});
    ASSERT_TRUE(a.result.success);
    EXPECT_EQ(a.field(5, operand1Column), U"'A''B'");
    EXPECT_EQ(a.address(6), a.address(5) + 3);
    EXPECT_EQ(a.code(3, adrColumn), a.address(5));
    EXPECT_EQ(a.tables->dataWords[2][dataValueColumn], '\'');
}

TEST(LiteralPool, LiteralFindings) {
    struct Case {
        std::u32string_view line;
        std::u32string_view findings;
    };
    const Case cases[] = {
        {U" LD GR1,=''", U"8"},     {U" LD GR1,='AB", U"8"},  {U" LD GR1,=", U"8"},
        {U" LD GR1,=ABC", U"8"},    {U" LD GR1,=+0", U"8"},   {U" LD GR1,=32768", U"8"},
        {U" LD GR1,=-32769", U"8"}, {U" LD GR1,=#FF", U"8"},  {U" LD GR1,=-32768", U""},
        {U" LD GR1,=0", U""},       {U" LD GR1,=#FFFF", U""}, {U" LD GR9,=5", U"5"},
        {U" LD GR1,='😀'", U"8"},
    };
    for (const Case& c : cases) {
        const auto a = assembleLines({U"P START", c.line, U" RET", U" END"});
        EXPECT_EQ(a.findings(2), c.findings) << std::string(c.line.begin(), c.line.end());
    }
}

TEST(LiteralPool, NoLiteralLineWithoutAClosingEnd) {
    const auto a = assembleLines({U"P START", U" LD GR1,=5", U" RET"});
    EXPECT_EQ(a.tables->lineCounter, 4);
    EXPECT_EQ(a.findings(2), U"8");
    EXPECT_EQ(a.field(3, mnemonicColumn), U"RET");
    EXPECT_EQ(a.code(3, opColumn), 0x81);
}

// The literal's DC form is the text after "=", which the data pass reads as a DC item.
TEST(LiteralPool, DecimalLiteralWithTrailingTextFailsAsALabel) {
    const auto a = assembleLines({U"P START", U" LD GR1,=12AB", U" RET", U" END"});
    EXPECT_EQ(a.findings(2), U"");
    EXPECT_EQ(a.field(4, operand1Column), U"12AB");
    EXPECT_EQ(a.findings(4), U"9");
    EXPECT_FALSE(a.result.success);
}

} // namespace
} // namespace casl
