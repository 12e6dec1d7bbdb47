#include "assembler/line_findings.h"
#include "assembler/listing.h"
#include "assembly_fixture.h"

#include <gtest/gtest.h>

namespace casl {
namespace {

using test::assembleLines;

TEST(LineFindings, EveryLineInErrorWithItsNumbersAndMessagesInOrder) {
    const auto a = assembleLines({
        U"PGM START",
        U" LD GR9,X",
        U" LDX GR1,A",
        U"A DC 1",
        U"A DC 2",
        U" RET",
        U" END",
    });
    const std::vector<LineFinding> expected{
        {2, 2, {5, 9}, {U"<GR>レジスタ ", U"オペランドのラベルが見つからない "}},
        {3, 3, {7}, {U"ニーモニック "}},
        {4, 4, {1}, {U"ラベルの重複 "}},
    };
    EXPECT_EQ(a.result.findings, expected);
    EXPECT_EQ(static_cast<int>(a.result.findings.size()), a.result.errorCount);
}

TEST(LineFindings, CleanProgramsAndCommentsHaveNone) {
    const auto a = assembleLines({U"; note", U"PGM START", U" RET", U" END"});
    EXPECT_TRUE(a.result.success);
    EXPECT_TRUE(a.result.findings.empty());
}

TEST(LineFindings, MessagesAreTheListingsOwnLines) {
    const auto a = assembleLines({
        U"PGM START",
        U"LONGLABEL9 LD GR9,X",
        U" ld GR1,=#12",
        U"1A DS 1",
        U" PUSH 0,GR8",
        U" END",
    });
    std::u32string messages;
    for (const LineFinding& finding : a.result.findings) {
        for (const std::u32string& message : finding.messages) {
            messages += message + U"\r\n";
        }
    }
    std::u32string listed;
    const std::u32string& listing = a.result.listingText;
    for (std::size_t start = 0; start < listing.size();) {
        const std::size_t end = listing.find(U"\r\n", start);
        const std::u32string line = listing.substr(start, end - start);
        if (line.find(U'\t') == std::u32string::npos) {
            listed += line + U"\r\n";
        }
        start = end + 2;
    }
    EXPECT_FALSE(messages.empty());
    EXPECT_EQ(messages, listed);
}

TEST(LineFindings, TheLastLineIsFoundInTheEditorPastItsLiterals) {
    const auto a = assembleLines({
        U"LIT START",     // 1
        U" LD GR1,=5",    // 2
        U" LD GR2,=5",    // 3
        U" LD GR3,='A'",  // 4
        U" RET",          // 5
        U"LONGLABEL9 END" // 6, program line 8 after the literal lines 6 and 7
    });
    ASSERT_EQ(a.tables->lineCount(), 8);
    const std::vector<LineFinding> expected{{8, 6, {2}, {U"ラベルの長さ "}}};
    EXPECT_EQ(a.result.findings, expected);
    EXPECT_EQ(sourceLineOf(*a.tables, 1), 1);
    EXPECT_EQ(sourceLineOf(*a.tables, 5), 5);
    EXPECT_EQ(sourceLineOf(*a.tables, 6), 2); // =5, first written on line 2
    EXPECT_EQ(sourceLineOf(*a.tables, 7), 4); // ='A'
    EXPECT_EQ(sourceLineOf(*a.tables, 8), 6);
    EXPECT_EQ(sourceLineOf(*a.tables, 0), 0);
    EXPECT_EQ(sourceLineOf(*a.tables, 9), 0);
}

TEST(ListingLineOwners, OneOwnerPerListingLine) {
    const auto a = assembleLines({
        U"PGM START",
        U" LD GR9,X",
        U" LD GR1,=7",
        U"; comment",
        U"LONGLABEL9 RET",
        U" END",
    });
    const std::vector<int> owners = listingLineOwners(*a.tables);
    const std::vector<int> expected{1, 2, 2, 2, 3, 4, 5, 5, 6, 7};
    EXPECT_EQ(owners, expected);
    // The listing window counts its two header lines first; they belong to no line.
    EXPECT_EQ(programLineOfListingWindowLine(*a.tables, 0), 0);
    EXPECT_EQ(programLineOfListingWindowLine(*a.tables, 1), 0);
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(programLineOfListingWindowLine(*a.tables, static_cast<int>(i) + 2), expected[i]);
    }
    EXPECT_EQ(programLineOfListingWindowLine(*a.tables, static_cast<int>(expected.size()) + 2), 0);
    // Each program line's first listing line starts with its address.
    const std::u32string& listing = a.result.listingText;
    std::size_t start = 0;
    int previous = 0;
    for (const int owner : owners) {
        const std::size_t end = listing.find(U"\r\n", start);
        ASSERT_NE(end, std::u32string::npos);
        if (owner != previous) {
            EXPECT_EQ(listing.substr(start, 5), hex4(a.tables->lineAddress[owner]) + U"\t");
        }
        previous = owner;
        start = end + 2;
    }
    EXPECT_EQ(start, listing.size());
}

} // namespace
} // namespace casl
