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

} // namespace casl
