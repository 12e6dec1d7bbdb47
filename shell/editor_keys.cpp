#include "shell/editor_keys.h"

#include "workbench/key_commands.h"

#include <QKeyEvent>
#include <QPlainTextEdit>

namespace casl {

namespace {

EditorKey editorKeyOf(const QKeyEvent& event) {
    const Qt::KeyboardModifiers modifiers = event.modifiers();
    if (modifiers & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) {
        return EditorKey::Other;
    }
    const bool shift = modifiers & Qt::ShiftModifier;
    switch (event.key()) {
    case Qt::Key_Escape:
        return shift ? EditorKey::Other : EditorKey::Escape;
    case Qt::Key_Tab:
        return shift ? EditorKey::BackTab : EditorKey::Tab;
    case Qt::Key_Backtab:
        return EditorKey::BackTab;
    case Qt::Key_Shift:
        return EditorKey::Shift;
    case Qt::Key_F9:
        return shift ? EditorKey::Other : EditorKey::F9;
    default:
        return EditorKey::Other;
    }
}

} // namespace

EditorKeys::EditorKeys(QPlainTextEdit& editor, std::function<void(bool forward)> leave)
    : QObject(&editor), leave_(std::move(leave)) {
    setObjectName(QStringLiteral("editorKeys"));
    editor.installEventFilter(this);
}

bool EditorKeys::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusOut) {
        afterEscape_ = false;
    }
    if (event->type() != QEvent::KeyPress) {
        return QObject::eventFilter(watched, event);
    }
    const EditorKeyCommand command =
        editorKeyCommand(editorKeyOf(*static_cast<QKeyEvent*>(event)), afterEscape_);
    afterEscape_ = command == EditorKeyCommand::AwaitLeave;
    switch (command) {
    case EditorKeyCommand::Type:
        return false;
    case EditorKeyCommand::AwaitLeave:
        return true;
    case EditorKeyCommand::LeaveForward:
    case EditorKeyCommand::LeaveBackward:
        leave_(command == EditorKeyCommand::LeaveForward);
        return true;
    case EditorKeyCommand::ChooseBreakpointLine:
        emit breakpointKey();
        return true;
    }
    return false;
}

} // namespace casl
