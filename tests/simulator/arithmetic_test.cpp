#include "traced_program.h"

#include <gtest/gtest.h>
#include <ostream>
#include <string>

namespace casl::test {
namespace {

struct FlagCase {
    std::u32string_view instruction; ///< Works on GR1 (= A) and GR2 or B (= B).
    std::u32string_view a;
    std::u32string_view b;
    std::int16_t result;
    int overflowFlag;
    int signZeroState;
};

/// The instruction and the two values: "ADDA_GR1_GR2_32767_1".
std::string flagCaseName(const FlagCase& c) {
    return caseName(std::u32string(c.instruction) + U' ' + std::u32string(c.a) + U' ' +
                    std::u32string(c.b));
}

void PrintTo(const FlagCase& c, std::ostream* out) {
    *out << flagCaseName(c);
}

class Flags : public ::testing::TestWithParam<FlagCase> {};

TEST_P(Flags, ResultAndFlags) {
    const FlagCase& c = GetParam();
    TracedProgram p({U"P       START", U"        LD      GR1,A", U"        LD      GR2,B",
                     U"        " + std::u32string(c.instruction), U"        RET",
                     U"A       DC      " + std::u32string(c.a),
                     U"B       DC      " + std::u32string(c.b), U"        END"});
    p.run();
    EXPECT_EQ(p.gr(1), c.result);
    EXPECT_EQ(p.machine().overflowFlag, c.overflowFlag);
    EXPECT_EQ(p.machine().signZeroState, c.signZeroState);
    EXPECT_EQ(p.session().ending(), TraceEnding::ProgramEnded);
}

INSTANTIATE_TEST_SUITE_P(
    RegisterAndMemoryForms, Flags,
    ::testing::Values(FlagCase{U"ADDA    GR1,GR2", U"32767", U"1", -32768, 1, 2},
                      FlagCase{U"ADDA    GR1,B", U"32767", U"1", -32768, 1, 2},
                      FlagCase{U"ADDA    GR1,GR2", U"-32768", U"-1", 32767, 1, 0},
                      FlagCase{U"SUBA    GR1,B", U"-32768", U"1", 32767, 1, 0},
                      FlagCase{U"SUBA    GR1,GR2", U"5", U"5", 0, 0, 1},
                      FlagCase{U"ADDL    GR1,GR2", U"#FFFF", U"#0001", 0, 1, 1},
                      FlagCase{U"ADDL    GR1,B", U"#FFFF", U"#0001", 0, 1, 1},
                      FlagCase{U"ADDL    GR1,GR2", U"#7FFF", U"1", -32768, 0, 2},
                      FlagCase{U"SUBL    GR1,GR2", U"0", U"1", -1, 1, 2},
                      FlagCase{U"SUBL    GR1,B", U"0", U"1", -1, 1, 2},
                      FlagCase{U"SUBL    GR1,B", U"5", U"3", 2, 0, 0},
                      FlagCase{U"AND     GR1,GR2", U"#F0F0", U"#FF00", -4096, 0, 2},
                      FlagCase{U"AND     GR1,B", U"#F0F0", U"#0F00", 0, 0, 1},
                      FlagCase{U"OR      GR1,B", U"#00F0", U"#0F00", 0x0FF0, 0, 0},
                      FlagCase{U"OR      GR1,GR2", U"#8000", U"1", -32767, 0, 2},
                      FlagCase{U"XOR     GR1,GR2", U"#FFFF", U"#FFFF", 0, 0, 1},
                      FlagCase{U"XOR     GR1,B", U"#FFFF", U"#0001", -2, 0, 2},
                      // The comparisons leave the register alone.
                      FlagCase{U"CPA     GR1,GR2", U"#FFFF", U"#0001", -1, 0, 2},
                      FlagCase{U"CPA     GR1,B", U"#FFFF", U"#0001", -1, 0, 2},
                      FlagCase{U"CPL     GR1,GR2", U"#FFFF", U"#0001", -1, 0, 0},
                      FlagCase{U"CPL     GR1,B", U"#FFFF", U"#0001", -1, 0, 0},
                      FlagCase{U"CPL     GR1,B", U"#0001", U"#FFFF", 1, 0, 2},
                      FlagCase{U"CPA     GR1,B", U"7", U"7", 7, 0, 1},
                      FlagCase{U"CPL     GR1,GR2", U"#8000", U"#7FFF", -32768, 0, 0},
                      FlagCase{U"LD      GR1,GR2", U"1", U"-5", -5, 0, 2},
                      // A decimal DC of 32768–65535 is stored as read: arithmetic takes it
                      // unchanged, LD and the logical instructions as its 16-bit pattern.
                      FlagCase{U"ADDA    GR1,B", U"1", U"65535", 0, 1, 1},
                      FlagCase{U"ADDA    GR1,B", U"1", U"#FFFF", 0, 0, 1},
                      FlagCase{U"LD      GR1,B", U"0", U"65535", -1, 0, 2},
                      FlagCase{U"AND     GR1,B", U"#1234", U"65535", 0x1234, 0, 0},
                      FlagCase{U"CPL     GR1,B", U"#FFFF", U"65535", -1, 0, 1},
                      FlagCase{U"CPA     GR1,B", U"#FFFF", U"65535", -1, 0, 2},
                      FlagCase{U"ADDL    GR1,B", U"1", U"65535", 0, 1, 1}),
    [](const auto& info) { return flagCaseName(info.param); });

TEST(Flags, LogicalInstructionsClearAnEarlierOverflow) {
    TracedProgram p({U"P       START", U"        LD      GR1,A", U"        ADDA    GR1,A",
                     U"        AND     GR1,A", U"        RET", U"A       DC      #7FFF",
                     U"        END"});
    p.run();
    EXPECT_EQ(p.gr(1), 0x7FFE);
    EXPECT_EQ(p.machine().overflowFlag, 0);
    EXPECT_EQ(p.machine().signZeroState, 0);
}

TEST(Lad, ComputesTheAddressWithoutTouchingTheFlags) {
    TracedProgram p({U"P       START", U"        LD      GR3,A", U"        ADDA    GR3,A",
                     U"        LAD     GR1,-1,GR2", U"        LAD     GR4,32767,GR5",
                     U"        RET", U"A       DC      #7FFF", U"        END"});
    p.session().start();
    // Make GR5 = 1 before the second LAD.
    while (p.session().waiting() && p.machine().currentLine != 5) {
        p.session().next();
    }
    p.machine().generalRegisters[5] = 1;
    while (p.session().waiting()) {
        p.session().next();
    }
    EXPECT_EQ(p.gr(1), -1);
    EXPECT_EQ(p.gr(4), -32768);
    EXPECT_EQ(p.machine().overflowFlag, 1);
    EXPECT_EQ(p.machine().signZeroState, 2);
}

TEST(Store, WritesTheFirstDataWordWithTheAddress) {
    TracedProgram p({U"P       START", U"        LAD     GR1,-7", U"        ST      GR1,B",
                     U"        LAD     GR2,1", U"        ST      GR1,B,GR2", U"        RET",
                     U"B       DS      2", U"        END"});
    p.run();
    EXPECT_EQ(p.data(U"B"), -7);
    EXPECT_EQ(p.tables().dataWords[2][dataValueColumn], -7);
}

} // namespace
} // namespace casl::test
