#include "assembler/source_intake.h"
#include "assembly_fixture.h"

#include <gtest/gtest.h>

namespace casl {
namespace {

using test::assembleText;

TEST(KeptLines, EveryLineEndSplitsAndEmptyLinesVanish) {
    const auto lines = keptLines(U"A\r\nB\rC\nD\r\n\r\n\n\r  \r\nE");
    const std::vector<std::u32string_view> expected{U"A", U"B", U"C", U"D", U"  ", U"E"};
    EXPECT_EQ(lines, expected);
    EXPECT_TRUE(keptLines(U"\r\n\r\n").empty());
    EXPECT_TRUE(keptLines(U"").empty());
}

TEST(SplitLineFields, FillsLabelMnemonicAndOperands) {
    struct Case {
        std::u32string_view line;
        std::array<std::u32string_view, 5> fields; // label, mnemonic, operand 1–3
    };
    const Case cases[] = {
        {U"LAB LD GR1,DATA", {U"LAB", U"LD", U"GR1", U"DATA", U""}},
        {U" LD GR1,DATA", {U"", U"LD", U"GR1", U"DATA", U""}},
        {U"\tLD\tGR1 , DATA", {U"", U"LD", U"GR1", U"DATA", U""}},
        {U" LD GR1,DATA,GR2,X", {U"", U"LD", U"GR1", U"DATA", U"GR2"}},
        {U" LD GR1,DATA ; load it", {U"", U"LD", U"GR1", U"DATA", U""}},
        {U" LD GR1,DATA;x", {U"", U"LD", U"GR1", U"DATA", U""}},
        {U";LAB LD GR1", {U"", U"", U"", U"", U""}},
        {U"   ", {U"", U"", U"", U"", U""}},
        {U"    ; only a comment", {U"", U"", U"", U"", U""}},
        {U" ld gr1,data", {U"", U"ld", U"gr1", U"data", U""}},
        {U"LABEL", {U"LABEL", U"", U"", U"", U""}},
        {U" LD GR1,='A;B'", {U"", U"LD", U"GR1", U"='A;B'", U""}},
        {U" LD GR1,='A B'", {U"", U"LD", U"GR1", U"='A B'", U""}},
        {U" LD GR1,='IT''S'", {U"", U"LD", U"GR1", U"='IT''S'", U""}},
        // An empty string never closes in the first scan, so the rest joins the token.
        {U" LD GR1,='' ;x", {U"", U"LD", U"GR1", U"='' ;x", U""}},
    };
    for (const Case& c : cases) {
        const auto fields = splitLineFields(c.line);
        for (int k = 0; k < 5; ++k) {
            EXPECT_EQ(fields[k + 1], c.fields[k]) << "field " << k + 1;
        }
    }
}

TEST(SplitLineFields, DcOperandsBecomeOneField) {
    struct Case {
        std::u32string_view line;
        std::u32string_view operands;
    };
    const Case cases[] = {
        {U"LAB DC 1, 2, 'A B'", U"1,2,'A B'"},
        {U"LAB DC 'A;B'", U"'A;B'"},
        {U" DC 1,2 ;note", U"1,2"},
        {U" DC 1,2,3,4,5,6", U"1,2,3,4,5,6"},
        {U" DC 'IT''S', 'X'", U"'IT''S','X'"},
        {U" DC '', 5", U"'',5"},
        {U" DC\t'  '\t;c", U"'  '"},
        {U" DC", U""},
        {U" DC ;c", U""},
        // The operand list starts after the mnemonic, not at a DC inside the label.
        {U"DCX DC 7", U"7"},
    };
    for (const Case& c : cases) {
        const auto fields = splitLineFields(c.line);
        EXPECT_EQ(fields[2], U"DC");
        EXPECT_EQ(fields[3], c.operands);
        EXPECT_EQ(fields[4], U"");
        EXPECT_EQ(fields[5], U"");
    }
}

TEST(SourceIntake, BlankTextDoesNothing) {
    ProgramTables tables;
    tables.lineCounter = 7;
    tables.lineFields[1][labelColumn] = U"KEEP";
    const AssemblyResult result = assemble(U"    ", tables);
    EXPECT_TRUE(result.blank);
    EXPECT_EQ(tables.lineCounter, 7);
    EXPECT_EQ(tables.lineFields[1][labelColumn], U"KEEP");
    EXPECT_FALSE(result.showListing);
}

TEST(SourceIntake, OnlyLineEndsEmptyTheEditorAndShowNothing) {
    const auto a = assembleText(U"\r\n\r\n");
    EXPECT_FALSE(a.result.blank);
    EXPECT_EQ(a.result.editorText, U"");
    EXPECT_EQ(a.tables->lineCounter, 1);
    EXPECT_FALSE(a.result.showListing);
    EXPECT_FALSE(a.result.success);
}

TEST(SourceIntake, RewritesTheEditorFromTheKeptLines) {
    const auto a = assembleText(U"P START\n\n RET\r\r\n   \r\n END");
    EXPECT_EQ(a.result.editorText, U"P START\r\n RET\r\n   \r\n END\r\n");
    EXPECT_EQ(a.tables->lineCounter, 5);
    EXPECT_EQ(a.findings(3), U"0");
}

TEST(SourceIntake, ClearsTheTablesOfTheLastAssembly) {
    ProgramTables tables;
    assemble(U"P START\r\nD DS 5\r\n RET\r\n END\r\n", tables);
    ASSERT_EQ(tables.dataWordCounter, 6);
    assemble(U"P START\r\n RET\r\n", tables);
    EXPECT_EQ(tables.lineCounter, 3);
    EXPECT_EQ(tables.dataWordCounter, 1);
    EXPECT_EQ(tables.lineFields[3][mnemonicColumn], U"");
    EXPECT_EQ(tables.dataWords[2][dataAddressColumn], 0);
}

} // namespace
} // namespace casl
