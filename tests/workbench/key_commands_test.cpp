// Enter and Backspace in the main window during a run.
#include "session_fixture.h"
#include "workbench/key_commands.h"

#include <gtest/gtest.h>

namespace casl::test {
namespace {

TEST(KeyCommands, OutsideARunTheKeysDoWhatTheyDoWhereTheyAre) {
    Session s;
    s.type("P\tSTART\n\tRET\n\tEND\n");
    s.assemble();
    EXPECT_EQ(keyCommand(s.view(), RunKey::Enter, false), KeyCommand::None);
    EXPECT_EQ(keyCommand(s.view(), RunKey::Backspace, false), KeyCommand::None);
}

TEST(KeyCommands, DuringARunEnterIsNextOrTheFocusedButtonAndBackspaceIsBack) {
    Session s;
    s.type("P\tSTART\n\tLAD\tGR1,1\n\tLAD\tGR1,2\n\tRET\n\tEND\n");
    s.assemble();
    s.startTrace();
    EXPECT_EQ(keyCommand(s.view(), RunKey::Enter, false), KeyCommand::Next);
    EXPECT_EQ(keyCommand(s.view(), RunKey::Enter, true), KeyCommand::PressFocusedButton);
    // Nothing to undo at the first wait.
    EXPECT_EQ(keyCommand(s.view(), RunKey::Backspace, false), KeyCommand::None);
    s.workbench.next();
    EXPECT_EQ(keyCommand(s.view(), RunKey::Backspace, false), KeyCommand::StepBack);
}

TEST(KeyCommands, TheBoxesOfARunKeepTheirKeys) {
    Session s;
    s.type("P\tSTART\n\tIN\tB,L\n\tRET\nB\tDS\t3\nL\tDS\t1\n\tEND\n");
    s.assemble();
    s.startTrace();
    s.workbench.next();
    ASSERT_TRUE(s.view().box);
    EXPECT_EQ(keyCommand(s.view(), RunKey::Enter, false), KeyCommand::None);
    EXPECT_EQ(keyCommand(s.view(), RunKey::Backspace, false), KeyCommand::None);
}

} // namespace
} // namespace casl::test
