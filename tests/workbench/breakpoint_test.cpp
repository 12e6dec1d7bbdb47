// The breakpoint of the working session: the click rule, its caption, クリア, and where its mark
// stands.
#include "session_fixture.h"

#include <gtest/gtest.h>

namespace casl::test {
namespace {

const std::string callProgram = "MAIN\tSTART\n"         // 1
                                "\tLD\tGR1,A\n"         // 2
                                "\tCALL\tSUB\n"         // 3
                                "\tST\tGR0,R\n"         // 4
                                "\tRET\n"               // 5
                                "SUB\tLAD\tGR0,1,GR1\n" // 6
                                "\tNOP\n"               // 7
                                "\tRET\n"               // 8
                                "A\tDC\t7\n"            // 9
                                "R\tDS\t1\n"            // 10
                                "\tEND\n";              // 11

const std::string loopProgram = "LOOP\tSTART\n"
                                "\tLAD\tGR1,0\n"
                                "NEXT\tLAD\tGR1,1,GR1\n"
                                "\tCPA\tGR1,=40\n"
                                "\tJMI\tNEXT\n"
                                "\tRET\n"
                                "\tEND\n";

struct ClickCase {
    const char* name;
    int clicked;
    int chosen;
};

void PrintTo(const ClickCase& c, std::ostream* os) {
    *os << c.name;
}

class ClickTest : public testing::TestWithParam<ClickCase> {};

TEST_P(ClickTest, ChoosesTheLineARunCanStopAt) {
    Session s;
    s.type(callProgram);
    s.assemble();
    s.workbench.clickLine(GetParam().clicked);
    EXPECT_EQ(s.view().breakpointLine, GetParam().chosen);
    EXPECT_EQ(utf8(s.view().breakpointCaption), std::to_string(GetParam().chosen));
    EXPECT_EQ(s.view().breakpointMark, GetParam().chosen);
}

INSTANTIATE_TEST_SUITE_P(Lines, ClickTest,
                         testing::Values(ClickCase{"AnInstruction", 4, 4},
                                         ClickCase{"TheStartLine", 1, 1},
                                         ClickCase{"ANopGivesWayToTheLineAbove", 7, 6},
                                         ClickCase{"ADcLineGivesWayToTheInstructionAbove", 9, 8},
                                         ClickCase{"ADsAndEndToo", 11, 8}),
                         [](const testing::TestParamInfo<ClickCase>& info) {
                             return info.param.name;
                         });

TEST(Breakpoint, AClickPastTheTablesAndClear) {
    Session s;
    s.type(callProgram);
    s.assemble();
    s.workbench.clickLine(9);
    s.workbench.clickLine(400);
    EXPECT_EQ(s.view().breakpointLine, 8);
    EXPECT_EQ(utf8(s.view().breakpointCaption), "8");
    s.workbench.clearBreakpoint();
    EXPECT_EQ(s.view().breakpointLine, 0);
    EXPECT_EQ(utf8(s.view().breakpointCaption), "");
    EXPECT_EQ(s.view().breakpointMark, 0);
}

TEST(Breakpoint, WithTraceDisabledAClickStoresTheLineClickedBefore) {
    Session s;
    s.type(callProgram);
    s.assemble();
    s.workbench.clickLine(3);
    s.workbench.clearBreakpoint();
    s.workbench.editorKeyDown();
    s.workbench.clickLine(7);
    EXPECT_EQ(s.view().breakpointLine, 3);
    EXPECT_EQ(utf8(s.view().breakpointCaption), "");
    // Typing hides the caption and disables クリア, with the reason on the disabled Trace.
    EXPECT_FALSE(s.view().breakpointShown);
    EXPECT_FALSE(s.view().clearEnabled);
    EXPECT_EQ(utf8(s.view().traceDisabledReason),
              "プログラムが変更されました。もう一度 Assemble すると、トレースできます");
}

TEST(Breakpoint, AGoodAssemblyShowsTheBreakpointAgain) {
    Session s;
    s.type(callProgram);
    s.assemble();
    s.workbench.clickLine(5);
    s.type("P\tSTART\n\tFOO\n\tEND\n");
    s.assemble();
    EXPECT_FALSE(s.view().breakpointShown);
    s.type(callProgram);
    s.assemble();
    EXPECT_TRUE(s.view().breakpointShown);
    EXPECT_EQ(utf8(s.view().breakpointCaption), "5");
}

TEST(Breakpoint, ClearDuringARunMakesEveryStepWaitAndNextShowsTheCaption) {
    Session s;
    s.type(loopProgram);
    s.assemble();
    s.workbench.clickLine(3);
    s.startTrace();
    EXPECT_EQ(s.view().editor.executedLine, 3);
    EXPECT_EQ(utf8(s.view().breakpointCaption), "3");
    // During the run Trace is disabled: the click stores the line chosen before, and the
    // caption waits for the next Next.
    s.workbench.clearBreakpoint();
    s.workbench.next();
    EXPECT_EQ(s.view().editor.executedLine, 4);
    EXPECT_EQ(utf8(s.view().breakpointCaption), "");
    s.workbench.clickLine(2);
    EXPECT_EQ(utf8(s.view().breakpointCaption), "");
    s.workbench.next();
    EXPECT_EQ(utf8(s.view().breakpointCaption), "3");
    // The run went on to line 3 again without waiting on line 5 or 2.
    EXPECT_EQ(s.view().editor.executedLine, 3);
}

TEST(Breakpoint, ANewProgramForgetsTheLineClickedInTheOldOne) {
    Session s;
    s.type(callProgram);
    s.assemble();
    s.workbench.clickLine(4);
    s.files.files[U"ex.cas"] = program("E\tSTART\n\tRET\nD\tDS\t3\n\tEND\n");
    s.workbench.openExample(s.editor, U"ex.cas");
    s.answer(MessageAnswer::No);
    s.render();
    EXPECT_EQ(s.view().breakpointLine, 0);
    EXPECT_EQ(s.view().breakpointMark, 0);
    // Trace is disabled: a click stores the line clicked before, which is none now (line 3 of
    // the example is a DS line, where no run stops).
    s.workbench.clickLine(3);
    EXPECT_EQ(s.view().breakpointLine, 0);
    EXPECT_EQ(s.view().breakpointMark, 0);
}

TEST(Breakpoint, TheMarkStandsOnlyWhereARunCanStop) {
    Session s;
    s.type(callProgram);
    s.assemble();
    s.workbench.clickLine(4);
    ASSERT_EQ(s.view().breakpointMark, 4);
    // The program changes under the breakpoint: line 4 is a DS line now.
    s.type("P\tSTART\n\tRET\nX\tDC\t1\nY\tDS\t1\n\tEND\n");
    s.assemble();
    EXPECT_EQ(s.view().breakpointLine, 4);
    EXPECT_EQ(s.view().breakpointMark, 0);
}

} // namespace
} // namespace casl::test
