#include "shell/editor_marks.h"

#include "shell/source_editor.h"

#include <QHelpEvent>
#include <QTextBlock>
#include <QToolTip>

namespace casl {

EditorMarks::EditorMarks(SourceEditor& editor, std::function<int()> breakpointLine)
    : QObject(&editor), editor_(editor), viewport_(editor.viewport()),
      breakpointLine_(std::move(breakpointLine)), colours_(editorColours(editor.palette())) {
    setObjectName(QStringLiteral("editorMarks"));
    connect(&editor_, &QPlainTextEdit::textChanged, this, &EditorMarks::textChanged);
    editor_.installEventFilter(this);
    viewport_->installEventFilter(this);
}

void EditorMarks::setExecutedLine(int line) {
    if (line == executedLine_) {
        return;
    }
    const int from = executedLine_;
    executedLine_ = line;
    showSelections();
    emit executedLineMoved(from, line);
}

void EditorMarks::setErrors(std::map<int, QStringList> errors) {
    errors_ = std::move(errors);
    showSelections();
    emit changed();
}

QString EditorMarks::errorToolTip(int line) const {
    const auto found = errors_.find(line);
    return found == errors_.end() ? QString() : found->second.join(QLatin1Char('\n'));
}

void EditorMarks::textChanged() {
    // A read-only text changes only as a run shows its listing, and the run sets the executed
    // line itself.
    if (editor_.isReadOnly() || (executedLine_ == 0 && errors_.empty())) {
        return;
    }
    executedLine_ = 0;
    errors_.clear();
    showSelections();
    emit changed();
}

void EditorMarks::showSelections() {
    QList<QTextEdit::ExtraSelection> selections;
    if (const QTextBlock block = editor_.document()->findBlockByNumber(executedLine_ - 1);
        executedLine_ > 0 && block.isValid()) {
        QTextEdit::ExtraSelection line;
        line.format.setBackground(colours_.executedLine);
        line.format.setProperty(QTextFormat::FullWidthSelection, true);
        line.cursor = QTextCursor(block);
        selections.append(line);
    }
    for (const auto& [number, messages] : errors_) {
        const QTextBlock block = editor_.document()->findBlockByNumber(number - 1);
        if (!block.isValid()) {
            continue;
        }
        QTextEdit::ExtraSelection error;
        error.format.setUnderlineStyle(QTextCharFormat::WaveUnderline);
        error.format.setUnderlineColor(failureRed);
        error.cursor = QTextCursor(block);
        error.cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
        selections.append(error);
    }
    editor_.setExtraSelections(selections);
}

bool EditorMarks::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &editor_ && event->type() == QEvent::PaletteChange) {
        colours_ = editorColours(editor_.palette());
        showSelections();
        emit changed();
    } else if (watched == viewport_ && event->type() == QEvent::ToolTip && !errors_.empty()) {
        const auto* help = static_cast<QHelpEvent*>(event);
        const int line = editor_.cursorForPosition(help->pos()).blockNumber() + 1;
        const QString text = errorToolTip(line);
        if (text.isEmpty()) {
            QToolTip::hideText();
        } else {
            QToolTip::showText(help->globalPos(), text, viewport_);
        }
        return true;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace casl
