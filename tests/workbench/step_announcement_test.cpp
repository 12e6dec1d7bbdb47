// What a screen reader hears after each step: the marked line and what the step changed, as the
// displays show them.
#include "session_fixture.h"
#include "simulator/display_texts.h"
#include "workbench/step_announcement.h"

#include <gtest/gtest.h>

namespace casl::test {
namespace {

DisplayTexts someDisplays() {
    DisplayTexts texts = initialDisplayTexts();
    for (std::size_t i = 0; i < texts.registers.size(); ++i) {
        texts.registers[i] = registerRow(0);
    }
    texts.registers[1] = registerRow(12);
    texts.registers[2] = registerRow(-1);
    texts.pc = programRegisterCaption(6);
    texts.sp = stackPointerCaption(-1);
    texts.fr = flagsCaption(0, 2);
    texts.listing = U"\tP\tSTART\r\n>>>>>> \tLOOP\tLD\tGR1,A\t; 合計\r\n\tRET\r\n";
    texts.dataArea = U"Label Address   Value\r\n--------------------------\r\n"
                     U"A         0009   000C (12)\r\n"
                     U"B         000A   0041 (65)A\r\n";
    texts.stackArea = U"Address Value\r\n--------------\r\nFFFF\t0003\r\n";
    return texts;
}

TEST(StepAnnouncement, ReadsTheLineAndEveryChangeWithoutTheBinaryDigits) {
    DisplayChanges changes;
    changes.registers[1] = true;
    changes.registers[2] = true;
    changes.programRegister = true;
    changes.stackPointer = true;
    changes.flagSpans = {{5, 4}};
    changes.dataRows = {3};
    changes.stackRows = {2};
    EXPECT_EQ(utf8(stepAnnouncement(someDisplays(), changes, 2)),
              "2行目 LOOP LD GR1,A ; 合計。変化: GR1 000C (12)、GR2 FFFF (-1)、PR:0006、"
              "SP:FFFF、SF:1、Data Area B 000A 0041 (65)A、Stack Area FFFF 0003");
}

TEST(StepAnnouncement, SaysWhenNothingChanged) {
    EXPECT_EQ(utf8(stepAnnouncement(someDisplays(), DisplayChanges{}, 3)), "3行目 RET。変化なし");
    // A line the listing does not hold is left out.
    EXPECT_EQ(utf8(stepAnnouncement(someDisplays(), DisplayChanges{}, 0)), "変化なし");
}

TEST(StepAnnouncement, CountsTheRowsBeyondItsLimit) {
    DisplayTexts texts = someDisplays();
    DisplayChanges changes;
    for (int row = 0; row < announcedRowsLimit + 3; ++row) {
        texts.dataArea += U"X         0010   0000 (0)\r\n";
        changes.dataRows.push_back(4 + row);
    }
    const std::string said = utf8(stepAnnouncement(texts, changes, 0));
    EXPECT_EQ(said.substr(said.size() - std::string("Data Area ほか3行").size()),
              "Data Area ほか3行");
}

TEST(StepAnnouncement, FollowsTheRunInTheSession) {
    Session s;
    s.type("P\tSTART\n\tLD\tGR1,A\n\tST\tGR1,B\n\tRET\nA\tDC\t12\nB\tDS\t1\n\tEND\n");
    s.assemble();
    EXPECT_EQ(utf8(s.view().announcement), "");
    s.startTrace();
    ASSERT_TRUE(s.workbench.session()->waiting());
    const std::string first = utf8(s.view().announcement);
    EXPECT_EQ(first.rfind("1行目 P START。", 0), 0U) << first;
    s.workbench.next();
    s.render();
    EXPECT_EQ(utf8(s.view().announcement), "2行目 LD GR1,A。変化: GR1 000C (12)、PR:0004");
    s.workbench.next();
    s.render();
    EXPECT_EQ(utf8(s.view().announcement),
              "3行目 ST GR1,B。変化: PR:0006、Data Area B 0008 000C (12)");
    // 戻る says where the run stands again, and what going back undid.
    s.workbench.stepBack();
    s.render();
    EXPECT_EQ(utf8(s.view().announcement),
              "2行目 LD GR1,A。変化: PR:0004、Data Area B 0008 0000 (0)");
    s.workbench.end();
    s.render();
    EXPECT_EQ(utf8(s.view().announcement), "トレースが終わりました");
    // A new assembly says nothing of the old run.
    s.assemble();
    EXPECT_EQ(utf8(s.view().announcement), "");
}

} // namespace
} // namespace casl::test
