#include "simulator/display_texts.h"
#include "traced_program.h"

#include <gtest/gtest.h>
#include <memory>

namespace casl::test {
namespace {

TEST(RegisterRow, BinaryHexadecimalAndDecimal) {
    EXPECT_EQ(registerRow(5), U"[0000 0000 0000 0101] 0005 (     5)");
    EXPECT_EQ(registerRow(-1), U"[1111 1111 1111 1111] FFFF (    -1)");
    EXPECT_EQ(registerRow(-32768), U"[1000 0000 0000 0000] 8000 (-32768)");
    EXPECT_EQ(registerRow(32767), U"[0111 1111 1111 1111] 7FFF ( 32767)");
    EXPECT_EQ(registerRow(0), U"[0000 0000 0000 0000] 0000 (     0)");
    EXPECT_EQ(registerRow(0).size(), 35u);
}

TEST(Captions, ObjectCodeFlagsProgramRegisterAndStackPointer) {
    EXPECT_EQ(objectCodeCaption({0, 0x10, 1, 2, 0x10}), U"OBJ-Code:1012 0010");
    EXPECT_EQ(objectCodeCaption({0, 0x14, 1, 2, 0}), U"OBJ-Code:1412 0000");
    EXPECT_EQ(objectCodeCaption({0, 0x00, 0, 0, 0}), U"OBJ-Code:0000 0000");
    EXPECT_EQ(objectCodeCaption({0, 0x12, 1, 0, -1}), U"OBJ-Code:1210 FFFF");
    EXPECT_EQ(blankObjectCodeCaption(), U"OBJ-Code:         ");
    EXPECT_EQ(flagsCaption(0, 0), U"OF:0 SF:0 ZF:0");
    EXPECT_EQ(flagsCaption(1, 1), U"OF:1 SF:0 ZF:1");
    EXPECT_EQ(flagsCaption(0, 2), U"OF:0 SF:1 ZF:0");
    EXPECT_EQ(programRegisterCaption(0x2A), U"PR:002A");
    EXPECT_EQ(programRegisterCaption(-2), U"PR:FFFE");
    EXPECT_EQ(stackPointerCaption(0x1234), U"SP:1234");
}

TEST(StackArea, RowsFromTheTopDownToSlotOne) {
    std::array<std::int32_t, stackSlotCount> slots{};
    slots[0] = 1;
    EXPECT_EQ(stackAreaText(0x35, slots.data(), 1),
              U"Address Value\r\n--------------\r\n0035\t0000\r\n");
    slots[0] = 3;
    slots[2] = 0x1A;
    slots[3] = -1;
    EXPECT_EQ(stackAreaText(0x1000, slots.data(), 3), U"Address Value\r\n--------------\r\n"
                                                      U"0FFE\tFFFFFFFF\r\n0FFF\t001A\r\n"
                                                      U"1000\t0000\r\n");
}

std::unique_ptr<ProgramTables> dataTables(
    std::initializer_list<std::tuple<std::u32string, int, std::int32_t, std::int32_t>> rows) {
    auto t = std::make_unique<ProgramTables>();
    for (const auto& [label, mark, address, value] : rows) {
        t->dataLabel[static_cast<std::size_t>(t->dataWordCounter)] = label;
        t->dataWords[static_cast<std::size_t>(t->dataWordCounter)] = {mark, address, value};
        ++t->dataWordCounter;
    }
    return t;
}

const std::u32string dataHeader = U"Label Address   Value\r\n--------------------------\r\n";

TEST(DataArea, RowsWithLabelsValuesAndCharacters) {
    const auto t = dataTables({{U"DATA", 0, 0x10, 65},
                               {U"", 0, 0x11, -1},
                               {U"", 0, 0x12, 200},
                               {U"", 0, 0x13, 128},
                               {U"BIG", 0, 0x14, 65535},
                               {U"", 0, 0x15, 0x12345},
                               {U"", 0, 0x16, 209},
                               {U"", 0, 0x17, 210}});
    EXPECT_EQ(dataAreaText(*t, false), dataHeader + U"DATA      0010   0041 (65)A\r\n"
                                                    U"          0011   FFFF (-1)\r\n"
                                                    U"          0012   00C8 (200)\uFF88\r\n"
                                                    U"          0013   0080 (128)\r\n"
                                                    U"BIG       0014   FFFF (65535)\r\n"
                                                    U"          0015   2345 (74565)\r\n"
                                                    U"          0016   00D1 (209)\uFF91\r\n"
                                                    U"          0017   00D2 (210)\r\n");
    EXPECT_EQ(dataAreaText(ProgramTables{}, false), dataHeader);
}

TEST(DataArea, SimpleDisplayFoldsTheLaterWordsOfAnArea) {
    std::initializer_list<std::tuple<std::u32string, int, std::int32_t, std::int32_t>> rows = {
        {U"A", 0, 1, 0}, {U"", 1, 2, 0}, {U"", 10, 0, 0}, {U"", 1, 3, 0}, {U"B", 0, 4, 7}};
    const auto t = dataTables(rows);
    EXPECT_EQ(dataAreaText(*t, true), dataHeader + U"A         0001   0000 (0)\r\n\t:\r\n"
                                                   U"B         0004   0007 (7)\r\n");
    // Unfolded, the placeholder of an empty area shows the word after it.
    EXPECT_EQ(dataAreaText(*t, false), dataHeader + U"A         0001   0000 (0)\r\n"
                                                    U"          0002   0000 (0)\r\n"
                                                    U"          0003   0000 (0)\r\n"
                                                    U"          0003   0000 (0)\r\n"
                                                    U"B         0004   0007 (7)\r\n");
}

TEST(DataArea, ADs30AreaShowsTwentyWordsThenOneMark) {
    TracedProgram p({U"P       START", U"        RET", U"AREA    DS      30", U"        END"},
                    TraceOptions{0, true});
    p.run();
    const std::u32string& dump = p.shown().dataArea;
    EXPECT_NE(dump.find(U"          0016   0000 (0)\r\n\t:\r\n"), std::u32string::npos);
    EXPECT_EQ(dump.find(U"0017   "), std::u32string::npos);
    std::size_t lines = 0;
    for (char32_t c : dump) {
        lines += c == U'\n' ? 1 : 0;
    }
    EXPECT_EQ(lines, 2u + 20u + 1u);
}

TEST(MarkedListing, MarksOneLineAndKeepsTheFinalEmptyLine) {
    const MarkedListing listing(U"P         START   \r\n          RET     \r\n\r\n");
    EXPECT_EQ(listing.text(2), U"\tP         START   \r\n>>>>>> \t          RET     \r\n\t\r\n");
    EXPECT_EQ(listing.text(0), U"\tP         START   \r\n\t          RET     \r\n\t\r\n");
    EXPECT_EQ(listing.line(1), U">>>>>> \tP         START   ");
    EXPECT_EQ(listing.line(0), U"");
    EXPECT_EQ(listing.line(9), U"");
}

TEST(MarkedListing, ThePrefixBeforeTheProgramText) {
    const MarkedListing listing(U"P         START   \r\n          RET     \r\n\r\n");
    EXPECT_EQ(markedListingPrefixLength(listing.line(1)), 8u);
    EXPECT_EQ(markedListingPrefixLength(U"\tP         START   "), 1u);
    // A program line that itself begins with the mark is program text after its TAB.
    EXPECT_EQ(markedListingPrefixLength(U"\t>>>>>> \tX"), 1u);
    EXPECT_EQ(markedListingPrefixLength(U">>>>>> X"), 0u);
    EXPECT_EQ(markedListingPrefixLength(U""), 0u);
}

TEST(InitialTexts, TheWindowsStartUpCaptions) {
    const DisplayTexts t = initialDisplayTexts();
    EXPECT_EQ(t.registers[7], std::u32string(35, U' '));
    EXPECT_EQ(t.fr, U"OF:  SF:  ZF: ");
    EXPECT_EQ(t.pc, U"PR:    ");
    EXPECT_EQ(t.sp, U"SP:    ");
    EXPECT_EQ(t.obj, U"OBJ-Code:         ");
}

} // namespace
} // namespace casl::test
