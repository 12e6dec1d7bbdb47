// Assemble in the working session: the listing window, the editor's text and error marks, and
// what Trace and the breakpoint show after it.
#include "session_fixture.h"

#include <gtest/gtest.h>

namespace casl::test {
namespace {

const std::string header = "Address Object-Code     Label    Mnemonic  Gr, Op, Xr\r\n"
                           "-------------------------------------------------------------\r\n";

TEST(Assemble, CleanProgramShowsTheListingAndOffersTrace) {
    Session s;
    s.type("PGM\tSTART\n\n\tLD\tGR1,A\t; load\n\tRET\nA\tDC\t5\n\tEND\n");
    s.assemble();
    EXPECT_EQ(utf8(s.editor),
              "PGM\tSTART\r\n\tLD\tGR1,A\t; load\r\n\tRET\r\nA\tDC\t5\r\n\tEND\r\n");
    const ListingView& listing = s.view().listing;
    EXPECT_EQ(utf8(listing.text), header + "0000\t         \tPGM      START   \r\n"
                                           "0002\t1010 0005\t         LD      GR1,A\r\n"
                                           "0004\t8100     \t         RET     \r\n"
                                           "0005\t0005     \tA        DC      5\r\n"
                                           "0006\t         \t         END     \r\n");
    EXPECT_EQ(utf8(listing.resultLine), "Assemble Error: 0");
    EXPECT_TRUE(listing.success);
    EXPECT_TRUE(listing.shown);
    EXPECT_EQ(s.view().phase, WorkbenchPhase::Assembled);
    EXPECT_TRUE(s.view().traceEnabled);
    EXPECT_TRUE(s.view().breakpointShown);
    EXPECT_TRUE(s.view().clearEnabled);
    EXPECT_EQ(utf8(s.view().traceDisabledReason), "");
    // A shown listing empties the dumps.
    EXPECT_EQ(utf8(s.view().displays.dataArea), "");
}

TEST(Assemble, FaultyProgramMarksItsLinesAndKeepsTraceDisabled) {
    Session s;
    s.type("PGM\tSTART\n\tFOO\tGR1\n\tLD\tGR9,X\n\tEND\n");
    s.assemble();
    EXPECT_EQ(utf8(s.view().listing.resultLine), "Assemble Error: 2");
    EXPECT_FALSE(s.view().listing.success);
    EXPECT_EQ(s.view().phase, WorkbenchPhase::Editing);
    EXPECT_FALSE(s.view().traceEnabled);
    const auto& findings = s.view().editor.findings;
    ASSERT_EQ(findings.size(), 2u);
    EXPECT_EQ(findings[0].sourceLine, 2);
    EXPECT_EQ(findings[1].sourceLine, 3);
    EXPECT_EQ(utf8(findings[1].messages.at(0)), "<GR>レジスタ ");
    EXPECT_NE(utf8(s.view().traceDisabledReason), "");
}

TEST(Assemble, BlanksOnlyChangeNothing) {
    Session s;
    s.type("   ");
    const WorkbenchView before = s.view();
    s.assemble();
    EXPECT_EQ(s.view().listing.revision, before.listing.revision);
    EXPECT_EQ(s.view().editor.revision, before.editor.revision);
    EXPECT_EQ(utf8(s.editor), "   ");
}

TEST(Assemble, CleanOneLineProgramShowsNoListingAndKeepsItInTheDataDumpsBox) {
    Session s;
    s.type("\tNOP\n");
    s.assemble();
    EXPECT_FALSE(s.view().listing.shown);
    EXPECT_FALSE(s.view().listing.success);
    EXPECT_FALSE(s.view().traceEnabled);
    // The data dump's box is the listing buffer; no listing window took it.
    EXPECT_EQ(utf8(s.view().displays.dataArea), "0000\t0000 0000\t         NOP     \r\n");
}

TEST(Assemble, AListingLineLeadsToTheEditorLineItCameFrom) {
    Session s;
    // Listing lines: 0 and 1 the header, 2 START, 3 LD, 4 BAD and 5 its message, 6 RET, 7 the
    // literal, 8 END.
    s.type("P\tSTART\n\tLD\tGR1,=7\n\tBAD\n\tRET\n\tEND\n");
    s.assemble();
    const std::vector<int> editorLines{0, 0, 1, 2, 3, 3, 4, 2, 5, 0};
    for (int line = 0; line < static_cast<int>(editorLines.size()); ++line) {
        EXPECT_EQ(s.workbench.editorLineOfListingLine(line),
                  editorLines[static_cast<std::size_t>(line)])
            << "listing line " << line;
    }
}

TEST(Assemble, DuringARunAListingLineLeadsToTheProgramLineTheEditorShows) {
    Session s;
    s.type("P\tSTART\n\tLD\tGR1,=7\n\tRET\n\tEND\n");
    s.assemble();
    s.startTrace();
    // Listing: header, START, LD, RET, the literal (program line 4), END.
    EXPECT_EQ(s.workbench.editorLineOfListingLine(5), 4);
    EXPECT_EQ(s.workbench.editorLineOfListingLine(6), 5);
}

TEST(Assemble, AFailedInfoFileKeepsTheProgramFromBeingTraced) {
    class FailingScratch : public ScratchFiles {
    public:
        std::optional<std::u32string> writeInfoText(std::u32string_view) override {
            return U"空き容量がありません";
        }
        void keepProgramText(std::u32string_view) override {}
        std::optional<std::u32string> takeProgramText() override { return std::nullopt; }
    };
    MemoryFiles files;
    FailingScratch scratch;
    Workbench workbench(SessionServices{files, &scratch});
    workbench.assemble(program("P\tSTART\n\tRET\n\tEND\n"));
    ASSERT_TRUE(workbench.view().box);
    EXPECT_EQ(utf8(workbench.view().box->text),
              "ディスクに書き込めません\r\n\r\n空き容量がありません");
    EXPECT_EQ(utf8(workbench.view().box->title), "Varnic");
    EXPECT_FALSE(workbench.view().traceEnabled);
    EXPECT_FALSE(workbench.view().listing.success);
    workbench.answer(BoxAnswer{});
    EXPECT_FALSE(workbench.view().box);
}

} // namespace
} // namespace casl::test
