#include "assembly_fixture.h"

#include <gtest/gtest.h>
#include <vector>

namespace casl {
namespace {

using test::assembleLines;

std::vector<int> addresses(const test::Assembled& a) {
    std::vector<int> result;
    for (int n = 1; n < a.tables->lineCounter; ++n) {
        result.push_back(a.address(n));
    }
    return result;
}

TEST(AddressPass, WordLengthsByInstruction) {
    struct Case {
        std::u32string_view line;
        int length;
    };
    const Case cases[] = {
        {U" NOP", 1},         {U" POP GR1", 1},    {U" RET", 1},          {U" LD GR1,GR2", 1},
        {U" LD GR1,DATA", 2}, {U" LD GR1,gr2", 2}, {U" CPL GR1,GR7", 1},  {U" ADDA GR1,GR8", 2},
        {U" ST GR1,GR2", 2},  {U" LAD GR1,1", 2},  {U" SLA GR1,1", 2},    {U" JUMP 0", 2},
        {U" CALL 0", 2},      {U" SVC 1", 2},      {U" IN DATA,DATA", 2}, {U" OUT DATA,DATA", 2},
        {U" RPUSH", 2},       {U" RPOP", 2},       {U" END", 2},          {U" START", 2},
        {U" DS 3", 3},        {U" DS 0", 0},       {U" DC 1,2,'ABC'", 5}, {U" LDX GR1", 2},
        {U"LABEL", 2},        {U"; comment", 0},   {U"   ", 0},
    };
    for (const Case& c : cases) {
        const auto a = assembleLines({U" NOP", c.line, U"DATA DC 0"});
        EXPECT_EQ(a.address(3) - a.address(2), c.length)
            << std::string(c.line.begin(), c.line.end());
    }
}

TEST(AddressPass, FirstStartRestartsTheLocationCounter) {
    const auto a =
        assembleLines({U" NOP", U" LD GR1,GR2", U"P START", U" RET", U"Q START", U" RET", U" END"});
    EXPECT_EQ(addresses(a), (std::vector<int>{0, 1, 0, 2, 3, 5, 6}));
}

TEST(AddressPass, WithoutStartTheProgramBeginsAtZero) {
    const auto a = assembleLines({U" LD GR1,DATA", U"; note", U" RET", U"DATA DC 1"});
    EXPECT_EQ(addresses(a), (std::vector<int>{0, 2, 2, 3}));
    EXPECT_EQ(a.findings(2), U"0");
}

TEST(AddressPass, FindingsOfTheAddressPass) {
    struct Case {
        std::u32string_view line;
        std::u32string_view findings;
    };
    const Case cases[] = {
        {U" LDX GR1", U"7"}, {U"ONLY", U"7"},  {U" ld GR1,GR2", U"7"}, {U" DS 0", U""},
        {U" DS 00", U""},    {U" DS X", U"8"}, {U" DS", U"8"},         {U" DS +0", U"8"},
        {U" DS -3", U"8"},   {U"; c", U"0"},   {U"  \t ", U"0"},
    };
    for (const Case& c : cases) {
        const auto a = assembleLines({U"P START", c.line, U" RET", U" END"});
        EXPECT_EQ(a.findings(2), c.findings) << std::string(c.line.begin(), c.line.end());
    }
}

TEST(AddressPass, NegativeDsDoesNotRunAddressesBackwards) {
    const auto a = assembleLines({U"P START", U"D DS -3", U"E DC 1", U" END"});
    EXPECT_EQ(addresses(a), (std::vector<int>{0, 2, 2, 3}));
    EXPECT_EQ(a.tables->dataWordCounter, 2);
}

TEST(LabelChecks, DuplicatesAreCountedOnTheEarlierLines) {
    const auto a = assembleLines({U"P START", U"LOOP NOP", U"LOOP NOP", U"LOOP NOP", U"X NOP",
                                  U" RET", U"LOOP DC 1", U" END"});
    EXPECT_EQ(a.findings(2), U"111");
    EXPECT_EQ(a.findings(3), U"11");
    EXPECT_EQ(a.findings(4), U"1");
    EXPECT_EQ(a.findings(5), U"");
    EXPECT_EQ(a.findings(7), U"");
    EXPECT_EQ(a.result.errorCount, 3);
}

TEST(LabelChecks, LengthAndFirstCharacter) {
    struct Case {
        std::u32string_view label;
        std::u32string_view findings;
    };
    const Case cases[] = {
        {U"ABCDEFGH", U""}, {U"ABCDEFGHI", U"2"}, {U"1ST", U"3"}, {U"loop", U"3"},
        {U"zED", U"3"},     {U"Loop", U""},       {U"_X", U""},   {U"@A1", U""},
        {U"X1", U""},       {U"9ABCDEFGH", U"3"}, {U"あ", U""},
    };
    for (const Case& c : cases) {
        const auto a =
            assembleLines({U"P START", std::u32string(c.label) + U" NOP", U" RET", U" END"});
        EXPECT_EQ(a.findings(2), c.findings) << std::string(c.label.begin(), c.label.end());
    }
}

TEST(LabelChecks, LabelCharacterReplacesOtherFindings) {
    const auto a =
        assembleLines({U"P START", U"1ST LD GR9,NOWHERE", U"loop LOOPX", U" RET", U" END"});
    EXPECT_EQ(a.findings(2), U"3");
    EXPECT_EQ(a.findings(3), U"3");
}

} // namespace
} // namespace casl
