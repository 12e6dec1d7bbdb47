#include "assembler/assembly_state.h"
#include "assembly_fixture.h"

#include <gtest/gtest.h>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

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
    // A comment after END stands after END's words: it, too, needs an address.
    const auto room = assembleText(U"P START\r\n LD GR1,=1\r\n RET\r\nD DS 32760\r\n END\r\n");
    EXPECT_EQ(room.result.limitMessage, tooManyDataWordsMessage);
    expectStoppedBy(
        assembleText(U"P START\r\n LD GR1,=1\r\n RET\r\nD DS 32760\r\n END\r\n; end\r\n"),
        addressOverflowMessage);
}

/// The listing line of the `n`th program line; the limit programs have no message lines.
std::u32string listingLine(const test::Assembled& a, int n) {
    const std::u32string& text = a.result.listingText;
    std::size_t begin = 0;
    for (int i = 1; i < n; ++i) {
        begin = text.find(U"\r\n", begin) + 2;
    }
    return text.substr(begin, text.find(U"\r\n", begin) - begin);
}

struct ReachCase {
    const char* name;
    std::u32string text;
    /// Program lines and their listing lines; the limit's message follows the last line.
    std::vector<std::pair<int, std::u32string>> lines;
};

void PrintTo(const ReachCase& c, std::ostream* out) {
    *out << c.name;
}

class LimitListing : public ::testing::TestWithParam<ReachCase> {};

TEST_P(LimitListing, LinesThePassesNeverReachedShowNoAddressOrCode) {
    const auto a = assembleText(GetParam().text);
    ASSERT_FALSE(a.result.limitMessage.empty());
    for (const auto& [n, line] : GetParam().lines) {
        EXPECT_EQ(listingLine(a, n), line) << "line " << n;
    }
    EXPECT_TRUE(endsWith(a.result.listingText, listingLine(a, a.tables->lineCount()) + U"\r\n" +
                                                   a.result.limitMessage + U"\r\n"));
}

INSTANTIATE_TEST_SUITE_P(
    EveryPass, LimitListing,
    ::testing::Values(
        // The intake stops: no pass ran.
        ReachCase{"Intake",
                  program(298, U" NOP", U" END\r\n"),
                  {{1, U"    \t         \tP        START   "},
                   {2, U"    \t         \t         NOP     "},
                   {300, U"    \t         \t         RET     "}}},
        // The address pass stops at END; no code was made.
        ReachCase{"AddressPass",
                  program(0, U"", U"D DS 40000\r\n END\r\n"),
                  {{2, U"0002\t         \t         RET     "},
                   {3, U"0003\t         \tD        DS      40000"},
                   {4, U"    \t         \t         END     "}}},
        // The literal pool is full at line 298: the lines before it are encoded, the literal
        // line has its address but no data word.
        ReachCase{"Encoder",
                  program(295, U" LD GR1,=1", U" LD GR2,=2\r\n END\r\n"),
                  {{2, U"0002\t1010 0253\t         LD      GR1,=1"},
                   {297, U"0250\t8100     \t         RET     "},
                   {298, U"0251\t         \t         LD      GR2,=2"},
                   {299, U"0253\t         \t         DC      1"},
                   {300, U"0254\t         \t         END     "}}},
        // The data words run out in E's list: D has its words, E and the rest do not.
        ReachCase{"DataPass",
                  program(1, U" LD GR1,E", U"D DS 1999\r\nE DC 1,2\r\nF DC 3\r\n END\r\n"),
                  {{2, U"0002\t1010 07D4\t         LD      GR1,E"},
                   {4, U"0005\t0000     \tD        DS      1999"},
                   {5, U"07D4\t         \tE        DC      1,2"},
                   {6, U"07D6\t         \tF        DC      3"}}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Limits, VeryLongLinesAreOrdinaryFindings) {
    const std::u32string label(10000, U'A');
    const auto a = assembleText(U"P START\r\n" + label + U" NOP\r\n RET\r\n END\r\n");
    EXPECT_EQ(a.findings(2), U"2");
    EXPECT_FALSE(a.result.success);
    EXPECT_EQ(a.result.limitMessage, U"");
}

} // namespace
} // namespace casl
