#include "assembler/constants.h"
#include "assembly_fixture.h"

#include <gtest/gtest.h>
#include <vector>

namespace casl {
namespace {

using test::assembleLines;

TEST(ConvertHex, ReadsFourDigitsAndFlagsEverythingElse) {
    struct Case {
        std::u32string_view text;
        int value;
        bool bad;
    };
    const Case cases[] = {
        {U"#FFFF", -1, false},  {U"#8000", -32768, false}, {U"#7FFF", 32767, false},
        {U"#00FF", 255, false}, {U"#0000", 0, false},      {U"#FF", 255, true},
        {U"#ABC", 0xABC, true}, {U"#F", 15, true},         {U"#00ff", 0, true},
        {U"#", 0, true},        {U"#12345", 0, true},      {U"#12G4", 0x1204, true},
    };
    for (const Case& c : cases) {
        const HexValue hex = convertHex(c.text);
        EXPECT_EQ(hex.bad, c.bad) << std::string(c.text.begin(), c.text.end());
        if (c.text.size() >= 2 && c.text.size() <= 5) {
            EXPECT_EQ(hex.value, c.value) << std::string(c.text.begin(), c.text.end());
        }
    }
}

std::vector<int> dataValues(const test::Assembled& a) {
    std::vector<int> values;
    for (int w = 1; w < a.tables->dataWordCounter; ++w) {
        values.push_back(a.tables->dataWords[w][dataValueColumn]);
    }
    return values;
}

TEST(DcScanner, TurnsItemsIntoWords) {
    struct Case {
        std::u32string_view line;
        std::vector<int> values;
        std::u32string_view findings;
    };
    const Case cases[] = {
        {U"D DC 'ABC'", {0x41, 0x42, 0x43}, U""},
        {U"D DC 'IT''S'", {'I', 'T', '\'', 'S'}, U""},
        {U"D DC 1,#FFFF,-1,LAB", {1, -1, -1, 6}, U""},
        {U"D DC 65535", {65535}, U""},
        {U"D DC #FFFF", {-1}, U""},
        {U"D DC 'AB',5", {0x41, 0x42, 5}, U""},
        {U"D DC 'A B'", {0x41, 0x20, 0x42}, U""},
        {U"D DC 'あｱ'", {0x82A0 - 65536, 0xB1}, U""},
        {U"D DC -32768,0,00", {-32768, 0, 0}, U""},
        {U"D DC 1,2 ;note", {1, 2}, U""},
        {U"D DC #FF", {255}, U"8"},
        {U"D DC #00ff", {0}, U"8"},
        {U"D DC +0", {0}, U"8"},
        {U"D DC 65536", {65536}, U"8"},
        {U"D DC -32769", {-32769}, U"8"},
        // A missing label is found by both passes.
        {U"D DC NOWHERE", {}, U"99"},
        {U"D DC 'OPEN", {}, U"99"},
        {U"D DC NOWHERE,#12", {18}, U"8"},
        // A DC without words would alias the next line's address.
        {U"D DC", {}, U"8"},
        {U"D DC ''", {}, U"8"},
        {U"D DC '😀'", {0}, U"8"},
    };
    for (const Case& c : cases) {
        const auto a = assembleLines({U"P START", c.line, U"LAB RET", U" END"});
        EXPECT_EQ(a.findings(2), c.findings) << std::string(c.line.begin(), c.line.end());
        EXPECT_EQ(dataValues(a), c.values) << std::string(c.line.begin(), c.line.end());
    }
}

TEST(DcScanner, WordsTakeConsecutiveAddressesAndTheLabelMarksTheFirst) {
    const auto a = assembleLines({U"P START", U" LAD GR1,0", U" LD GR1,GR2", U" POP GR1", U" RET",
                                  U" DS 9", U"D DC 'ABC'", U"E DC 9", U" END"});
    ASSERT_EQ(a.address(7), 0x10);
    const auto& t = *a.tables;
    ASSERT_EQ(t.dataWordCounter, 14);
    for (int w = 10; w <= 12; ++w) {
        EXPECT_EQ(t.dataWords[w][dataAddressColumn], 0x10 + (w - 10));
    }
    EXPECT_EQ(t.dataLabel[10], U"D");
    EXPECT_EQ(t.dataLabel[11], U"");
    EXPECT_EQ(t.dataLabel[12], U"");
    EXPECT_EQ(t.dataLabel[13], U"E");
    EXPECT_EQ(t.dataWords[13][dataAddressColumn], 0x13);
}

} // namespace
} // namespace casl
