#include "assembler/assembly_state.h"
#include "assembly_fixture.h"

#include <gtest/gtest.h>

namespace casl {
namespace {

using test::assembleText;

/// START, `body` lines of `line`, RET, then `tail`.
std::u32string program(int body, std::u32string_view line, std::u32string_view tail) {
    std::u32string text = U"P START\r\n";
    for (int i = 0; i < body; ++i) {
        text.append(line);
        text.append(U"\r\n");
    }
    text.append(U" RET\r\n");
    text.append(tail);
    return text;
}

bool endsWith(const std::u32string& text, std::u32string_view tail) {
    return text.size() >= tail.size() && text.substr(text.size() - tail.size()) == tail;
}

void expectStoppedBy(const test::Assembled& a, std::u32string_view message) {
    EXPECT_FALSE(a.result.success);
    EXPECT_TRUE(a.result.showListing);
    EXPECT_GE(a.result.errorCount, 1);
    EXPECT_EQ(a.result.limitMessage, message);
    EXPECT_TRUE(endsWith(a.result.listingText, std::u32string(message) + U"\r\n"));
    EXPECT_EQ(a.result.infoText, U"");
}

TEST(Limits, ThreeHundredLinesFitAndOneMoreStops) {
    const auto fits = assembleText(program(297, U" NOP", U" END\r\n"));
    EXPECT_TRUE(fits.result.success);
    EXPECT_EQ(fits.tables->lineCounter, 301);

    const auto over = assembleText(program(298, U" NOP", U" END\r\n"));
    expectStoppedBy(over, tooManyLinesMessage);
    EXPECT_EQ(over.tables->lineCounter, 301);
    // The editor keeps the whole program, also the line the tables have no room for.
    EXPECT_TRUE(endsWith(over.result.editorText, U" RET\r\n END\r\n"));
}

TEST(Limits, LiteralLinesCountAsProgramLines) {
    const auto fits = assembleText(program(296, U" LD GR1,=1", U" END\r\n"));
    EXPECT_TRUE(fits.result.success);
    EXPECT_EQ(fits.tables->lineCounter, 301);

    const auto over = assembleText(program(296, U" LD GR1,=1", U" LD GR1,=2\r\n END\r\n"));
    expectStoppedBy(over, tooManyLinesMessage);
}

TEST(Limits, TwoThousandDataWordsFitAndOneMoreStops) {
    const auto fits = assembleText(program(0, U"", U"D DS 1999\r\nE DC 1\r\n END\r\n"));
    EXPECT_TRUE(fits.result.success);
    EXPECT_EQ(fits.tables->dataWordCounter, 2001);

    const auto over = assembleText(program(0, U"", U"D DS 1999\r\nE DC 1,2\r\n END\r\n"));
    expectStoppedBy(over, tooManyDataWordsMessage);
    EXPECT_EQ(over.tables->dataWordCounter, 2001);

    const auto area = assembleText(program(0, U"", U"D DS 2001\r\n END\r\n"));
    expectStoppedBy(area, tooManyDataWordsMessage);
}

TEST(Limits, LocationCounterPastTheHighestAddressStops) {
    const auto fits = assembleText(program(0, U"", U"D DS 32763\r\n END\r\n"));
    EXPECT_EQ(fits.result.limitMessage, tooManyDataWordsMessage);
    EXPECT_EQ(fits.address(4), 32766);

    expectStoppedBy(assembleText(program(0, U"", U"D DS 32764\r\n END\r\n")),
                    addressOverflowMessage);
    expectStoppedBy(assembleText(program(0, U"", U"D DS 40000\r\n")), addressOverflowMessage);
    expectStoppedBy(assembleText(program(0, U"", U"D DS 99999999999999999999\r\n")),
                    addressOverflowMessage);
}

TEST(Limits, ALiteralThatWouldPushEndPastTheHighestAddressStops) {
    const auto a = assembleText(U"P START\r\n LD GR1,=1\r\n RET\r\nD DS 32761\r\n END\r\n");
    expectStoppedBy(a, addressOverflowMessage);
}

TEST(Limits, VeryLongLinesAreOrdinaryFindings) {
    const std::u32string label(10000, U'A');
    const auto a = assembleText(U"P START\r\n" + label + U" NOP\r\n RET\r\n END\r\n");
    EXPECT_EQ(a.findings(2), U"2");
    EXPECT_FALSE(a.result.success);
    EXPECT_EQ(a.result.limitMessage, U"");
}

} // namespace
} // namespace casl
