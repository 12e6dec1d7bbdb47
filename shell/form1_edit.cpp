// The editor's commands and events, the enable protocol and the help menu.

#include "assembler/breakpoint_choice.h"
#include "platform/qt/clipboard.h"
#include "platform/qt/help_viewer.h"
#include "platform/qt/qt_text.h"
#include "shell/editor_marks.h"
#include "shell/form1.h"
#include "shell/frm_about.h"
#include "shell/japanese_setup.h"
#include "shell/source_editor.h"
#include "workbench/editor_text.h"

#include <QLabel>
#include <QPushButton>
#include <QTextCursor>
#include <QTextDocumentFragment>
#include <QTimer>

namespace casl {

void Form1::enterEditing() {
    trace_->setEnabled(false);
    label5_->hide();
    label6_->hide();
    label7_->hide();
    command4_->setEnabled(false);
}

void Form1::enterAssembled() {
    trace_->setEnabled(true);
    label5_->show();
    label6_->show();
    label7_->show();
    command4_->setEnabled(true);
    setBreakpointCaption();
}

void Form1::setBreakpointCaption() {
    label6_->setText(breakpointLine_ == 0 ? QString() : QString::number(breakpointLine_));
}

void Form1::setEditorTextByProgram(std::u32string_view text) {
    ++programChanges_;
    source_->setEditorText(text);
    --programChanges_;
}

void Form1::onEditorKeyDown() {
    // The locked editor of a run changes nothing, so a key there keeps the trace controls.
    if (!traceActive_) {
        enterEditing();
    }
}

void Form1::onEditorTextChanged() {
    modified_ = true;
    if (!recoveryTimer_->isActive()) {
        recoveryTimer_->start();
    }
    // Any change the user makes (typing, the menus, the editor's own context menu, dropping
    // text) means the tables no longer describe the editor's program.
    if (programChanges_ == 0 && !traceActive_) {
        enterEditing();
    }
}

void Form1::onEditorClicked() {
    if (trace_->isEnabled()) {
        const auto chosen = chooseBreakpointLine(source_->caretLine(), *tables_);
        if (!chosen) {
            return;
        }
        clickedLine_ = *chosen;
        label6_->setText(QString::number(clickedLine_));
    }
    breakpointLine_ = clickedLine_;
    breakpointChanged();
    marks_->breakpointMoved();
}

void Form1::clearBreakpoint() {
    label6_->setText(QString());
    breakpointLine_ = 0;
    breakpointChanged();
    marks_->breakpointMoved();
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
            ask(QStringLiteral("ヘルプのページが見つかりません。"),
                QString::fromUtf8(applicationTitle), platform::qt::MessageButtons::Ok);
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
