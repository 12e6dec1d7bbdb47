#include "web/binding/page_keys.h"

namespace casl::web {

EditorKey pageEditorKey(std::string_view key, bool shift, bool otherModifier) {
    if (otherModifier) {
        return EditorKey::Other;
    }
    if (key == "Escape") {
        return shift ? EditorKey::Other : EditorKey::Escape;
    }
    if (key == "Tab") {
        return shift ? EditorKey::BackTab : EditorKey::Tab;
    }
    if (key == "Shift") {
        return EditorKey::Shift;
    }
    if (key == "F9") {
        return shift ? EditorKey::Other : EditorKey::F9;
    }
    return EditorKey::Other;
}

std::string editorKeyCommandName(EditorKeyCommand command) {
    switch (command) {
    case EditorKeyCommand::AwaitLeave:
        return "awaitLeave";
    case EditorKeyCommand::LeaveForward:
        return "leaveForward";
    case EditorKeyCommand::LeaveBackward:
        return "leaveBackward";
    case EditorKeyCommand::ChooseBreakpointLine:
        return "chooseBreakpointLine";
    case EditorKeyCommand::Type:
        break;
    }
    return "type";
}

} // namespace casl::web
