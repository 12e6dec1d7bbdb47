// The editor's keys as the page meets them: a browser's key names and modifiers, and the
// sequences by which the keyboard leaves the editor.
#include "web/binding/page_workbench.h"

#include <gtest/gtest.h>
#include <ostream>
#include <vector>

namespace casl::web {
namespace {

struct Press {
    const char* key;
    bool shift = false;
    bool otherModifier = false;
};

struct KeySequence {
    const char* name;
    std::vector<Press> presses;
    /// The command of the last press.
    const char* command;
};

void PrintTo(const KeySequence& c, std::ostream* os) {
    *os << c.name;
}

class PageEditorKeysTest : public testing::TestWithParam<KeySequence> {};

TEST_P(PageEditorKeysTest, LastKeyDoes) {
    const PageWorkbench workbench;
    bool afterEscape = false;
    std::string command;
    for (const Press& press : GetParam().presses) {
        command =
            workbench.editorKeyCommand(press.key, press.shift, press.otherModifier, afterEscape);
        afterEscape = command == "awaitLeave";
    }
    EXPECT_EQ(command, GetParam().command);
}

INSTANTIATE_TEST_SUITE_P(
    Sequences, PageEditorKeysTest,
    testing::Values(KeySequence{"TabAloneTypes", {{"Tab"}}, "type"},
                    KeySequence{"EscapeThenTabLeaves", {{"Escape"}, {"Tab"}}, "leaveForward"},
                    // Shift goes down before the Tab it modifies: the way out stays open.
                    KeySequence{"EscapeShiftThenShiftTabLeavesBack",
                                {{"Escape"}, {"Shift", true}, {"Tab", true}},
                                "leaveBackward"},
                    KeySequence{"EscapeThenLetterTypes", {{"Escape"}, {"a"}, {"Tab"}}, "type"},
                    KeySequence{"ShiftEscapeIsNoWayOut", {{"Escape", true}, {"Tab"}}, "type"},
                    KeySequence{"CtrlTabIsNoLeave", {{"Escape"}, {"Tab", false, true}}, "type"},
                    KeySequence{"F9ChoosesTheLine", {{"F9"}}, "chooseBreakpointLine"},
                    KeySequence{"ShiftF9Types", {{"F9", true}}, "type"},
                    KeySequence{"AltF9Types", {{"F9", false, true}}, "type"}),
    testing::PrintToStringParamName());

} // namespace
} // namespace casl::web
