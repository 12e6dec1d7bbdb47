// The trace through the page's Workbench: the displays at every wait are those of a run whose
// host answers each box as it opens; changes, 戻る, the boxes and the breakpoint as the page
// sees them.
#include "assembler/assembler.h"
#include "platform/text_codec.h"
#include "simulator/trace_displays.h"
#include "simulator/trace_session.h"
#include "web/binding/page_text.h"
#include "web/binding/workbench.h"

#include <gtest/gtest.h>
#include <ostream>
#include <string>
#include <vector>

namespace casl::web {

void PrintTo(const PageDisplays& d, std::ostream* os) {
    *os << "line " << d.markedLine << ' ' << d.pc << ' ' << d.sp << ' ' << d.fr << ' ' << d.obj
        << "\n"
        << d.dataArea << d.stackArea;
}

namespace {

/// Answers Yes, OK and `input` at once, and keeps the displays of every wait.
class ReferenceHost : public AnsweringTraceHost {
public:
    explicit ReferenceHost(std::u32string input) : input_(std::move(input)) {}

    const TraceSession* session = nullptr;
    std::vector<PageDisplays> waits;

    void showDisplays(const TraceDisplays& displays) override {
        if (session != nullptr && session->waiting()) {
            waits.push_back(pageDisplays(displays.texts(), displays.markedLine()));
        }
    }
    MessageAnswer messageBox(std::u32string_view, std::u32string_view,
                             MessageButtons buttons) override {
        return buttons == MessageButtons::YesNo ? MessageAnswer::Yes : MessageAnswer::Ok;
    }
    std::optional<std::u32string> inputBox(std::u32string_view, std::u32string_view,
                                           std::u32string_view, ScreenPosition) override {
        return input_;
    }
    void traceEnded() override {}

private:
    std::u32string input_;
};

struct ProgramCase {
    const char* name;
    std::string source;
    std::string input;
    int breakpointLine = 0;
};

void PrintTo(const ProgramCase& c, std::ostream* os) {
    *os << c.name;
}

const std::string echoProgram = "ECHO\tSTART\n"
                                "\tIN\tBUF,LEN\n"
                                "\tOUT\tBUF,LEN\n"
                                "\tRPUSH\n"
                                "\tRPOP\n"
                                "\tRET\n"
                                "BUF\tDS\t8\n"
                                "LEN\tDS\t1\n"
                                "\tEND\n";

const std::string callProgram = "MAIN\tSTART\n"
                                "\tLD\tGR1,A\n"
                                "\tCALL\tSUB\n"
                                "\tST\tGR0,R\n"
                                "\tRET\n"
                                "SUB\tLAD\tGR0,1,GR1\n"
                                "\tPUSH\t0,GR1\n"
                                "\tPOP\tGR2\n"
                                "\tRET\n"
                                "A\tDC\t7\n"
                                "R\tDS\t1\n"
                                "\tEND\n";

/// 3 steps a round for 40 rounds: the step question comes and is answered Yes.
const std::string loopProgram = "LOOP\tSTART\n"
                                "\tLAD\tGR1,0\n"
                                "NEXT\tLAD\tGR1,1,GR1\n"
                                "\tCPA\tGR1,=40\n"
                                "\tJMI\tNEXT\n"
                                "\tRET\n"
                                "\tEND\n";

class WorkbenchTraceTest : public testing::TestWithParam<ProgramCase> {};

TEST_P(WorkbenchTraceTest, ShowsAtEveryWaitWhatARunThatAnswersAtOnceShows) {
    const ProgramCase& c = GetParam();
    ProgramTables tables;
    const AssemblyResult assembly = casl::assemble(coreTextFromPage(c.source), tables);
    ASSERT_TRUE(assembly.success);
    MachineState machine;
    ReferenceHost reference(platform::fromUtf8(c.input));
    TraceSession session(tables, machine, assembly.infoText, TraceOptions{c.breakpointLine, false},
                         reference);
    reference.session = &session;
    session.start();
    while (session.waiting()) {
        session.next();
    }
    ASSERT_TRUE(session.ended());

    Workbench workbench;
    ASSERT_TRUE(workbench.assemble(c.source).success);
    if (c.breakpointLine != 0) {
        workbench.clickLine(c.breakpointLine, true);
    }
    std::vector<PageDisplays> waits;
    PageTrace trace = workbench.startTrace(false);
    for (int calls = 0; trace.state != "ended" && calls < 10000; ++calls) {
        if (trace.state == "waiting") {
            waits.push_back(trace.displays);
            trace = workbench.next();
        } else {
            ASSERT_EQ(trace.state, "asking");
            const bool input = trace.box.kind == "input";
            trace = workbench.answer(PageAnswer{trace.box.buttons == "yesNo" ? "yes" : "ok",
                                                input ? c.input : "", false});
        }
    }
    EXPECT_EQ(trace.state, "ended");
    EXPECT_EQ(trace.ending, "programEnded");
    EXPECT_EQ(waits, reference.waits);
}

INSTANTIATE_TEST_SUITE_P(Programs, WorkbenchTraceTest,
                         testing::Values(ProgramCase{"InOutAndRegisterStack", echoProgram, "HELLO"},
                                         ProgramCase{"CallPushPopAndReturn", callProgram, ""},
                                         ProgramCase{"StepQuestionAnsweredYes", loopProgram, ""},
                                         ProgramCase{"BreakpointInTheLoop", loopProgram, "", 4}),
                         [](const testing::TestParamInfo<ProgramCase>& info) {
                             return info.param.name;
                         });

TEST(WorkbenchTrace, TheBoxesOfInAndOutWithTheirTextsAndTitles) {
    Workbench workbench;
    ASSERT_TRUE(workbench.assemble(echoProgram).success);
    PageTrace trace = workbench.startTrace(false);
    ASSERT_EQ(trace.state, "waiting");
    trace = workbench.next();
    ASSERT_EQ(trace.state, "asking");
    EXPECT_EQ(trace.box.kind, "input");
    EXPECT_EQ(trace.box.text, "Input");
    EXPECT_EQ(trace.box.title, "IN command");
    EXPECT_EQ(trace.box.defaultText, "");
    EXPECT_EQ(trace.box.leftTwips, 10);
    EXPECT_EQ(trace.box.topTwips, 10);
    // Nothing but an answer moves an asking run on.
    EXPECT_EQ(workbench.next().state, "asking");
    EXPECT_EQ(workbench.back().state, "asking");
    trace = workbench.answer(PageAnswer{"ok", "AB", false});
    ASSERT_EQ(trace.state, "waiting");
    EXPECT_NE(trace.displays.dataArea.find("0041 (65)A"), std::string::npos);
    trace = workbench.next();
    ASSERT_EQ(trace.state, "asking");
    EXPECT_EQ(trace.box.kind, "message");
    EXPECT_EQ(trace.box.title, "OUT command");
    EXPECT_EQ(trace.box.text, "\nAB");
    EXPECT_EQ(trace.box.buttons, "ok");
}

TEST(WorkbenchTrace, ACancelledInputStoresALengthOfZero) {
    Workbench workbench;
    ASSERT_TRUE(workbench.assemble(echoProgram).success);
    workbench.startTrace(false);
    workbench.next();
    const PageTrace trace = workbench.answer(PageAnswer{"ok", "IGNORED", true});
    ASSERT_EQ(trace.state, "waiting");
    const std::string& dump = trace.displays.dataArea;
    const std::size_t row = dump.find("\nLEN ");
    ASSERT_NE(row, std::string::npos) << dump;
    EXPECT_EQ(dump.substr(dump.find("   ", row + 11), 12), "   0000 (0)\n") << dump;
}

TEST(WorkbenchTrace, TheLastMessageEndsTheRunWithItsDisplays) {
    Workbench workbench;
    ASSERT_TRUE(workbench.assemble("P\tSTART\n\tLAD\tGR3,5\n\tRET\n\tEND\n").success);
    workbench.startTrace(false);
    workbench.next();
    PageTrace trace = workbench.next();
    ASSERT_EQ(trace.state, "asking");
    EXPECT_EQ(trace.box.text, "Program終了");
    EXPECT_EQ(trace.box.title, "Program Terminated");
    trace = workbench.answer(PageAnswer{"ok", "", false});
    EXPECT_EQ(trace.state, "ended");
    EXPECT_EQ(trace.ending, "programEnded");
    EXPECT_EQ(trace.box.kind, "");
    EXPECT_EQ(trace.displays.registers[3], "[0000 0000 0000 0101] 0005 (     5)");
    EXPECT_FALSE(workbench.traceRunning());
}

TEST(WorkbenchTrace, ChangesAreNoneAtTheFirstWaitThenWhatTheStepChanged) {
    Workbench workbench;
    ASSERT_TRUE(workbench.assemble(callProgram).success);
    PageTrace trace = workbench.startTrace(false);
    ASSERT_EQ(trace.state, "waiting");
    EXPECT_EQ(trace.changes.registers, (std::array<bool, 8>{}));
    EXPECT_FALSE(trace.changes.programRegister);
    EXPECT_TRUE(trace.changes.dataRows.empty());
    EXPECT_TRUE(trace.changes.stackRows.empty());

    trace = workbench.next(); // LD GR1,A
    EXPECT_EQ(trace.changes.registers, (std::array<bool, 8>{false, true}));
    EXPECT_TRUE(trace.changes.programRegister);
    EXPECT_FALSE(trace.changes.stackPointer);

    trace = workbench.next(); // CALL SUB: the return address goes onto the stack
    EXPECT_EQ(trace.changes.registers, (std::array<bool, 8>{}));
    EXPECT_TRUE(trace.changes.stackPointer);
    EXPECT_EQ(trace.changes.stackRows, (std::vector<int>{2}));

    // Back shows what the step back changed, compared with the wait before it.
    trace = workbench.back();
    EXPECT_TRUE(trace.changes.stackPointer);
    EXPECT_TRUE(trace.changes.stackRows.empty());
}

TEST(WorkbenchTrace, BackReturnsToTheDisplaysOfTheWaitBefore) {
    Workbench workbench;
    ASSERT_TRUE(workbench.assemble(callProgram).success);
    const PageTrace first = workbench.startTrace(false);
    EXPECT_EQ(first.stepsBack, 0);
    const PageTrace second = workbench.next();
    EXPECT_EQ(second.stepsBack, 1);
    workbench.next();
    const PageTrace third = workbench.next();
    EXPECT_EQ(third.stepsBack, 3);
    workbench.back();
    PageTrace trace = workbench.back();
    EXPECT_EQ(trace.stepsBack, 1);
    EXPECT_EQ(trace.displays, second.displays);
    trace = workbench.back();
    EXPECT_EQ(trace.displays, first.displays);
    EXPECT_EQ(trace.stepsBack, 0);
    // Nothing is left to undo: 戻る does nothing.
    EXPECT_EQ(workbench.back().displays, first.displays);
    EXPECT_FALSE(trace.historyDropped);
    EXPECT_EQ(workbench.next().displays, second.displays);
}

TEST(WorkbenchTrace, EndStopsAWaitingRunWithoutAMessage) {
    Workbench workbench;
    ASSERT_TRUE(workbench.assemble(callProgram).success);
    workbench.startTrace(false);
    const PageTrace trace = workbench.end();
    EXPECT_EQ(trace.state, "ended");
    EXPECT_EQ(trace.ending, "endButton");
    EXPECT_EQ(trace.box.kind, "");
}

TEST(WorkbenchTrace, OnlyACleanAssemblyCanBeTraced) {
    Workbench workbench;
    EXPECT_EQ(workbench.startTrace(false).state, "notStarted");
    ASSERT_TRUE(workbench.assemble(callProgram).success);
    ASSERT_FALSE(workbench.assemble("P\tSTART\n\tFOO\n\tEND\n").success);
    EXPECT_EQ(workbench.startTrace(false).state, "notStarted");
    EXPECT_FALSE(workbench.traceRunning());
}

TEST(WorkbenchTrace, AnAssemblyEndsARunThatWasLeftRunning) {
    Workbench workbench;
    ASSERT_TRUE(workbench.assemble(callProgram).success);
    ASSERT_EQ(workbench.startTrace(false).state, "waiting");
    ASSERT_TRUE(workbench.assemble(echoProgram).success);
    EXPECT_FALSE(workbench.traceRunning());
    EXPECT_EQ(workbench.next().state, "notStarted");
}

TEST(WorkbenchTrace, SimpleDisplayFoldsTheLaterWordsOfADsAtTheNextRefresh) {
    Workbench workbench;
    ASSERT_TRUE(workbench
                    .assemble("P\tSTART\n\tLAD\tGR1,1\n\tLAD\tGR2,2\n\tRET\nB\tDS\t25\n"
                              "\tEND\n")
                    .success);
    PageTrace trace = workbench.startTrace(false);
    EXPECT_EQ(trace.displays.dataArea.find("\t:\n"), std::string::npos);
    workbench.setSimpleDisplay(true);
    trace = workbench.next();
    EXPECT_NE(trace.displays.dataArea.find("\t:\n"), std::string::npos);
    // The layout of the dump changed: none of its rows counts as changed.
    EXPECT_TRUE(trace.changes.dataRows.empty());
}

TEST(WorkbenchBreakpoint, AClickOnADcLineChoosesTheInstructionAbove) {
    Workbench workbench;
    ASSERT_TRUE(workbench.assemble(callProgram).success);
    PageBreakpoint breakpoint = workbench.clickLine(10, true);
    EXPECT_EQ(breakpoint.line, 9);
    EXPECT_EQ(breakpoint.caption, "9");
    // Past the line tables the click leaves everything as it was.
    breakpoint = workbench.clickLine(400, true);
    EXPECT_EQ(breakpoint.line, 9);
    EXPECT_EQ(breakpoint.caption, "9");
    breakpoint = workbench.clearBreakpoint();
    EXPECT_EQ(breakpoint.line, 0);
    EXPECT_EQ(breakpoint.caption, "");
}

TEST(WorkbenchBreakpoint, WithTraceDisabledAClickStoresTheLineClickedBefore) {
    Workbench workbench;
    ASSERT_TRUE(workbench.assemble(callProgram).success);
    workbench.clickLine(3, true);
    workbench.clearBreakpoint();
    const PageBreakpoint breakpoint = workbench.clickLine(7, false);
    EXPECT_EQ(breakpoint.line, 3);
    EXPECT_EQ(breakpoint.caption, "");
}

TEST(WorkbenchBreakpoint, AGoodAssemblyShowsTheBreakpointAgain) {
    Workbench workbench;
    ASSERT_TRUE(workbench.assemble(callProgram).success);
    workbench.clickLine(5, true);
    EXPECT_EQ(workbench.assemble("P\tSTART\n\tFOO\n\tEND\n").breakpointCaption, "5");
    EXPECT_EQ(workbench.assemble(callProgram).breakpointCaption, "5");
}

TEST(WorkbenchBreakpoint, ClearDuringARunMakesEveryStepWaitAndNextShowsTheCaption) {
    Workbench workbench;
    ASSERT_TRUE(workbench.assemble(loopProgram).success);
    workbench.clickLine(3, true);
    PageTrace trace = workbench.startTrace(false);
    ASSERT_EQ(trace.state, "waiting");
    EXPECT_EQ(trace.displays.markedLine, 3);
    EXPECT_EQ(trace.breakpointCaption, "3");
    // During the run Trace is disabled: the click stores the line chosen before, and the caption
    // waits for the next Next.
    workbench.clearBreakpoint();
    trace = workbench.next();
    EXPECT_EQ(trace.displays.markedLine, 4);
    EXPECT_EQ(trace.breakpointCaption, "");
    workbench.clickLine(2, false);
    EXPECT_EQ(workbench.breakpoint().caption, "");
    trace = workbench.next();
    EXPECT_EQ(trace.breakpointCaption, "3");
    // The run went on to line 3 again without waiting on line 5 or 2.
    EXPECT_EQ(trace.displays.markedLine, 3);
}

} // namespace
} // namespace casl::web
