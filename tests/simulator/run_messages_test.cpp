#include "simulator/run_messages.h"
#include "traced_program.h"

#include <gtest/gtest.h>
#include <ostream>

namespace casl::test {
namespace {

const std::u32string outsideProgram =
    U"指定されているアドレスは、このプログラムの\r\n記憶領域外です。\r\n処理を中断します\r\n";
const std::u32string outsideData =
    U"指定されているアドレスは、このプログラムの\r\nデータ記憶領域外です。"
    U"\r\n　　　処理を中断しますか？\r\n";
const std::u32string codeArea =
    U"指定されているアドレスは、このプログラムの\r\nコード領域です \r\n処理を中断しますか\r\n";
const std::u32string warning = U"プログラム実行中のWarning";

TEST(Messages, StartOnADataLine) {
    TracedProgram p(
        {U"P       START   DATA", U"        RET", U"DATA    DS      1", U"        END"});
    p.run();
    ASSERT_EQ(p.messages().size(), 1u);
    EXPECT_EQ(p.messages()[0].text, U"プログラム実行開始アドレスエラー");
    EXPECT_EQ(p.messages()[0].title, U"Runtimeエラー");
    EXPECT_TRUE(p.host().refreshedBeforeMessage(0));
    EXPECT_EQ(p.shown().pc, U"PR:0003");
    EXPECT_EQ(p.session().ending(), TraceEnding::RuntimeMessage);
}

TEST(Messages, StartOnADataLineBehindACommentLine) {
    // The comment line borrows the data line's address; the data line answers.
    TracedProgram p({U"P       START   DATA", U"        RET", U"; the data", U"DATA    DC      1",
                     U"        END"});
    p.run();
    ASSERT_EQ(p.messages().size(), 1u);
    EXPECT_EQ(p.messages()[0].text, U"プログラム実行開始アドレスエラー");
    EXPECT_EQ(p.session().ending(), TraceEnding::RuntimeMessage);
}

TEST(Messages, ProgramEndAfterARefresh) {
    TracedProgram p({U"P       START", U"        LAD     GR3,3", U"        RET", U"        END"});
    p.run();
    ASSERT_EQ(p.messages().size(), 1u);
    EXPECT_EQ(p.messages()[0].text, U"Program終了");
    EXPECT_EQ(p.messages()[0].title, U"Program Terminated");
    EXPECT_EQ(p.messages()[0].buttons, MessageButtons::Ok);
    EXPECT_TRUE(p.host().refreshedBeforeMessage(0));
    EXPECT_EQ(p.host().events.back().kind, HostEvent::Ended);
    EXPECT_EQ(p.shown().registers[3], registerRow(3));
    EXPECT_EQ(p.shown().obj, U"OBJ-Code:8100 0000");
}

// The box whose answer ended the run names the ending, whatever boxes came before it.
TEST(Messages, TheBoxThatEndedTheRunIsKept) {
    const auto endingText = [](const TraceSession& session) {
        const RunBox* box = session.endingBox();
        return box != nullptr ? box->text : U"(none)";
    };
    TracedProgram ended({U"P       START", U"        OUT     A,L", U"        RET",
                         U"A       DC      'X'", U"L       DC      1", U"        END"});
    ended.run();
    EXPECT_EQ(endingText(ended.session()), U"Program終了");

    TracedProgram stopped({U"P       START", U"        OUT     A,L", U"        LD      GR1,#0500",
                           U"        RET", U"A       DC      'X'", U"L       DC      1",
                           U"        END"});
    stopped.run();
    EXPECT_EQ(endingText(stopped.session()), outsideProgram);
    EXPECT_EQ(stopped.session().endingBox()->title, warning);

    // A question answered Yes ends the run: the question is the ending box.
    TracedProgram asked({U"P       START", U"        NOP", U"        LD      GR1,#0004",
                         U"        RET", U"        END"});
    asked.host().answers = {MessageAnswer::Yes};
    asked.run();
    ASSERT_EQ(asked.session().ending(), TraceEnding::RuntimeMessage);
    EXPECT_EQ(endingText(asked.session()), outsideData);
    EXPECT_EQ(asked.session().endingBox()->buttons, MessageButtons::YesNo);

    TracedProgram running({U"P       START", U"        NOP", U"        RET", U"        END"});
    running.session().start();
    EXPECT_EQ(endingText(running.session()), U"(none)");
    running.session().end();
    EXPECT_EQ(running.session().ending(), TraceEnding::EndButton);
    EXPECT_EQ(endingText(running.session()), U"(none)");
}

struct OperandCase {
    std::u32string_view instruction;
    std::u32string_view text;
    std::u32string_view title;
    bool refreshed;
};

void PrintTo(const OperandCase& c, std::ostream* out) {
    *out << caseName(c.instruction);
}

class OperandStops : public ::testing::TestWithParam<OperandCase> {};

TEST_P(OperandStops, StopWithTheirMessage) {
    const OperandCase& c = GetParam();
    TracedProgram p({U"P       START", U"        LAD     GR2,#0100",
                     U"        " + std::u32string(c.instruction), U"LOOP    RET",
                     U"A       DC      1", U"        END"});
    p.run();
    ASSERT_EQ(p.messages().size(), 1u);
    EXPECT_EQ(p.messages()[0].text, c.text);
    EXPECT_EQ(p.messages()[0].title, c.title);
    EXPECT_EQ(p.messages()[0].buttons, MessageButtons::Ok);
    EXPECT_EQ(p.host().refreshedBeforeMessage(0), c.refreshed);
    EXPECT_EQ(p.session().ending(), TraceEnding::RuntimeMessage);
}

INSTANTIATE_TEST_SUITE_P(
    NumbersAndLabels, OperandStops,
    ::testing::Values(OperandCase{U"LD      GR1,#0500", outsideProgram, warning, true},
                      OperandCase{U"ADDA    GR1,1000", outsideProgram, warning, true},
                      OperandCase{U"LD      GR1,0,GR2", outsideProgram, warning, true},
                      OperandCase{U"LD      GR1,LOOP", outsideProgram, U"実行時エラー", true},
                      OperandCase{U"CPA     GR1,A,GR2", outsideProgram, U"実行時エラー", true}),
    [](const auto& info) { return caseName(info.param.instruction); });

TEST(Messages, LabelsThatBeginWithASignAndADigitAreLabelsNotNumbers) {
    // -1X names an instruction and +1D + 256 lies outside the program: as labels both stop
    // with the run-time error, where numbers would ask or warn.
    for (const std::u32string_view operand : {U"-1X", U"+1D,GR2"}) {
        TracedProgram p({U"P       START", U"        LAD     GR2,#0100",
                         U"        LD      GR1," + std::u32string(operand), U"-1X     RET",
                         U"+1D     DC      1", U"        END"});
        p.run();
        ASSERT_EQ(p.messages().size(), 1u);
        EXPECT_EQ(p.messages()[0].text, outsideProgram);
        EXPECT_EQ(p.messages()[0].title, U"実行時エラー");
    }
}

TEST(Questions, NumberOnACodeWordNoContinuesWithItsValueWithoutWaiting) {
    // LAD GR2,5 at 4 is the code word 0x1220; #0009 is the second word of the LD at 8.
    TracedProgram p({U"P       START", U"        NOP", U"        NOP", U"        LAD     GR2,5",
                     U"        LD      GR1,#0004", U"        LD      GR3,#0009", U"        RET",
                     U"        END"});
    p.host().answers = {MessageAnswer::No, MessageAnswer::No};
    p.run();
    const auto m = p.messages();
    ASSERT_EQ(m.size(), 3u);
    EXPECT_EQ(m[0].text, outsideData);
    EXPECT_EQ(m[0].title, warning);
    EXPECT_EQ(m[0].buttons, MessageButtons::YesNo);
    EXPECT_TRUE(p.host().refreshedBeforeMessage(0));
    EXPECT_EQ(p.gr(1), 0x1220);
    EXPECT_EQ(p.gr(3), 9);
    EXPECT_EQ(m[2].text, messages::programEnd);
    // START and LAD wait; both LD steps go straight on and are not counted.
    EXPECT_EQ(p.host().waits.size(), 2u);
    EXPECT_EQ(p.session().stepCount(), 2);
}

TEST(Questions, ACommentLineNeverAnswersForTheWordOfTheInstructionAfterIt) {
    // #0005 is the second word of the LAD at 4; the comment line before it also sits at 4.
    TracedProgram p({U"P       START", U"        LD      GR1,#0005", U"; set GR3",
                     U"        LAD     GR3,#1234", U"        RET", U"        END"});
    p.host().answers = {MessageAnswer::No};
    p.run();
    ASSERT_EQ(p.messages().size(), 2u);
    EXPECT_EQ(p.messages()[0].text, outsideData);
    EXPECT_EQ(p.gr(1), 0x1234);
}

TEST(Questions, ASignedLabelIntoTheCodeAsksTheCodeAreaQuestion) {
    // +1D + GR2 is the address of the RET line: the label path asks about the code area.
    TracedProgram p({U"P       START", U"        LAD     GR2,-1", U"        LD      GR3,+1D,GR2",
                     U"-1X     RET", U"+1D     DC      7", U"        END"});
    p.host().answers = {MessageAnswer::No};
    p.run();
    const auto m = p.messages();
    ASSERT_EQ(m.size(), 2u);
    EXPECT_EQ(m[0].text, codeArea);
    // RET's first word would be #8100, past 32767: the code word's value is its address, 6.
    EXPECT_EQ(p.gr(3), 6);
}

TEST(Questions, NumberOnACodeWordYesEndsTheRun) {
    TracedProgram p(
        {U"P       START", U"        LD      GR1,#0000", U"        RET", U"        END"});
    p.run();
    ASSERT_EQ(p.messages().size(), 1u);
    EXPECT_EQ(p.messages()[0].text, outsideData);
    EXPECT_EQ(p.session().ending(), TraceEnding::RuntimeMessage);
    EXPECT_EQ(p.gr(1), 0);
}

TEST(Questions, StoreAfterNoStopsWithTheStoreWarning) {
    TracedProgram p({U"P       START", U"        LAD     GR1,9", U"        ST      GR1,#0000",
                     U"        RET", U"        END"});
    p.host().answers = {MessageAnswer::No};
    p.run();
    const auto m = p.messages();
    ASSERT_EQ(m.size(), 2u);
    EXPECT_EQ(m[0].text, outsideData);
    EXPECT_EQ(m[1].text,
              U"データ領域外にレジスタの値を保存しようとしています\r\n処理を中断します\r\n");
    EXPECT_EQ(m[1].title, warning);
    EXPECT_TRUE(p.host().refreshedBeforeMessage(1));
}

TEST(Questions, AnEmptyAreaMakesAddressZeroAData) {
    TracedProgram p({U"P       START", U"        LD      GR1,#0000", U"        RET",
                     U"E       DS      0", U"        END"});
    p.run();
    ASSERT_EQ(p.messages().size(), 1u);
    EXPECT_EQ(p.messages()[0].text, messages::programEnd);
}

TEST(Questions, LabelIntoTheCodeAsksWithoutRefreshAndNoGoesOn) {
    // A + GR2 = A − 3 is the LD GR1,A,GR2 line itself (first word 0x1012).
    TracedProgram p({U"P       START", U"        LD      GR2,M", U"        LD      GR1,A,GR2",
                     U"        ADDL    GR3,A,GR2", U"        RET", U"A       DC      1",
                     U"M       DC      -5", U"        END"});
    p.host().answers = {MessageAnswer::No, MessageAnswer::No};
    p.run();
    const auto m = p.messages();
    ASSERT_EQ(m.size(), 3u);
    EXPECT_EQ(m[0].text, codeArea);
    EXPECT_EQ(m[0].title, warning);
    EXPECT_EQ(m[0].buttons, MessageButtons::YesNo);
    EXPECT_FALSE(p.host().refreshedBeforeMessage(0));
    EXPECT_EQ(p.gr(1), 0x1012);
    // After a No, ADDL uses the code word's value too.
    EXPECT_EQ(m[1].text, codeArea);
    EXPECT_EQ(p.gr(3), 0x1012);
    // The steps still wait: START, LD, LD, ADDL.
    EXPECT_EQ(p.host().waits.size(), 4u);
}

TEST(Questions, LabelIntoTheCodeYesRefreshesThenEnds) {
    TracedProgram p({U"P       START", U"        LD      GR2,M", U"        LD      GR1,A,GR2",
                     U"        RET", U"A       DC      1", U"M       DC      -5", U"        END"});
    p.run();
    ASSERT_EQ(p.messages().size(), 1u);
    EXPECT_EQ(p.session().ending(), TraceEnding::RuntimeMessage);
    const auto& e = p.host().events;
    ASSERT_GE(e.size(), 3u);
    EXPECT_EQ(e[e.size() - 1].kind, HostEvent::Ended);
    EXPECT_EQ(e[e.size() - 2].kind, HostEvent::Show);
    EXPECT_EQ(e[e.size() - 3].kind, HostEvent::Refresh);
}

} // namespace
} // namespace casl::test
