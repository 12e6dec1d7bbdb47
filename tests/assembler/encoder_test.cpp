#include "assembly_fixture.h"

#include <gtest/gtest.h>

namespace casl {
namespace {

using test::assembleLines;

struct EncodeCase {
    std::u32string_view line;
    std::u32string_view findings;
    int op, r, x, adr;
};

// DATA is at address 2, BUF at 3 and the line under test at 5.
void expectEncoded(const EncodeCase& c) {
    const auto a = assembleLines({U"P START", U"DATA DC 7", U"BUF DS 2", c.line, U" RET", U" END"});
    const std::string name(c.line.begin(), c.line.end());
    ASSERT_EQ(a.address(4), 5) << name;
    EXPECT_EQ(a.findings(4), c.findings) << name;
    EXPECT_EQ(a.code(4, opColumn), c.op) << name;
    EXPECT_EQ(a.code(4, rColumn), c.r) << name;
    EXPECT_EQ(a.code(4, xColumn), c.x) << name;
    EXPECT_EQ(a.code(4, adrColumn), c.adr) << name;
}

TEST(Encoder, RegisterAndAddressForms) {
    const EncodeCase cases[] = {
        {U" LD GR1,GR2", U"", 0x14, 1, 2, 0},      {U" LD GR1,GR2,GR3", U"", 0x14, 1, 2, 0},
        {U" ADDA GR1,GR0", U"", 0x24, 1, 0, 0},    {U" XOR GR7,GR6", U"", 0x36, 7, 6, 0},
        {U" CPL GR0,GR7", U"", 0x45, 0, 7, 0},     {U" LD GR1,DATA,GR2", U"", 0x10, 1, 2, 2},
        {U" CPL GR1,DATA", U"", 0x41, 1, 0, 2},    {U" ST GR3,BUF,GR7", U"", 0x11, 3, 7, 3},
        {U" LAD GR1,-1,GR2", U"", 0x12, 1, 2, -1}, {U" SLA GR1,1,GR2", U"", 0x50, 1, 2, 1},
        {U" SRL GR1,#000F", U"", 0x53, 1, 0, 15},  {U" POP GR4", U"", 0x71, 4, 0, 0},
        {U" PUSH 5,GR3", U"", 0x70, 0, 3, 5},      {U" CALL DATA", U"", 0x80, 0, 0, 2},
        {U" SVC 1", U"", 0xF0, 0, 0, 0},           {U" NOP", U"", 0, 0, 0, 0},
        {U" RPUSH GR1", U"", 502, 0, 0, 0},        {U" RPOP", U"", 503, 0, 0, 0},
        {U" IN BUF,DATA", U"", 500, 2, 0, 3},      {U" OUT DATA,BUF", U"", 501, 3, 0, 2},
    };
    for (const EncodeCase& c : cases) {
        expectEncoded(c);
    }
}

TEST(Encoder, AddressOperands) {
    const EncodeCase cases[] = {
        {U" LD GR1,65535", U"", 0x10, 1, 0, -1},
        {U" LD GR1,32768", U"", 0x10, 1, 0, -32768},
        {U" LD GR1,-32768", U"", 0x10, 1, 0, -32768},
        {U" LD GR1,0", U"", 0x10, 1, 0, 0},
        {U" LD GR1,00", U"", 0x10, 1, 0, 0},
        {U" LD GR1,+7", U"", 0x10, 1, 0, 7},
        {U" LD GR1,65536", U"8", 0x10, 1, 0, 0},
        {U" LD GR1,-32769", U"8", 0x10, 1, 0, 0},
        {U" LD GR1,+0", U"8", 0x10, 1, 0, 0},
        {U" LD GR1,-0", U"8", 0x10, 1, 0, 0},
        {U" LD GR1,#00FF", U"", 0x10, 1, 0, 255},
        {U" LD GR1,#FFFF", U"", 0x10, 1, 0, -1},
        // A bad # operand still stores what it read.
        {U" LD GR1,#FF", U"8", 0x10, 1, 0, 255},
        {U" LD GR1,#00ff", U"8", 0x10, 1, 0, 0},
        {U" LD GR1,1.5", U"9", 0x10, 1, 0, 0},
        {U" ST GR1,GR2", U"9", 0x11, 1, 0, 0},
        // An empty operand equals the empty label of the last unlabelled line (END at 8).
        {U" LAD GR1", U"", 0x12, 1, 0, 8},
        {U" LD GR1", U"8", 0x10, 1, 0, 8},
        {U" SLA GR1", U"8", 0x50, 1, 0, 8},
        {U" START DATA", U"", 400, 0, 0, 2},
    };
    for (const EncodeCase& c : cases) {
        expectEncoded(c);
    }
}

TEST(Encoder, JumpOperands) {
    const EncodeCase cases[] = {
        {U" JUMP 100", U"", 0x64, 0, 0, 100},   {U" JUMP -32768", U"", 0x64, 0, 0, -32768},
        {U" JMI DATA,GR1", U"", 0x61, 0, 1, 2}, {U" JOV BUF", U"", 0x66, 0, 0, 3},
        {U" JUMP #0064", U"9", 0x64, 0, 0, 0},  {U" JUMP =5", U"9", 0x64, 0, 0, 0},
        {U" JUMP", U"9", 0x64, 0, 0, 0},        {U" JUMP NOWHERE", U"9", 0x64, 0, 0, 0},
        {U" JUMP 32768", U"8", 0x64, 0, 0, 0},  {U" JUMP -32769", U"8", 0x64, 0, 0, 0},
    };
    for (const EncodeCase& c : cases) {
        expectEncoded(c);
    }
}

TEST(Encoder, RegisterFindings) {
    const EncodeCase cases[] = {
        {U" LD GR1,DATA,GR0", U"6", 0x10, 1, 0, 2},
        {U" LD GR1,DATA,GR8", U"6", 0x10, 1, 0, 2},
        {U" LD GR1,DATA,gr1", U"6", 0x10, 1, 0, 2},
        {U" JUMP DATA,GR0", U"6", 0x64, 0, 0, 2},
        {U" JUMP DATA,ABC", U"5", 0x64, 0, 0, 2},
        {U" PUSH 0,GR0", U"6", 0x70, 0, 0, 0},
        {U" SVC 1,X", U"5", 0xF0, 0, 0, 0},
        {U" POP GR8", U"5", 0x71, 0, 0, 0},
        {U" POP", U"5", 0x71, 0, 0, 0},
        {U" LD GR8,GR1", U"5", 0x14, 0, 1, 0},
        {U" LD GR9,NOWHERE", U"59", 0x10, 0, 0, 0},
        {U" LD GR9,#12", U"8", 0x10, 0, 0, 0x12},
        {U" LD GR9,DATA,GR0", U"56", 0x10, 0, 0, 2},
        {U" IN", U"8", 500, 8, 0, 8},
    };
    for (const EncodeCase& c : cases) {
        expectEncoded(c);
    }
}

TEST(Encoder, LinesWithFindingsAreNotEncoded) {
    const auto a = assembleLines({U"P START", U"X LD GR1,GR2", U"X RET", U" END"});
    EXPECT_EQ(a.findings(2), U"1");
    EXPECT_EQ(a.code(2, opColumn), 0);
    EXPECT_EQ(a.code(3, opColumn), 0x81);
}

// The register form follows from operand 2 alone, also where line addresses cannot tell it.
TEST(Encoder, RegisterFormOnTheLastLineAndBeforeStart) {
    const auto a = assembleLines({U" LD GR1,GR2", U"P START", U" RET", U" ADDA GR3,GR4"});
    EXPECT_EQ(a.code(1, opColumn), 0x14);
    EXPECT_EQ(a.code(1, xColumn), 2);
    EXPECT_EQ(a.code(4, opColumn), 0x24);
    EXPECT_EQ(a.code(4, rColumn), 3);
    EXPECT_EQ(a.code(4, xColumn), 4);
    EXPECT_TRUE(a.result.success);
}

TEST(Encoder, JumpToTheLastOfEqualLabels) {
    const auto a = assembleLines({U"P START", U" JUMP L", U"L NOP", U"L RET", U" END"});
    EXPECT_EQ(a.code(2, adrColumn), 5);
}

} // namespace
} // namespace casl
