#include "assembler/line_findings.h"
#include "assembly_fixture.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

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

/// `text` without its last `count` lines (each ending in CR LF).
std::u32string withoutLastLines(const std::u32string& text, int count) {
    std::size_t end = text.size();
    for (int i = 0; i <= count; ++i) {
        end = text.rfind(U"\r\n", end - 1);
    }
    return text.substr(0, end + 2);
}

// Students end a program with a blank line, a tab or a comment after END: the literals still
// go before END, and the program is what it would be without those lines, with them listed
// after END as comment lines.
TEST(LiteralPool, LinesWithNothingToAssembleAfterEndLeaveTheLiteralsBeforeEnd) {
    const std::u32string program =
        U"P START\r\n LD GR1,=5\r\n LD GR2,='AB'\r\n LD GR3,=5\r\n RET\r\n END\r\n";
    const auto plain = test::assembleText(program);
    ASSERT_TRUE(plain.result.success);
    const int lines = plain.tables->lineCount();
    ASSERT_EQ(lines, 8);
    const std::vector<std::u32string_view> tails[] = {
        {U" "}, {U"\t"}, {U"; the end"}, {U"   ", U"\t; note", U";"}};
    for (const auto& tail : tails) {
        std::u32string text = program;
        for (const std::u32string_view line : tail) {
            text += std::u32string(line) + U"\r\n";
        }
        const auto a = test::assembleText(text);
        SCOPED_TRACE(std::string(tail.front().begin(), tail.front().end()));
        ASSERT_TRUE(a.result.success);
        EXPECT_EQ(a.result.errorCount, 0);
        ASSERT_EQ(a.tables->lineCount(), lines + static_cast<int>(tail.size()));
        for (int n = 1; n <= lines; ++n) {
            EXPECT_EQ(a.tables->lineFields[n], plain.tables->lineFields[n]) << n;
            EXPECT_EQ(a.address(n), plain.address(n)) << n;
            // START without an operand takes the address of the last line without a label,
            // which nothing uses; the lines after END are such lines.
            if (n > 1) {
                EXPECT_EQ(a.tables->lineCode[n], plain.tables->lineCode[n]) << n;
            }
        }
        EXPECT_EQ(a.tables->dataWords, plain.tables->dataWords);
        for (int n = lines + 1; n <= a.tables->lineCount(); ++n) {
            EXPECT_EQ(a.findings(n), U"0");
            // The address after END's two words, as for a comment after END without literals.
            EXPECT_EQ(a.address(n), plain.address(lines) + 2);
            EXPECT_EQ(a.code(n, opColumn), 0);
        }
        const int count = static_cast<int>(tail.size());
        EXPECT_EQ(withoutLastLines(a.result.listingText, count), plain.result.listingText);
        EXPECT_EQ(a.result.listingText.substr(plain.result.listingText.size()).substr(0, 7),
                  U"000E\t\t ");
        // The info file: a line of blank label and mnemonic columns for each, before the
        // file's final empty line.
        std::u32string info = plain.result.infoText.substr(0, plain.result.infoText.size() - 2);
        for (int i = 0; i < count; ++i) {
            info += std::u32string(18, U' ') + U"\r\n";
        }
        EXPECT_EQ(a.result.infoText, info + U"\r\n");
        // The editor's lines: the literals come from the lines that write them, END and the
        // lines after it from their own lines.
        EXPECT_EQ(sourceLineOf(*a.tables, 6), 2);
        EXPECT_EQ(sourceLineOf(*a.tables, 7), 3);
        EXPECT_EQ(sourceLineOf(*a.tables, 8), 6);
        EXPECT_EQ(sourceLineOf(*a.tables, 9), 7);
    }
}

TEST(LiteralPool, AnythingToAssembleAfterEndStillLeavesNoPlaceForLiterals) {
    for (const auto* after : {U" NOP", U"X", U" DC 1"}) {
        const auto a = assembleLines({U"P START", U" LD GR1,=5", U" RET", U" END", U"; c", after});
        EXPECT_EQ(a.tables->lineCounter, 7);
        EXPECT_EQ(a.findings(2), U"8");
        EXPECT_EQ(a.field(4, mnemonicColumn), U"END");
    }
}

} // namespace
} // namespace casl
