#include "assembler/instruction_table.h"

#include <gtest/gtest.h>

namespace casl {
namespace {

TEST(InstructionTable, HasTheFixedRows) {
    ASSERT_EQ(instructionTable.size(), 36u);
    EXPECT_EQ(instructionTable[row::ld].secondCode, 0x14);
    EXPECT_EQ(instructionTable[row::cpl].firstCode, 0x41);
    EXPECT_EQ(instructionTable[row::cpl].secondCode, 0x45);
    EXPECT_EQ(instructionTable[row::svc].firstCode, 0xF0);
    EXPECT_EQ(instructionTable[row::st].secondCode, noForm);
}

TEST(InstructionTable, LookupIsExactAndCaseSensitive) {
    struct Case {
        std::u32string_view mnemonic;
        int row;
        int firstCode;
    };
    const Case cases[] = {
        {U"NOP", 0, 0x00}, {U"LD", 1, 0x10},    {U"RPOP", 35, 503},  {U"IN", 32, 500},
        {U"OUT", 33, 501}, {U"RPUSH", 34, 502}, {U"START", 30, 400}, {U"END", 31, 401},
        {U"DC", 28, 300},  {U"DS", 29, 301},    {U"JOV", 22, 0x66},  {U"CALL", 25, 0x80},
    };
    for (const Case& c : cases) {
        const int r = findInstruction(c.mnemonic);
        ASSERT_EQ(r, c.row);
        EXPECT_EQ(instructionTable[r].firstCode, c.firstCode);
    }
    for (std::u32string_view unknown : {U"", U"ld", U"Ld", U" LD", U"LD ", U"JMP", U"EXIT"}) {
        EXPECT_EQ(findInstruction(unknown), unknownRow);
    }
}

} // namespace
} // namespace casl
