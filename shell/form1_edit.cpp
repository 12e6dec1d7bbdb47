// The editor's commands and events, the enable protocol and the help menu.

#include "platform/qt/clipboard.h"
#include "platform/qt/help_viewer.h"
#include "platform/qt/message_box.h"
#include "platform/qt/qt_text.h"
#include "shell/editor_marks.h"
#include "shell/form1.h"
#include "shell/frm_about.h"
#include "shell/japanese_setup.h"
#include "shell/source_editor.h"
#include "workbench/editor_text.h"
#include "workbench/workbench_texts.h"

#include <QLabel>
#include <QPushButton>
#include <QTextCursor>
#include <QTextDocumentFragment>
#include <QTimer>

namespace casl {

void Form1::onEditorKeyDown() {
    command([this] { model_.editorKeyDown(); });
}

void Form1::onEditorTextChanged() {
    if (!recoveryTimer_->isActive()) {
        recoveryTimer_->start();
    }
    // While the window renders, the change is the session's own.
    const bool byUser = programChanges_ == 0;
    if (byUser) {
        command([this] { model_.editorTextChanged(true); });
    } else {
        model_.editorTextChanged(false);
    }
}

void Form1::onEditorClicked() {
    const int line = source_->caretLine();
    command([this, line] { model_.clickLine(line); });
}

void Form1::clearBreakpoint() {
    command([this] { model_.clearBreakpoint(); });
}

void Form1::undoEdit() {
    if (!source_->isReadOnly()) {
        source_->undo();
    }
}

void Form1::copySelection() {
    const QTextCursor cursor = source_->textCursor();
    if (cursor.hasSelection()) {
        platform::qt::setClipboardText(cursor.selection().toPlainText());
    }
}

void Form1::cutSelection() {
    if (source_->isReadOnly()) {
        return;
    }
    QTextCursor cursor = source_->textCursor();
    if (cursor.hasSelection()) {
        platform::qt::setClipboardText(cursor.selection().toPlainText());
        cursor.removeSelectedText();
    }
}

void Form1::pasteClipboard() {
    if (source_->isReadOnly()) {
        return;
    }
    // Text copied elsewhere may end its lines with CR LF or CR; the widget knows only LF.
    const QString text = platform::qt::toQString(
        widgetTextFromEditor(platform::qt::clipboardText().toStdU32String()));
    QTextCursor cursor = source_->textCursor();
    if (text.isEmpty() && !cursor.hasSelection()) {
        return;
    }
    cursor.insertText(text);
    source_->setTextCursor(cursor);
}

void Form1::selectAll() {
    source_->selectAll();
}

void Form1::lowerCaseSelection() {
    if (source_->isReadOnly()) {
        return;
    }
    QTextCursor cursor = source_->textCursor();
    if (!cursor.hasSelection()) {
        return;
    }
    const QString lower = cursor.selection().toPlainText().toLower();
    cursor.insertText(lower);
    source_->setTextCursor(cursor);
}

void Form1::showHelpContents() {
    if (!help_ || help_->helpFolder() != helpFolder_) {
        if (helpFolder_.isEmpty()) {
            platform::qt::showMessageBox(this, QStringLiteral("ヘルプのページが見つかりません。"),
                                         platform::qt::toQString(texts::applicationTitle),
                                         MessageButtons::Ok);
            return;
        }
        help_ = std::make_unique<platform::qt::HelpViewer>(helpFolder_);
    }
    help_->showContents();
}

void Form1::showVersion() {
    if (!about_) {
        about_ = std::make_unique<FrmAbout>();
    }
    about_->show();
    about_->raise();
    about_->activateWindow();
}

} // namespace casl
