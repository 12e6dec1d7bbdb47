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

} // namespace casl
