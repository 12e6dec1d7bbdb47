#include "simulator/run_messages.h"
#include "traced_program.h"

#include <gtest/gtest.h>
#include <memory>

namespace casl::test {
namespace {

const std::u32string stepQuestion(std::u32string_view breakpoint) {
    return U"100ステップ実行されました。\r\n現在のブレークポイントは" + std::u32string(breakpoint) +
           U"行目です。\r\nトレースを続行しますか?";
}

TracedProgram loopProgram(TraceOptions options = {}) {
    return TracedProgram({U"P       START", U"L       LAD     GR1,1,GR1", U"        JUMP    L",
                          U"        RET", U"        END"},
                         options);
}

TEST(StepQuestion, ComesAtThe101stNextInSingleStepMode) {
    TracedProgram p = loopProgram();
    p.host().answers = {MessageAnswer::No};
    p.run();
    ASSERT_EQ(p.messages().size(), 1u);
    EXPECT_EQ(p.messages()[0].text, stepQuestion(U""));
    EXPECT_EQ(p.messages()[0].title, U"確認");
    EXPECT_EQ(p.messages()[0].buttons, MessageButtons::YesNo);
    EXPECT_EQ(p.host().waits.size(), 101u);
    EXPECT_EQ(p.session().ending(), TraceEnding::StepQuestion);
    EXPECT_EQ(p.host().events.back().kind, HostEvent::Ended);
}

TEST(StepQuestion, WithAnUnreachedBreakpointTheRunGoesOnAndAsksEvery101Steps) {
    TracedProgram p = loopProgram(TraceOptions{4, false});
    p.host().answers = {MessageAnswer::Yes, MessageAnswer::No};
    p.run();
    ASSERT_EQ(p.messages().size(), 2u);
    EXPECT_EQ(p.messages()[1].text, stepQuestion(U"4"));
    EXPECT_TRUE(p.host().waits.empty());
    EXPECT_EQ(p.session().countedSteps(), 202);
    // START, then 201 loop steps: GR1 counts the LAD steps.
    EXPECT_EQ(p.gr(1), 101);
    // Nothing was built or shown while running on, except before each question.
    EXPECT_EQ(p.host().count(HostEvent::Show), 2);
    EXPECT_EQ(p.host().count(HostEvent::Refresh), 202);
}

TEST(Breakpoint, TheRunWaitsOnlyAfterTheBreakpointLine) {
    TracedProgram p = loopProgram(TraceOptions{3, false});
    p.run(3);
    ASSERT_EQ(p.host().waits.size(), 4u);
    for (const DisplayTexts& wait : p.host().waits) {
        EXPECT_NE(wait.listing.find(U">>>>>> \t          JUMP    L\r\n"), std::u32string::npos);
        EXPECT_EQ(wait.pc, U"PR:0002");
    }
    EXPECT_EQ(p.gr(1), 4);
}

TEST(Breakpoint, ClearingItMakesEveryStepWait) {
    TracedProgram p = loopProgram(TraceOptions{3, false});
    p.session().start();
    ASSERT_TRUE(p.session().waiting());
    EXPECT_EQ(p.gr(1), 1);
    p.session().setBreakpointLine(0);
    p.session().next();
    EXPECT_EQ(p.gr(1), 2);
    p.session().next();
    EXPECT_EQ(p.gr(1), 2);
    p.session().setBreakpointLine(2);
    p.session().next();
    EXPECT_EQ(p.gr(1), 3);
    EXPECT_EQ(p.host().waits.size(), 4u);
}

TEST(Breakpoint, OnAJumpTheRunStopsWhetherOrNotItJumped) {
    TracedProgram p({U"P       START", U"        LD      GR1,GR0", U"        JNZ     E",
                     U"        JZE     E", U"E       RET", U"        END"},
                    TraceOptions{3, false});
    p.run(0);
    ASSERT_EQ(p.host().waits.size(), 1u);
    EXPECT_NE(p.shown().listing.find(U">>>>>> \t          JNZ     E"), std::u32string::npos);
    EXPECT_EQ(p.machine().currentLine, 4);
}

TEST(EndButton, EndsAtOnceWithoutAMessage) {
    TracedProgram p = loopProgram();
    p.session().start();
    p.session().next();
    p.session().end();
    EXPECT_TRUE(p.session().ended());
    EXPECT_EQ(p.session().ending(), TraceEnding::EndButton);
    EXPECT_TRUE(p.messages().empty());
    EXPECT_EQ(p.host().events.back().kind, HostEvent::Ended);
    p.session().next();
    EXPECT_EQ(p.host().count(HostEvent::Ended), 1);
}

TEST(Start, WithAStartLabelTheFirstStepShowsItsAddress) {
    TracedProgram p({U"P       START   BEGIN", U"        LAD     GR1,1", U"BEGIN   LAD     GR2,2",
                     U"        RET", U"        END"});
    p.run();
    ASSERT_GE(p.host().waits.size(), 2u);
    EXPECT_EQ(p.host().waits[0].pc, U"PR:0004");
    EXPECT_EQ(p.host().waits[0].listing.find(U">>>>>> "), std::u32string::npos);
    EXPECT_EQ(p.gr(1), 0);
    EXPECT_EQ(p.gr(2), 2);
}

TEST(Start, WithoutALabelPrShows0002AndRetEndsTheProgram) {
    TracedProgram p({U"P       START", U"        RET", U"        END"});
    p.run();
    ASSERT_EQ(p.host().waits.size(), 1u);
    EXPECT_EQ(p.host().waits[0].pc, U"PR:0002");
    EXPECT_EQ(p.host().waits[0].sp, U"SP:0023");
    EXPECT_EQ(p.session().ending(), TraceEnding::ProgramEnded);
}

TEST(Steps, CommentAndNopLinesArePassedOver) {
    TracedProgram p({U"P       START", U"; a comment", U"        NOP", U"        LAD     GR1,1",
                     U"        NOP", U"        RET", U"        END"});
    p.run();
    EXPECT_EQ(p.host().waits.size(), 2u);
    EXPECT_EQ(p.session().ending(), TraceEnding::ProgramEnded);
}

TEST(Steps, ARunIntoTheDataStaysOnTheDcLine) {
    TracedProgram p(
        {U"P       START", U"        LAD     GR1,1", U"A       DC      3", U"        END"});
    p.run(4);
    EXPECT_TRUE(p.session().waiting());
    EXPECT_EQ(p.machine().currentLine, 3);
    EXPECT_EQ(p.host().waits.size(), 5u);
}

TEST(Steps, ASecondRunKeepsTheStoresAndStartsTheFlagsAfresh) {
    auto tables = std::make_unique<ProgramTables>();
    const AssemblyResult result = assemble(
        U"P       START\r\n        LD      GR1,A\r\n        ADDA    GR1,A\r\n"
        U"        ST      GR1,A\r\n        RET\r\nA       DC      #4000\r\n        END\r\n",
        *tables);
    ASSERT_TRUE(result.success);
    MachineState machine;
    ScriptedHost host;
    {
        TraceSession first(*tables, machine, result.infoText, {}, host);
        first.start();
        while (first.waiting()) {
            first.next();
        }
    }
    EXPECT_EQ(tables->dataWords[1][dataValueColumn], -32768);
    EXPECT_EQ(machine.overflowFlag, 1);
    TraceSession second(*tables, machine, result.infoText, {}, host);
    second.start();
    EXPECT_EQ(machine.overflowFlag, 0);
    EXPECT_EQ(machine.signZeroState, 0);
    EXPECT_EQ(machine.generalRegisters[1], 0);
    while (second.waiting()) {
        second.next();
    }
    EXPECT_EQ(tables->dataWords[1][dataValueColumn], 0);
}

/// Tables of a program as the assembler would leave them, for what it cannot produce.
struct HandBuilt {
    std::unique_ptr<ProgramTables> tables = std::make_unique<ProgramTables>();
    void line(std::u32string mnemonic, std::u32string operand, std::int16_t address,
              std::array<std::int16_t, 5> code) {
        const int n = tables->lineCounter++;
        tables->lineFields[static_cast<std::size_t>(n)][mnemonicColumn] = std::move(mnemonic);
        tables->lineFields[static_cast<std::size_t>(n)][operand1Column] = std::move(operand);
        tables->lineAddress[static_cast<std::size_t>(n)] = address;
        tables->lineCode[static_cast<std::size_t>(n)] = code;
    }
};

TEST(Steps, RunningPastTheLastLineStopsWithTheBranchTargetMessage) {
    HandBuilt b;
    b.line(U"START", U"", 0, {0, 400, 0, 0, 0});
    b.line(U"LAD", U"GR1", 2, {0, 0x12, 1, 0, 1});
    b.line(U"NOP", U"", 4, {0, 0, 0, 0, 0});
    TracedProgram p(std::move(b.tables), U"START\r\nLAD\r\nNOP\r\n\r\n");
    p.run();
    ASSERT_EQ(p.messages().size(), 1u);
    EXPECT_EQ(p.messages()[0].text.substr(0, 6), U"0005(5");
    EXPECT_EQ(p.messages()[0].title, U"実行時のエラー");
    EXPECT_EQ(p.shown().pc, U"PR:0005");
}

TEST(Start, AStartAddressWithoutALineStopsWithTheStartMessage) {
    HandBuilt b;
    b.line(U"START", U"X", 0, {0, 400, 0, 0, 0x50});
    b.line(U"RET", U"", 2, {0, 0x81, 0, 0, 0});
    TracedProgram p(std::move(b.tables), U"");
    p.run();
    ASSERT_EQ(p.messages().size(), 1u);
    EXPECT_EQ(p.messages()[0].text, messages::startAddress);
    EXPECT_EQ(p.shown().listing, U"");
}

} // namespace
} // namespace casl::test
