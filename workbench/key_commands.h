#pragma once

#include "workbench/workbench_view.h"

namespace casl {

/// The keys that act on a run from anywhere in the main window.
enum class RunKey { Enter, Backspace };

/// What such a key does.
enum class KeyCommand {
    None,               ///< Nothing of the run: the key does what it does where it is.
    Next,               ///< Next.
    StepBack,           ///< 戻る.
    PressFocusedButton, ///< The button that has the focus is pressed, as on any desktop.
};

/// The command of `key` in the main window showing `view`; `buttonFocused` tells whether an
/// enabled button has the focus. During a run that waits, Enter presses Next (or the focused
/// button: End, クリア, 戻る) and Backspace presses 戻る, which the locked editor lets pass.
KeyCommand keyCommand(const WorkbenchView& view, RunKey key, bool buttonFocused);

/// The keys that the editor hands to the window instead of taking them as typing, which would
/// call for a new assembly. A key with Ctrl, Alt or Meta, and Escape or F9 with Shift, is
/// `Other`; Shift+Tab is `BackTab`, and `Shift` is the Shift key going down alone.
enum class EditorKey { Escape, Tab, BackTab, Shift, F9, Other };

/// What such a key does in the editor.
enum class EditorKeyCommand {
    Type,          ///< The editor takes the key: a key press of the editor.
    AwaitLeave,    ///< Escape (or Shift after it): the next Tab leaves the editor; no typing.
    LeaveForward,  ///< Tab after Escape: the focus goes on to the next control.
    LeaveBackward, ///< Shift+Tab after Escape: the focus goes back to the control before.
    ChooseBreakpointLine, ///< F9: the caret's line is chosen as a click into it chooses it.
};

/// The command of `key` in the editor; `afterEscape` tells whether the editor's key before it
/// awaited the leave (`AwaitLeave`). A Tab alone inserts a tab, so Escape then Tab is the
/// keyboard's way out of the editor.
EditorKeyCommand editorKeyCommand(EditorKey key, bool afterEscape);

} // namespace casl
