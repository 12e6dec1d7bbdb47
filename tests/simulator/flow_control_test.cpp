#include "simulator/run_messages.h"
#include "traced_program.h"

#include <gtest/gtest.h>
#include <memory>
#include <ostream>
#include <string>

namespace casl::test {
namespace {

struct ShiftCase {
    std::u32string_view mnemonic;
    std::u32string_view value;
    int count;
    std::int32_t pattern;
    int overflowFlag;
};

/// The shift, the value and the count: "SRL_xFFFF_1".
std::string shiftCaseName(const ShiftCase& c) {
    const std::string count = std::to_string(c.count);
    return caseName(std::u32string(c.mnemonic) + U' ' + std::u32string(c.value) + U' ' +
                    std::u32string(count.begin(), count.end()));
}

void PrintTo(const ShiftCase& c, std::ostream* out) {
    *out << shiftCaseName(c);
}

class Shifts : public ::testing::TestWithParam<ShiftCase> {};

TEST_P(Shifts, ResultAndShiftedOutBit) {
    const ShiftCase& c = GetParam();
    const std::u32string count = [&] {
        const std::string n = std::to_string(c.count);
        return std::u32string(n.begin(), n.end());
    }();
    TracedProgram p({U"P       START", U"        LD      GR1,A",
                     U"        " + std::u32string(c.mnemonic) + U"     GR1," + count,
                     U"        RET", U"A       DC      " + std::u32string(c.value),
                     U"        END"});
    p.run();
    const auto expected = static_cast<std::int16_t>(static_cast<std::uint16_t>(c.pattern));
    EXPECT_EQ(p.gr(1), expected);
    EXPECT_EQ(p.machine().overflowFlag, c.overflowFlag);
    EXPECT_EQ(p.machine().signZeroState, expected == 0 ? 1 : (expected < 0 ? 2 : 0));
}

INSTANTIATE_TEST_SUITE_P(
    EveryRowOfTheShiftOutTable, Shifts,
    ::testing::Values(
        ShiftCase{U"SRL", U"#FFFF", 1, 0x7FFF, 1}, ShiftCase{U"SRL", U"#0002", 1, 0x0001, 0},
        ShiftCase{U"SRL", U"#8000", 16, 0, 1}, ShiftCase{U"SRL", U"#8000", 17, 0, 0},
        ShiftCase{U"SRL", U"#8001", 0, 0x8001, 0}, ShiftCase{U"SLA", U"#C000", 1, 0x8000, 1},
        ShiftCase{U"SLA", U"#2000", 2, 0x0000, 1}, ShiftCase{U"SLA", U"#8001", 0, 0x8001, 1},
        ShiftCase{U"SLA", U"#7FFF", 15, 0x0000, 1}, ShiftCase{U"SLA", U"#8001", 16, 0x8000, 0},
        ShiftCase{U"SLA", U"#FFFF", 40, 0x8000, 0}, ShiftCase{U"SRA", U"#8000", 16, 0xFFFF, 1},
        ShiftCase{U"SRA", U"#7FFF", 20, 0x0000, 0}, ShiftCase{U"SRA", U"#4000", 15, 0x0000, 1},
        ShiftCase{U"SRA", U"#8000", 1, 0xC000, 0}, ShiftCase{U"SRA", U"#FFFF", 0, 0xFFFF, 0},
        ShiftCase{U"SLL", U"#8001", 0, 0x8001, 0}, ShiftCase{U"SLL", U"#8000", 1, 0x0000, 1},
        ShiftCase{U"SLL", U"#0001", 16, 0x0000, 1}, ShiftCase{U"SLL", U"#FFFF", 17, 0x0000, 0},
        ShiftCase{U"SLL", U"#0003", 3, 0x0018, 0}),
    [](const auto& info) { return shiftCaseName(info.param); });

TEST(Shifts, ANegativeCountStopsWithoutShifting) {
    TracedProgram p({U"P       START", U"        LD      GR1,A", U"        LD      GR2,M",
                     U"        SLA     GR1,0,GR2", U"        RET", U"A       DC      #1234",
                     U"M       DC      -1", U"        END"});
    p.run();
    ASSERT_EQ(p.messages().size(), 1u);
    EXPECT_EQ(p.messages()[0].text, messages::negativeShift);
    EXPECT_EQ(p.messages()[0].title, U"!Error!");
    EXPECT_FALSE(p.host().refreshedBeforeMessage(0));
    EXPECT_EQ(p.gr(1), 0x1234);
    EXPECT_EQ(p.session().ending(), TraceEnding::RuntimeMessage);
}

TEST(Jumps, NotTakenShowsTheNextAddressTakenShowsTheTarget) {
    TracedProgram p({U"P       START", U"        LD      GR1,GR0", U"        JNZ     L1",
                     U"        JZE     L1", U"        NOP", U"L1      NOP", U"        RET",
                     U"        END"});
    p.run();
    ASSERT_EQ(p.host().waits.size(), 4u); // START, LD, JNZ, JZE; RET ends with a refresh
    EXPECT_EQ(p.host().waits[1].pc, U"PR:0003");
    EXPECT_EQ(p.host().waits[2].pc, U"PR:0005"); // JNZ at 3, not taken
    EXPECT_EQ(p.host().waits[3].pc, U"PR:0008"); // L1 follows the one-word NOP at 7
    EXPECT_EQ(p.session().ending(), TraceEnding::ProgramEnded);
}

TEST(Jumps, ToAnAddressWithoutALineTheJumpStays) {
    auto t = std::make_unique<ProgramTables>();
    t->lineFields[1][mnemonicColumn] = U"START";
    t->lineCode[1] = {0, 400, 0, 0, 0};
    t->lineFields[2][mnemonicColumn] = U"JUMP";
    t->lineAddress[2] = 2;
    t->lineCode[2] = {0, 0x64, 0, 0, 0x100};
    t->lineCounter = 3;
    TracedProgram p(std::move(t), U"");
    p.run(5);
    EXPECT_TRUE(p.session().waiting());
    EXPECT_EQ(p.machine().currentLine, 2);
    EXPECT_EQ(p.host().waits.size(), 6u);
    EXPECT_EQ(p.shown().pc, U"PR:0002");
}

struct TargetCase {
    std::u32string_view index; ///< DC value of the index register GR2.
    std::u32string_view jump;
    std::u32string_view named;
};

std::string targetCaseName(const TargetCase& c) {
    return caseName(std::u32string(c.jump) + U" GR2 " + std::u32string(c.index));
}

void PrintTo(const TargetCase& c, std::ostream* out) {
    *out << targetCaseName(c);
}

class BranchTargets : public ::testing::TestWithParam<TargetCase> {};

TEST_P(BranchTargets, AnIndexedJumpToNoInstructionNamesT) {
    const TargetCase& c = GetParam();
    TracedProgram p({U"P       START", U"        LD      GR2,X",
                     U"        " + std::u32string(c.jump), U"        RET", U"D       DC      5",
                     U"X       DC      " + std::u32string(c.index), U"        END"});
    p.run();
    ASSERT_EQ(p.messages().size(), 1u);
    EXPECT_EQ(p.messages()[0].text, std::u32string(c.named) + U"番地を実行しようとしています。\r\n"
                                                              U"分岐先の命令が見つかりません。\r\n"
                                                              U"プログラムの実行を中止します");
    EXPECT_EQ(p.messages()[0].title, U"実行時のエラー");
    EXPECT_TRUE(p.host().refreshedBeforeMessage(0));
    EXPECT_EQ(p.shown().pc, U"PR:" + std::u32string(c.named.substr(0, 4)));
}

INSTANTIATE_TEST_SUITE_P(JumpsAndCalls, BranchTargets,
                         ::testing::Values(TargetCase{U"200", U"JUMP    0,GR2", U"00C8(200)"},
                                           TargetCase{U"-2", U"JUMP    0,GR2", U"FFFE(-2)"},
                                           // D, a DC line, is at 7.
                                           TargetCase{U"7", U"JPL     0,GR2", U"0007(7)"},
                                           TargetCase{U"6", U"CALL    1,GR2", U"0007(7)"},
                                           // Wraps into a word.
                                           TargetCase{U"1", U"JUMP    32767,GR2", U"8000(-32768)"}),
                         [](const auto& info) { return targetCaseName(info.param); });

TEST(Calls, ReturnToTheLineAfterTheCall) {
    TracedProgram p({U"P       START", U"        CALL    S", U"        LAD     GR2,1",
                     U"        RET", U"S       LAD     GR1,5", U"        RET", U"        END"});
    p.run();
    EXPECT_EQ(p.gr(1), 5);
    EXPECT_EQ(p.gr(2), 1);
    // In the subroutine the stack holds the return address 4 at SP.
    const DisplayTexts& inSub = p.host().waits[2];
    EXPECT_EQ(inSub.sp, U"SP:0029");
    EXPECT_EQ(inSub.stackArea, U"Address Value\r\n--------------\r\n0029\t0004\r\n002A\t0000\r\n");
    EXPECT_EQ(p.host().waits[1].pc, U"PR:0007");
    EXPECT_EQ(p.host().waits[3].pc, U"PR:0004");
    EXPECT_EQ(p.host().waits[3].listing.find(U">>>>>> \t          RET"),
              p.host().waits[3].listing.rfind(U">>>>>> "));
    EXPECT_EQ(p.session().ending(), TraceEnding::ProgramEnded);
}

TEST(Stack, ThePushOfThe99thValueOverflowsWithoutRefresh) {
    TracedProgram p({U"P       START", U"L       PUSH    0,GR1", U"        LAD     GR1,1,GR1",
                     U"        JUMP    L", U"        END"});
    p.run();
    const auto m = p.messages();
    ASSERT_FALSE(m.empty());
    EXPECT_EQ(m.back().text, U"Stack Overflow（スタックオーバーフロー）");
    EXPECT_EQ(m.back().title, U"!Error!");
    EXPECT_FALSE(p.host().refreshedBeforeMessage(m.size() - 1));
    EXPECT_EQ(p.gr(1), 98);
    EXPECT_EQ(p.machine().stackSlots[0], 100);
    EXPECT_EQ(p.machine().stackSlots[100], 98);
    EXPECT_EQ(p.machine().stackPointer, p.machine().stackBase - 99);
    // The window still shows the step before the PUSH, except pc and obj.
    EXPECT_EQ(p.shown().registers[1], registerRow(98));
    EXPECT_EQ(p.shown().sp,
              stackPointerCaption(static_cast<std::int16_t>(p.machine().stackBase - 98)));
    EXPECT_EQ(p.shown().obj, U"OBJ-Code:7001 0000");
}

/// A program that pushes `values` values, then runs `last`.
TracedProgram stackProgram(std::u32string_view values, std::u32string_view last) {
    return TracedProgram({U"P       START", U"        LAD     GR1,0", U"L       PUSH    0",
                          U"        LAD     GR1,1,GR1", U"        CPA     GR1,N",
                          U"        JNZ     L", U"        " + std::u32string(last),
                          U"H       JUMP    H", U"S       CALL    S",
                          U"N       DC      " + std::u32string(values), U"        END"});
}

TEST(Stack, ACallOnAFullStackStopsWithTheOverflowMessage) {
    // 98 values, then CALL S makes 99 without a check; S calls itself: there is no slot left.
    TracedProgram p = stackProgram(U"98", U"CALL    S");
    p.run();
    EXPECT_EQ(p.messages().back().text, messages::stackOverflow);
    EXPECT_EQ(p.machine().stackSlots[0], 100);
}

TEST(Stack, RpushWith92ValuesOverflowsAndWith93StopsAtTheLastSlot) {
    TracedProgram full = stackProgram(U"92", U"RPUSH");
    full.run();
    EXPECT_EQ(full.messages().back().text, messages::stackOverflow);
    EXPECT_EQ(full.machine().stackSlots[0], 100);
    TracedProgram beyond = stackProgram(U"93", U"RPUSH");
    beyond.run();
    EXPECT_EQ(beyond.messages().back().text, messages::stackOverflow);
    EXPECT_EQ(beyond.machine().stackSlots[0], 100);
    TracedProgram fits = stackProgram(U"91", U"RPUSH");
    fits.run(400);
    EXPECT_TRUE(fits.session().waiting());
    EXPECT_EQ(fits.machine().stackSlots[0], 99);
    for (const HostEvent& m : fits.messages()) {
        EXPECT_EQ(m.title, U"確認");
    }
}

TEST(Stack, PopOnAnEmptyStackLoadsZeroThenUnderflows) {
    TracedProgram p({U"P       START", U"        LAD     GR1,5", U"        POP     GR1",
                     U"        RET", U"        END"});
    p.run();
    ASSERT_EQ(p.messages().size(), 1u);
    EXPECT_EQ(p.messages()[0].text, U"Stack Underflow(スタックアンダーフロー)");
    EXPECT_FALSE(p.host().refreshedBeforeMessage(0));
    EXPECT_EQ(p.gr(1), 0);
    EXPECT_EQ(p.machine().stackPointer, p.machine().stackBase + 1);
}

struct RpopCase {
    std::u32string_view pushes;
    bool underflow;
    std::int16_t gr1;
};

std::string rpopCaseName(const RpopCase& c) {
    return caseName(std::u32string(c.pushes) + U" pushes");
}

void PrintTo(const RpopCase& c, std::ostream* out) {
    *out << rpopCaseName(c);
}

class Rpop : public ::testing::TestWithParam<RpopCase> {};

TEST_P(Rpop, PopsSevenValuesOrUnderflows) {
    const RpopCase& c = GetParam();
    TracedProgram p({U"P       START", U"        LAD     GR1,1", U"        LAD     GR7,7",
                     U"        LAD     GR3,0", U"        CPA     GR3,N", U"        JZE     R",
                     U"L       PUSH    9", U"        LAD     GR3,1,GR3", U"        CPA     GR3,N",
                     U"        JNZ     L", U"R       RPOP", U"        RET",
                     U"N       DC      " + std::u32string(c.pushes), U"        END"});
    p.run();
    if (c.underflow) {
        EXPECT_EQ(p.messages().back().text, messages::stackUnderflow);
    } else {
        EXPECT_EQ(p.messages().back().text, messages::programEnd);
    }
    EXPECT_EQ(p.gr(1), c.gr1);
    // Pops stop below slot 0: the top index falls to -1 at the lowest, no slot is left.
    EXPECT_GE(p.machine().stackSlots[0], -1);
}

INSTANTIATE_TEST_SUITE_P(StackDepths, Rpop,
                         ::testing::Values(RpopCase{U"7", false, 9}, RpopCase{U"6", true, 0},
                                           RpopCase{U"5", true, 0}, RpopCase{U"4", true, 1},
                                           RpopCase{U"0", true, 1}),
                         [](const auto& info) { return rpopCaseName(info.param); });

TEST(Stack, RpushThenRpopRestoresTheRegisters) {
    TracedProgram p({U"P       START", U"        LAD     GR1,1", U"        LAD     GR4,4",
                     U"        LAD     GR7,7", U"        RPUSH", U"        LAD     GR1,0",
                     U"        LAD     GR4,0", U"        LAD     GR7,0", U"        RPOP",
                     U"        RET", U"        END"});
    p.run();
    EXPECT_EQ(p.session().ending(), TraceEnding::ProgramEnded);
    EXPECT_EQ(p.gr(1), 1);
    EXPECT_EQ(p.gr(4), 4);
    EXPECT_EQ(p.gr(7), 7);
}

TEST(Return, ToAnAddressWithoutALineStopsAndKeepsTheStack) {
    TracedProgram p({U"P       START", U"        PUSH    #0500", U"        RET", U"        END"});
    p.run();
    ASSERT_EQ(p.messages().size(), 1u);
    EXPECT_EQ(p.messages()[0].text, U"RETで、プログラム開始アドレスが見つかりません");
    EXPECT_EQ(p.messages()[0].title, U"!Error!");
    EXPECT_TRUE(p.host().refreshedBeforeMessage(0));
    EXPECT_EQ(p.machine().stackSlots[0], 2);
    EXPECT_EQ(p.machine().stackSlots[2], 0x500);
}

} // namespace
} // namespace casl::test
