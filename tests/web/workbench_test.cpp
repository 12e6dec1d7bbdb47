#include "web/binding/workbench.h"

#include <gtest/gtest.h>
#include <string>

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
}

} // namespace
} // namespace casl::web
