#pragma once

#include "workbench/key_commands.h"

#include <string>
#include <string_view>

namespace casl::web {

/// The editor's key of a browser's key event: `key` as the event names it ("Escape", "Tab"),
/// `shift` whether Shift is held, `otherModifier` whether Ctrl, Alt or Meta is.
EditorKey pageEditorKey(std::string_view key, bool shift, bool otherModifier);

/// The name of a command as the page takes it: "type", "awaitLeave", "leaveForward",
/// "leaveBackward" or "chooseBreakpointLine".
std::string editorKeyCommandName(EditorKeyCommand command);

} // namespace casl::web
