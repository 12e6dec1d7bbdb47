#include "shell/trace_changes.h"

#include "shell/change_label.h"

#include <QEvent>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextBlock>
#include <algorithm>

namespace casl {
namespace {

/// Whether one of `rows` of a dump is in view.
bool anyRowInView(const QPlainTextEdit& dump, const std::vector<int>& rows) {
    // The dumps do not wrap, so the scroll bar counts rows: its value is the top row in view
    // and its page step the number of rows that fit.
    const QScrollBar* scroll = dump.verticalScrollBar();
    const int top = scroll->value();
    const int bottom = top + std::max(scroll->pageStep(), 1);
    return std::any_of(rows.begin(), rows.end(),
                       [top, bottom](int row) { return row >= top && row < bottom; });
}

} // namespace

TraceChanges::TraceChanges(ChangeDisplays displays, QObject* parent)
    : QObject(parent), displays_(displays) {
    setObjectName(QStringLiteral("traceChanges"));
    displays_.dataArea->installEventFilter(this);
    displays_.stackArea->installEventFilter(this);
}

void TraceChanges::show(const DisplayChanges& changes) {
    changes_ = changes;
    markLabels();
    markDump(*displays_.dataArea, changes_.dataRows, dataReads_);
    markDump(*displays_.stackArea, changes_.stackRows, stackReads_);
}

void TraceChanges::showReads(const std::vector<int>& dataRows, const std::vector<int>& stackRows) {
    if (dataRows == dataReads_ && stackRows == stackReads_) {
        return;
    }
    dataReads_ = dataRows;
    stackReads_ = stackRows;
    markDump(*displays_.dataArea, changes_.dataRows, dataReads_);
    markDump(*displays_.stackArea, changes_.stackRows, stackReads_);
}

void TraceChanges::markLabels() {
    for (std::size_t i = 0; i < displays_.registers.size(); ++i) {
        displays_.registers[i]->setChanged(changes_.registers[i]);
    }
    displays_.programRegister->setChanged(changes_.programRegister);
    displays_.stackPointer->setChanged(changes_.stackPointer);
    displays_.flags->setChangedRanges(
        QList<CaptionSpan>(changes_.flagSpans.begin(), changes_.flagSpans.end()));
}

void TraceChanges::markDump(QPlainTextEdit& dump, const std::vector<int>& rows,
                            const std::vector<int>& reads) {
    const ChangeColours colours = changeColours(dump.palette(), QPalette::Base, QPalette::Text);
    QList<QTextEdit::ExtraSelection> selections;
    for (const int row : rows) {
        const QTextBlock block = dump.document()->findBlockByNumber(row);
        if (!block.isValid()) {
            continue;
        }
        QTextEdit::ExtraSelection selection;
        selection.format.setBackground(colours.background);
        selection.format.setForeground(colours.text);
        // Without a selection the whole row is drawn, its text and the width of the box.
        selection.format.setProperty(QTextFormat::FullWidthSelection, true);
        selection.cursor = QTextCursor(block);
        selections.append(selection);
    }
    for (const int row : reads) {
        const QTextBlock block = dump.document()->findBlockByNumber(row);
        if (!block.isValid()) {
            continue;
        }
        QTextEdit::ExtraSelection selection;
        selection.format.setUnderlineStyle(QTextCharFormat::DashUnderline);
        selection.format.setUnderlineColor(dump.palette().color(QPalette::Link));
        selection.format.setToolTip(tr("read by this step"));
        selection.cursor = QTextCursor(block);
        selection.cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
        selections.append(selection);
    }
    if (selections.isEmpty() && dump.extraSelections().isEmpty()) {
        return;
    }
    dump.setExtraSelections(selections);
    if (!rows.empty() && !anyRowInView(dump, rows)) {
        QScrollBar* scroll = dump.verticalScrollBar();
        scroll->setValue(rows.front() - scroll->pageStep() / 2);
    }
}

bool TraceChanges::eventFilter(QObject* watched, QEvent* event) {
    // The colours follow a change of the desktop's theme.
    if (event->type() == QEvent::PaletteChange) {
        if (watched == displays_.dataArea) {
            markDump(*displays_.dataArea, changes_.dataRows, dataReads_);
        } else if (watched == displays_.stackArea) {
            markDump(*displays_.stackArea, changes_.stackRows, stackReads_);
        }
    }
    return QObject::eventFilter(watched, event);
}

} // namespace casl
