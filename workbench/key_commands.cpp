#include "workbench/key_commands.h"

namespace casl {

KeyCommand keyCommand(const WorkbenchView& view, RunKey key, bool buttonFocused) {
    // The boxes of a run keep their own keys.
    if (view.phase != WorkbenchPhase::Tracing || view.box || !view.nextEnabled) {
        return KeyCommand::None;
    }
    switch (key) {
    case RunKey::Enter:
        return buttonFocused ? KeyCommand::PressFocusedButton : KeyCommand::Next;
    case RunKey::Backspace:
        return view.stepBackEnabled ? KeyCommand::StepBack : KeyCommand::None;
    }
    return KeyCommand::None;
}

EditorKeyCommand editorKeyCommand(EditorKey key, bool afterEscape) {
    switch (key) {
    case EditorKey::Escape:
        return EditorKeyCommand::AwaitLeave;
    case EditorKey::Tab:
        return afterEscape ? EditorKeyCommand::LeaveForward : EditorKeyCommand::Type;
    case EditorKey::BackTab:
        return afterEscape ? EditorKeyCommand::LeaveBackward : EditorKeyCommand::Type;
    case EditorKey::Shift:
        // Shift on its way to Shift+Tab keeps the way out open.
        return afterEscape ? EditorKeyCommand::AwaitLeave : EditorKeyCommand::Type;
    case EditorKey::F9:
        return EditorKeyCommand::ChooseBreakpointLine;
    case EditorKey::Other:
        break;
    }
    return EditorKeyCommand::Type;
}

} // namespace casl
