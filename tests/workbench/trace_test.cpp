// The trace run in the working session: the displays at every wait are those of a run whose
// host answers each box as it opens; what changed, 戻る, the boxes and the run's end.
#include "assembler/assembler.h"
#include "session_fixture.h"
#include "simulator/trace_displays.h"
#include "simulator/trace_session.h"

#include <gtest/gtest.h>
#include <ostream>

namespace casl {

void PrintTo(const DisplayTexts& d, std::ostream* os) {
    *os << test::utf8(d.pc) << ' ' << test::utf8(d.sp) << ' ' << test::utf8(d.fr) << ' '
        << test::utf8(d.obj) << "\n"
        << test::utf8(d.dataArea) << test::utf8(d.stackArea);
}

namespace test {
namespace {

/// Answers Yes, OK and `input` at once, and keeps the displays of every wait.
class ReferenceHost : public AnsweringTraceHost {
public:
    explicit ReferenceHost(std::u32string input) : input_(std::move(input)) {}

    const TraceSession* session = nullptr;
    std::vector<DisplayTexts> waits;

    void showDisplays(const TraceDisplays& displays) override {
        if (session != nullptr && session->waiting()) {
            waits.push_back(displays.texts());
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

/// A session with `source` assembled and traced to its first wait.
void traced(Session& s, const std::string& source) {
    s.type(source);
    s.assemble();
    ASSERT_TRUE(s.view().traceEnabled);
    s.startTrace();
}

class RunTest : public testing::TestWithParam<ProgramCase> {};

TEST_P(RunTest, ShowsAtEveryWaitWhatARunThatAnswersAtOnceShows) {
    const ProgramCase& c = GetParam();
    ProgramTables tables;
    const AssemblyResult assembly = casl::assemble(program(c.source), tables);
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

    Session s;
    s.type(c.source);
    s.assemble();
    if (c.breakpointLine != 0) {
        s.workbench.clickLine(c.breakpointLine);
    }
    s.startTrace();
    std::vector<DisplayTexts> waits;
    for (int calls = 0; s.view().phase == WorkbenchPhase::Tracing && calls < 10000; ++calls) {
        if (!s.view().box) {
            waits.push_back(s.view().displays);
            s.workbench.next();
        } else {
            const WorkbenchBox& box = *s.view().box;
            ASSERT_EQ(box.purpose, WorkbenchBox::Purpose::RunBox);
            const bool input = box.kind == WorkbenchBox::Kind::Input;
            s.answer(box.buttons == MessageButtons::YesNo ? MessageAnswer::Yes : MessageAnswer::Ok,
                     input ? std::optional(platform::fromUtf8(c.input)) : std::nullopt);
        }
    }
    EXPECT_EQ(s.view().phase, WorkbenchPhase::Assembled);
    EXPECT_EQ(s.workbench.session()->ending(), TraceEnding::ProgramEnded);
    EXPECT_EQ(waits, reference.waits);
}

INSTANTIATE_TEST_SUITE_P(Programs, RunTest,
                         testing::Values(ProgramCase{"InOutAndRegisterStack", echoProgram, "HELLO"},
                                         ProgramCase{"CallPushPopAndReturn", callProgram, ""},
                                         ProgramCase{"StepQuestionAnsweredYes", loopProgram, ""},
                                         ProgramCase{"BreakpointInTheLoop", loopProgram, "", 4}),
                         [](const testing::TestParamInfo<ProgramCase>& info) {
                             return info.param.name;
                         });

TEST(Run, TheStartLocksTheEditorShowsTheListingAndEndGivesTheProgramBack) {
    Session s;
    traced(s, callProgram);
    const WorkbenchView& v = s.view();
    EXPECT_EQ(v.phase, WorkbenchPhase::Tracing);
    EXPECT_TRUE(v.editor.locked);
    EXPECT_TRUE(v.runButtonsShown);
    EXPECT_TRUE(v.dumpsShown);
    EXPECT_FALSE(v.assembleEnabled);
    EXPECT_FALSE(v.traceEnabled);
    EXPECT_FALSE(v.fileMenuEnabled);
    EXPECT_FALSE(v.overwriteSaveEnabled);
    // The first step executes the START line.
    EXPECT_EQ(v.editor.executedLine, 1);
    EXPECT_NE(utf8(s.editor).find(">>>>>> "), std::string::npos);
    s.workbench.end();
    s.render();
    EXPECT_EQ(v.phase, WorkbenchPhase::Assembled);
    EXPECT_FALSE(v.editor.locked);
    EXPECT_FALSE(v.runButtonsShown);
    EXPECT_TRUE(v.dumpsShown);
    EXPECT_TRUE(v.traceEnabled);
    EXPECT_EQ(v.editor.executedLine, 0);
    EXPECT_EQ(s.editor, program(callProgram));
}

TEST(Run, TheBoxesOfInAndOutWithTheirTextsAndTitles) {
    Session s;
    traced(s, echoProgram);
    s.workbench.next();
    ASSERT_TRUE(s.view().box);
    WorkbenchBox box = *s.view().box;
    EXPECT_EQ(box.kind, WorkbenchBox::Kind::Input);
    EXPECT_EQ(box.purpose, WorkbenchBox::Purpose::RunBox);
    EXPECT_EQ(utf8(box.text), "Input");
    EXPECT_EQ(utf8(box.title), "IN command");
    EXPECT_EQ(box.position.leftTwips, 10);
    EXPECT_EQ(box.position.topTwips, 10);
    // Nothing but an answer moves an asking run on.
    s.workbench.next();
    s.workbench.stepBack();
    EXPECT_EQ(s.view().box, box);
    EXPECT_FALSE(s.view().stepBackEnabled);
    s.answer(MessageAnswer::Ok, U"AB");
    ASSERT_FALSE(s.view().box);
    EXPECT_NE(utf8(s.view().displays.dataArea).find("0041 (65)A"), std::string::npos);
    s.workbench.next();
    ASSERT_TRUE(s.view().box);
    box = *s.view().box;
    EXPECT_EQ(box.kind, WorkbenchBox::Kind::Message);
    EXPECT_EQ(utf8(box.title), "OUT command");
    EXPECT_EQ(utf8(box.text), "\r\nAB");
    EXPECT_EQ(box.buttons, MessageButtons::Ok);
}

TEST(Run, ACancelledInputStoresALengthOfZero) {
    Session s;
    traced(s, echoProgram);
    s.workbench.next();
    s.answer(MessageAnswer::Ok, std::nullopt);
    const std::string dump = utf8(s.view().displays.dataArea);
    const std::size_t row = dump.find("\nLEN ");
    ASSERT_NE(row, std::string::npos) << dump;
    EXPECT_EQ(dump.substr(dump.find("   ", row + 11), 13), "   0000 (0)\r\n") << dump;
}

TEST(Run, TheLastMessageEndsTheRunWithItsDisplays) {
    Session s;
    traced(s, "P\tSTART\n\tLAD\tGR3,5\n\tRET\n\tEND\n");
    s.workbench.next();
    s.workbench.next();
    ASSERT_TRUE(s.view().box);
    EXPECT_EQ(utf8(s.view().box->text), "Program終了");
    EXPECT_EQ(utf8(s.view().box->title), "Program Terminated");
    s.answer(MessageAnswer::Ok);
    EXPECT_EQ(s.view().phase, WorkbenchPhase::Assembled);
    EXPECT_EQ(s.workbench.session()->ending(), TraceEnding::ProgramEnded);
    EXPECT_FALSE(s.view().box);
    EXPECT_EQ(utf8(s.view().displays.registers[3]), "[0000 0000 0000 0101] 0005 (     5)");
}

TEST(Run, ChangesAreNoneAtTheFirstWaitThenWhatTheStepChanged) {
    Session s;
    traced(s, callProgram);
    DisplayChanges changes = s.view().changes;
    EXPECT_EQ(changes.registers, (std::array<bool, 8>{}));
    EXPECT_FALSE(changes.programRegister);
    EXPECT_TRUE(changes.dataRows.empty());
    EXPECT_TRUE(changes.stackRows.empty());

    s.workbench.next(); // LD GR1,A
    changes = s.view().changes;
    EXPECT_EQ(changes.registers, (std::array<bool, 8>{false, true}));
    EXPECT_TRUE(changes.programRegister);
    EXPECT_FALSE(changes.stackPointer);

    s.workbench.next(); // CALL SUB: the return address goes onto the stack
    changes = s.view().changes;
    EXPECT_EQ(changes.registers, (std::array<bool, 8>{}));
    EXPECT_TRUE(changes.stackPointer);
    EXPECT_EQ(changes.stackRows, (std::vector<int>{2}));

    // Back shows what the step back changed, compared with the wait before it.
    s.workbench.stepBack();
    changes = s.view().changes;
    EXPECT_TRUE(changes.stackPointer);
    EXPECT_TRUE(changes.stackRows.empty());
}

TEST(Run, EachChangedFlagNamesItsPartOfTheFlagsCaption) {
    Session s;
    traced(s, "P\tSTART\n\tLAD\tGR1,0\n\tLD\tGR1,GR1\n\tLAD\tGR2,#8000\n\tLD\tGR2,GR2\n"
              "\tRET\n\tEND\n");
    s.workbench.next();
    s.workbench.next(); // LD GR1,GR1 with 0: ZF becomes 1
    EXPECT_EQ(utf8(s.view().displays.fr), "OF:0 SF:0 ZF:1");
    EXPECT_EQ(s.view().changes.flagSpans, (std::vector<CaptionSpan>{{10, 4}}));
    s.workbench.next();
    s.workbench.next(); // LD GR2,GR2 with #8000: SF 1, ZF 0
    EXPECT_EQ(utf8(s.view().displays.fr), "OF:0 SF:1 ZF:0");
    EXPECT_EQ(s.view().changes.flagSpans, (std::vector<CaptionSpan>{{5, 4}, {10, 4}}));
}

TEST(Run, BackReturnsToTheDisplaysOfTheWaitBeforeAndSaysWhatItDoes) {
    Session s;
    traced(s, callProgram);
    const DisplayTexts first = s.view().displays;
    EXPECT_FALSE(s.view().stepBackEnabled);
    s.workbench.next();
    const DisplayTexts second = s.view().displays;
    EXPECT_TRUE(s.view().stepBackEnabled);
    EXPECT_EQ(utf8(s.view().stepBackTip),
              "直前のステップを取り消して、1ステップ前に戻ります (Backspace キー)");
    s.workbench.next();
    s.workbench.next();
    s.workbench.stepBack();
    s.workbench.stepBack();
    EXPECT_EQ(s.view().displays, second);
    s.workbench.stepBack();
    EXPECT_EQ(s.view().displays, first);
    EXPECT_FALSE(s.view().stepBackEnabled);
    // Nothing is left to undo: 戻る does nothing.
    s.workbench.stepBack();
    EXPECT_EQ(s.view().displays, first);
    s.workbench.next();
    EXPECT_EQ(s.view().displays, second);
}

TEST(Run, OnceTheOldestStepsAreDroppedBackSaysWhyItStops) {
    Session s;
    // Room for only a few steps.
    s.workbench.setHistoryBytes(256);
    traced(s, callProgram);
    for (int i = 0; i < 6; ++i) {
        s.workbench.next();
    }
    int stepsBack = 0;
    while (s.view().stepBackEnabled && stepsBack < 10) {
        s.workbench.stepBack();
        ++stepsBack;
    }
    EXPECT_GT(stepsBack, 0);
    EXPECT_LT(stepsBack, 6);
    EXPECT_EQ(utf8(s.view().stepBackTip),
              "記録できるステップ数の上限を超えたため、これより前には戻れません");
}

TEST(Run, EndStopsAWaitingRunWithoutAMessage) {
    Session s;
    traced(s, callProgram);
    s.workbench.end();
    EXPECT_EQ(s.view().phase, WorkbenchPhase::Assembled);
    EXPECT_EQ(s.workbench.session()->ending(), TraceEnding::EndButton);
    EXPECT_FALSE(s.view().box);
}

TEST(Run, OnlyACleanAssemblyCanBeTraced) {
    Session s;
    s.startTrace();
    EXPECT_EQ(s.workbench.session(), nullptr);
    s.type(callProgram);
    s.assemble();
    s.type("P\tSTART\n\tFOO\n\tEND\n");
    s.assemble();
    s.startTrace();
    EXPECT_EQ(s.workbench.session(), nullptr);
    EXPECT_NE(s.view().phase, WorkbenchPhase::Tracing);
}

TEST(Run, SimpleDisplayFoldsTheLaterWordsOfADsAtTheNextRefresh) {
    Session s;
    traced(s, "P\tSTART\n\tLAD\tGR1,1\n\tLAD\tGR2,2\n\tRET\nB\tDS\t25\n\tEND\n");
    EXPECT_EQ(utf8(s.view().displays.dataArea).find("\t:\r\n"), std::string::npos);
    s.workbench.setSimpleDisplay(true);
    s.workbench.next();
    EXPECT_NE(utf8(s.view().displays.dataArea).find("\t:\r\n"), std::string::npos);
    // The layout of the dump changed: none of its rows counts as changed.
    EXPECT_TRUE(s.view().changes.dataRows.empty());
}

TEST(Run, AssemblyAndANewProgramTakeAwayWhatTheLastRunChanged) {
    Session s;
    traced(s, callProgram);
    s.workbench.next();
    ASSERT_TRUE(s.view().changes.programRegister);
    s.workbench.end();
    s.render();
    EXPECT_TRUE(s.view().changes.programRegister);
    s.assemble();
    EXPECT_EQ(s.view().changes, DisplayChanges{});

    s.startTrace();
    s.workbench.next();
    s.workbench.end();
    s.render();
    ASSERT_TRUE(s.view().changes.programRegister);
    s.workbench.newFile(s.editor);
    ASSERT_TRUE(s.view().box); // the save question
    s.answer(MessageAnswer::No);
    EXPECT_EQ(s.view().changes, DisplayChanges{});
}

} // namespace
} // namespace test
} // namespace casl
