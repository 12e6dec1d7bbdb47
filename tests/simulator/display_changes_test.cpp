// What a step changed, as the front ends colour it.
#include "simulator/display_changes.h"
#include "traced_program.h"

#include <gtest/gtest.h>

namespace casl::test {
namespace {

/// The changes between consecutive waits of a single-stepped program.
std::vector<DisplayChanges> changesOfEveryStep(std::initializer_list<std::u32string_view> lines) {
    TracedProgram p(lines);
    p.run();
    std::vector<DisplayChanges> changes;
    const auto& waits = p.host().waits;
    for (std::size_t i = 1; i < waits.size(); ++i) {
        changes.push_back(displayChanges(waits[i - 1], waits[i]));
    }
    return changes;
}

TEST(DisplayChanges, ARegisterLoadMarksItsRowTheFlagsThatMovedAndPr) {
    const auto c =
        changesOfEveryStep({U"P       START", U"        LD      GR1,M", U"        LD      GR2,M",
                            U"        RET", U"M       DC      -1", U"        END"});
    ASSERT_EQ(c.size(), 2u);
    EXPECT_TRUE(c[0].registers[1]);
    EXPECT_FALSE(c[0].registers[0]);
    EXPECT_FALSE(c[0].registers[2]);
    EXPECT_TRUE(c[0].programRegister);
    EXPECT_FALSE(c[0].stackPointer);
    // START left ZF at 0 and SF at 0; loading -1 sets SF only.
    EXPECT_TRUE(c[0].signFlag);
    EXPECT_FALSE(c[0].zeroFlag);
    EXPECT_FALSE(c[0].overflowFlag);
    EXPECT_TRUE(c[0].dataRows.empty());
    // The second load changes GR2 only; SF stays 1.
    EXPECT_TRUE(c[1].registers[2]);
    EXPECT_FALSE(c[1].registers[1]);
    EXPECT_FALSE(c[1].signFlag);
}

TEST(DisplayChanges, AStoreMarksTheDataRowOfTheWordItWrote) {
    const auto c = changesOfEveryStep({U"P       START", U"        LAD     GR1,7",
                                       U"        ST      GR1,B", U"        RET",
                                       U"A       DC      1", U"B       DC      2", U"        END"});
    ASSERT_EQ(c.size(), 2u);
    EXPECT_TRUE(c[0].dataRows.empty());
    // Two header lines, then A, then B.
    EXPECT_EQ(c[1].dataRows, std::vector<int>{3});
    EXPECT_FALSE(c[1].registers[1]);
}

TEST(DisplayChanges, APushMarksTheNewTopAndAPopOnlySp) {
    const auto c = changesOfEveryStep({U"P       START", U"        PUSH    5",
                                       U"        POP     GR1", U"        RET", U"        END"});
    ASSERT_EQ(c.size(), 2u);
    EXPECT_TRUE(c[0].stackPointer);
    EXPECT_EQ(c[0].stackRows, std::vector<int>{2});
    EXPECT_TRUE(c[1].stackPointer);
    EXPECT_TRUE(c[1].stackRows.empty());
    EXPECT_TRUE(c[1].registers[1]);
}

TEST(DisplayChanges, NothingChangedMarksNothing) {
    TracedProgram p({U"P       START", U"        RET", U"        END"});
    p.run();
    ASSERT_FALSE(p.host().waits.empty());
    EXPECT_EQ(displayChanges(p.host().waits[0], p.host().waits[0]), DisplayChanges{});
}

TEST(DisplayChanges, ADumpWhoseLayoutChangedMarksNoRow) {
    DisplayTexts before;
    DisplayTexts after;
    before.dataArea = U"h\r\nh\r\nA\r\nB\r\n";
    after.dataArea = U"h\r\nh\r\nA\r\n\t:\r\nC\r\n";
    EXPECT_TRUE(displayChanges(before, after).dataRows.empty());
}

} // namespace
} // namespace casl::test
