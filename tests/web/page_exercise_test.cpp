// The exercise as the page receives it: kinds by name, texts in UTF-8, every list kept in order.
#include "web/binding/page_exercise.h"
#include "web/binding/page_view.h"

#include <gtest/gtest.h>

namespace casl::web {
namespace {

TEST(PageExercise, CarriesTheStatementCasesAndRunInUtf8) {
    ExerciseView view;
    view.open = true;
    view.revision = 7;
    view.name = U"reverse";
    view.title = U"逆順";
    using Kind = StatementBlock::Kind;
    view.statement = {{Kind::Heading, 2, {{U"見出し"}}},
                      {Kind::Paragraph, 0, {{U"a "}, {U"IN", false, false, true}}},
                      {Kind::BulletItem, 0, {{U"b", true, false, false}}},
                      {Kind::NumberedItem, 3, {{U"c", false, true, false}}},
                      {Kind::Code, 0, {{U"L1\nL2", false, false, true}}}};
    view.summary = U"1 / 2 ケースに合格";
    view.cases = {{U"one", U"合格", true, false, {}, 0, true},
                  {U"two", U"不合格", false, false, {U"GR0: expected 1, got 2"}, 1, true}};
    view.run = {true, U"ケース「two」で実行中", {U"IN への入力: \"AB\""}, false, false, {}};

    const PageExercise page = pageExercise(view);
    EXPECT_TRUE(page.open);
    EXPECT_EQ(page.revision, 7);
    EXPECT_EQ(page.title, "逆順");
    ASSERT_EQ(page.statement.size(), 5u);
    std::vector<std::string> kinds;
    for (const PageStatementBlock& b : page.statement) {
        kinds.push_back(b.kind);
    }
    EXPECT_EQ(kinds,
              (std::vector<std::string>{"heading", "paragraph", "bullet", "numbered", "code"}));
    EXPECT_EQ(page.statement[0].level, 2);
    EXPECT_EQ(page.statement[3].level, 3);
    ASSERT_EQ(page.statement[1].spans.size(), 2u);
    EXPECT_TRUE(page.statement[1].spans[1].code);
    EXPECT_TRUE(page.statement[2].spans[0].strong);
    EXPECT_TRUE(page.statement[3].spans[0].emphasis);
    EXPECT_EQ(page.statement[4].spans[0].text, "L1\nL2");
    EXPECT_EQ(page.summary, "1 / 2 ケースに合格");
    ASSERT_EQ(page.cases.size(), 2u);
    EXPECT_EQ(page.cases[1].verdict, "不合格");
    EXPECT_EQ(page.cases[1].details, std::vector<std::string>{"GR0: expected 1, got 2"});
    EXPECT_EQ(page.cases[1].index, 1);
    EXPECT_TRUE(page.run.shown);
    EXPECT_EQ(page.run.given, std::vector<std::string>{"IN への入力: \"AB\""});
}

TEST(PageExercise, AYesNoBoxTellsItsDefaultButton) {
    WorkbenchBox box;
    box.buttons = MessageButtons::YesNo;
    EXPECT_EQ(pageBox(box).defaultButton, "yes");
    box.defaultButton = MessageAnswer::No;
    EXPECT_EQ(pageBox(box).defaultButton, "no");
}

} // namespace
} // namespace casl::web
