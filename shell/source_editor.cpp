#include "shell/source_editor.h"

#include "platform/qt/qt_text.h"
#include "platform/upper_case.h"
#include "workbench/editor_text.h"

#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTextBlock>
#include <algorithm>

namespace casl {

QString upperCasedTyping(const QString& typed) {
    return platform::qt::toQString(platform::upperCased(typed.toStdU32String()));
}

SourceEditor::SourceEditor(QWidget* parent) : QPlainTextEdit(parent) {
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setTabChangesFocus(false);
}

std::u32string SourceEditor::editorText() const {
    return editorTextFromWidget(toPlainText().toStdU32String());
}

void SourceEditor::setEditorText(std::u32string_view text) {
    const QString shown = platform::qt::toQString(widgetTextFromEditor(text));
    // The text it holds already (an assembly hands back what it read) stays as it is, with the
    // caret where the user put it: F9 chooses that line after the assembly.
    if (shown != toPlainText()) {
        setPlainText(shown);
    }
}

int SourceEditor::caretLine() const {
    return textCursor().block().blockNumber() + 1;
}

void SourceEditor::moveCaretToLine(int line) {
    QTextBlock block = document()->findBlockByNumber(std::max(line, 1) - 1);
    if (!block.isValid()) {
        block = document()->lastBlock();
    }
    setTextCursor(QTextCursor(block));
    ensureCursorVisible();
}

void SourceEditor::keepLineInSight(int line) {
    const QTextBlock block = document()->findBlockByNumber(line - 1);
    if (!block.isValid()) {
        return;
    }
    const bool inView = viewport()->rect().contains(lineRect(block).toAlignedRect());
    setTextCursor(QTextCursor(block));
    if (!inView) {
        centerCursor();
    }
}

void SourceEditor::changeEvent(QEvent* event) {
    QPlainTextEdit::changeEvent(event);
    // Locked during a run, the editor still shows its caret where the focus is.
    if (event->type() == QEvent::ReadOnlyChange && isReadOnly()) {
        setTextInteractionFlags(textInteractionFlags() | Qt::TextSelectableByKeyboard);
    }
}

void SourceEditor::keyPressEvent(QKeyEvent* event) {
    emit keyDown();
    const QString typed = event->text();
    const bool isTyping = !typed.isEmpty() && typed.at(0).isPrint() &&
                          !(event->modifiers() & (Qt::ControlModifier | Qt::MetaModifier));
    if (!isTyping || isReadOnly()) {
        QPlainTextEdit::keyPressEvent(event);
        return;
    }
    QKeyEvent upper(event->type(), event->key(), event->modifiers(), upperCasedTyping(typed),
                    event->isAutoRepeat(), static_cast<ushort>(event->count()));
    QPlainTextEdit::keyPressEvent(&upper);
    event->setAccepted(upper.isAccepted());
}

void SourceEditor::inputMethodEvent(QInputMethodEvent* event) {
    if (event->commitString().isEmpty() || isReadOnly()) {
        QPlainTextEdit::inputMethodEvent(event);
        return;
    }
    QInputMethodEvent upper(event->preeditString(), event->attributes());
    upper.setCommitString(upperCasedTyping(event->commitString()), event->replacementStart(),
                          event->replacementLength());
    QPlainTextEdit::inputMethodEvent(&upper);
    event->setAccepted(upper.isAccepted());
}

void SourceEditor::mouseReleaseEvent(QMouseEvent* event) {
    QPlainTextEdit::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton) {
        emit clicked();
    }
}

} // namespace casl
