#include "web/binding/workbench.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace casl::web {
namespace {

const std::string header = "Address Object-Code     Label    Mnemonic  Gr, Op, Xr\n"
                           "-------------------------------------------------------------\n";

TEST(Workbench, CleanProgramGivesTheListingInPageText) {
    Workbench workbench;
    const PageAssembly a = workbench.assemble("PGM\tSTART\n\n\tLD\tGR1,A\t; load\n\tRET\n"
                                              "A\tDC\t5\n\tEND\n");
    EXPECT_FALSE(a.blank);
    EXPECT_EQ(a.editorText, "PGM\tSTART\n\tLD\tGR1,A\t; load\n\tRET\nA\tDC\t5\n\tEND\n");
    EXPECT_EQ(a.listingWindowText, header + "0000\t         \tPGM      START   \n"
                                            "0002\t1010 0005\t         LD      GR1,A\n"
                                            "0004\t8100     \t         RET     \n"
                                            "0005\t0005     \tA        DC      5\n"
                                            "0006\t         \t         END     \n");
    EXPECT_EQ(a.resultLine, "Assemble Error: 0");
    EXPECT_EQ(a.errorCount, 0);
    EXPECT_TRUE(a.success);
    EXPECT_TRUE(a.showListing);
}

TEST(Workbench, FaultyProgramListsItsMessagesInUtf8) {
    Workbench workbench;
    const PageAssembly a = workbench.assemble("PGM\tSTART\n\tFOO\tGR1\n\tLD\tGR9,X\n\tEND\n");
    EXPECT_EQ(a.listingWindowText, header + "0000\t         \tPGM      START   \n"
                                            "0002\t\t         FOO     GR1\n"
                                            "ニーモニック \n"
                                            "0004\t1000 0000\t         LD      GR9,X\n"
                                            "<GR>レジスタ \n"
                                            "オペランドのラベルが見つからない \n"
                                            "0006\t         \t         END     \n");
    EXPECT_EQ(a.resultLine, "Assemble Error: 2");
    EXPECT_EQ(a.errorCount, 2);
    EXPECT_FALSE(a.success);
    EXPECT_TRUE(a.showListing);
    ASSERT_EQ(a.findings.size(), 2u);
    EXPECT_EQ(a.findings[0].sourceLine, 2);
    EXPECT_EQ(a.findings[0].line, 2);
    EXPECT_EQ(a.findings[0].messages, "ニーモニック ");
    EXPECT_EQ(a.findings[1].sourceLine, 3);
    EXPECT_EQ(a.findings[1].messages, "<GR>レジスタ \nオペランドのラベルが見つからない ");
}

TEST(Workbench, FindingsNameTheLinesOfTheAssembledTextWithoutItsEmptyLines) {
    Workbench workbench;
    const PageAssembly a = workbench.assemble("P\tSTART\n\n\n\tLD\tGR1,=1\n\tBAD\n\tEND\n");
    ASSERT_EQ(a.findings.size(), 1u);
    EXPECT_EQ(a.findings[0].sourceLine, 3);
    // The literal line stands before END in the program, so BAD is line 3 there too.
    EXPECT_EQ(a.findings[0].line, 3);
}

TEST(Workbench, AListingLineLeadsToTheEditorLineItCameFrom) {
    Workbench workbench;
    // Listing lines: 0 and 1 the header, 2 START, 3 LD, 4 BAD and 5 its message, 6 RET, 7 the
    // literal, 8 END.
    ASSERT_FALSE(workbench.assemble("P\tSTART\n\tLD\tGR1,=7\n\tBAD\n\tRET\n\tEND\n").success);
    const std::vector<int> editorLines{0, 0, 1, 2, 3, 3, 4, 2, 5, 0};
    for (int line = 0; line < static_cast<int>(editorLines.size()); ++line) {
        EXPECT_EQ(workbench.editorLineOfListingLine(line, false),
                  editorLines[static_cast<std::size_t>(line)])
            << "listing line " << line;
    }
    // During a run the editor shows the program's own lines, the literal line among them.
    EXPECT_EQ(workbench.editorLineOfListingLine(7, true), 5);
    EXPECT_EQ(workbench.editorLineOfListingLine(8, true), 6);
}

TEST(Workbench, BlanksOnlyChangeNothing) {
    Workbench workbench;
    const PageAssembly a = workbench.assemble("   ");
    EXPECT_TRUE(a.blank);
    EXPECT_EQ(a.editorText, "");
    EXPECT_EQ(a.listingWindowText, "");
    EXPECT_EQ(a.resultLine, "");
    EXPECT_FALSE(a.showListing);
}

TEST(Workbench, CleanOneLineProgramShowsNoListingAndCannotBeTraced) {
    Workbench workbench;
    const PageAssembly a = workbench.assemble("\tNOP\n");
    EXPECT_FALSE(a.blank);
    EXPECT_EQ(a.errorCount, 0);
    EXPECT_FALSE(a.success);
    EXPECT_FALSE(a.showListing);
    EXPECT_EQ(a.resultLine, "Assemble Error: 0");
    EXPECT_EQ(a.listingText, "0000\t0000 0000\t         NOP     \n");
}

// An example opened over a program read as UTF-8 leaves that program's format: the save that New
// may ask for before the example replaces it writes UTF-8 again.
TEST(Workbench, AnExampleLeavesTheFormatOfTheCurrentFile) {
    Workbench workbench;
    ASSERT_TRUE(workbench.openSource("; \xE3\x81\x82\nPGM START\n", "mine.cas").ok);
    const std::string format = workbench.fileFormat();
    const PageOpened example =
        workbench.readExample("PGM\tSTART\r\n\tRET\r\n\tEND\r\n", "hello.cas");
    ASSERT_TRUE(example.ok);
    EXPECT_EQ(example.text, "PGM\tSTART\n\tRET\n\tEND\n");
    EXPECT_EQ(workbench.fileFormat(), format);
    EXPECT_NE(format, (Workbench{}).fileFormat());
}

} // namespace
} // namespace casl::web
