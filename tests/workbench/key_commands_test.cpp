// Enter and Backspace in the main window during a run; Escape, Tab and F9 in the editor.
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

struct EditorKeyCase {
    const char* name;
    EditorKey key;
    bool afterEscape;
    EditorKeyCommand expected;
};

class EditorKeys : public ::testing::TestWithParam<EditorKeyCase> {};

TEST_P(EditorKeys, LeaveOnlyByEscapeThenTabAndChooseTheLineByF9) {
    const EditorKeyCase& c = GetParam();
    EXPECT_EQ(editorKeyCommand(c.key, c.afterEscape), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Keys, EditorKeys,
    ::testing::Values(
        EditorKeyCase{"TabAloneInsertsATab", EditorKey::Tab, false, EditorKeyCommand::Type},
        EditorKeyCase{"ShiftTabAloneIsTyping", EditorKey::BackTab, false, EditorKeyCommand::Type},
        EditorKeyCase{"EscapeWaitsForTab", EditorKey::Escape, false, EditorKeyCommand::AwaitLeave},
        EditorKeyCase{"EscapeTwiceStillWaits", EditorKey::Escape, true,
                      EditorKeyCommand::AwaitLeave},
        EditorKeyCase{"TabAfterEscapeLeavesForward", EditorKey::Tab, true,
                      EditorKeyCommand::LeaveForward},
        EditorKeyCase{"ShiftTabAfterEscapeLeavesBackward", EditorKey::BackTab, true,
                      EditorKeyCommand::LeaveBackward},
        EditorKeyCase{"ShiftAfterEscapeStillWaits", EditorKey::Shift, true,
                      EditorKeyCommand::AwaitLeave},
        EditorKeyCase{"ShiftAloneIsAKeyPress", EditorKey::Shift, false, EditorKeyCommand::Type},
        EditorKeyCase{"F9ChoosesTheLine", EditorKey::F9, false,
                      EditorKeyCommand::ChooseBreakpointLine},
        EditorKeyCase{"F9AfterEscapeChoosesTheLine", EditorKey::F9, true,
                      EditorKeyCommand::ChooseBreakpointLine},
        EditorKeyCase{"AnotherKeyAfterEscapeIsTyping", EditorKey::Other, true,
                      EditorKeyCommand::Type}),
    [](const ::testing::TestParamInfo<EditorKeyCase>& info) { return info.param.name; });

} // namespace
} // namespace casl::test
