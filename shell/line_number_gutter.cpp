#include "shell/line_number_gutter.h"

#include "shell/editor_colours.h"
#include "shell/editor_marks.h"
#include "shell/source_editor.h"

#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QTextBlock>
#include <QToolTip>

namespace casl {

namespace {

/// Room for numbers up to 999 at least, so that the text does not move while a program grows
/// to its usual lengths.
constexpr int minimumDigits = 3;
constexpr int padding = 4;

} // namespace

LineNumberGutter::LineNumberGutter(SourceEditor& editor, const EditorMarks& marks)
    : QWidget(&editor), editor_(editor), marks_(marks) {
    setObjectName(QStringLiteral("lineNumbers"));
    setFont(editor_.font());
    setCursor(Qt::PointingHandCursor);
    connect(&editor_, &QPlainTextEdit::blockCountChanged, this, &LineNumberGutter::fitWidth);
    connect(&editor_, &QPlainTextEdit::updateRequest, this, &LineNumberGutter::followEditor);
    connect(&marks_, &EditorMarks::changed, this, qOverload<>(&QWidget::update));
    connect(&marks_, &EditorMarks::executedLineMoved, this, &LineNumberGutter::updateLines);
    editor_.installEventFilter(this);
    fitWidth();
}

int LineNumberGutter::markColumnWidth() const {
    return fontMetrics().height();
}

QSize LineNumberGutter::sizeHint() const {
    int digits = 1;
    for (int count = std::max(1, editor_.blockCount()); count >= 10; count /= 10) {
        ++digits;
    }
    digits = std::max(digits, minimumDigits);
    return {markColumnWidth() + fontMetrics().horizontalAdvance(QLatin1Char('9')) * digits +
                2 * padding,
            0};
}

void LineNumberGutter::fitWidth() {
    const int width = sizeHint().width();
    if (width != width_) {
        width_ = width;
        editor_.setGutterWidth(width_);
    }
    const QRect contents = editor_.contentsRect();
    setGeometry(contents.left(), contents.top(), width_, contents.height());
}

void LineNumberGutter::followEditor(const QRect& rect, int dy) {
    if (dy != 0) {
        scroll(0, dy);
    } else {
        update(0, rect.y(), width(), rect.height());
    }
}

void LineNumberGutter::updateLines(int first, int second) {
    for (const ShownLine& shown : shownLines()) {
        if (shown.line == first || shown.line == second) {
            update(shown.rect);
        }
    }
}

std::vector<LineNumberGutter::ShownLine> LineNumberGutter::shownLines() const {
    std::vector<ShownLine> lines;
    // The gutter's top is the viewport's top.
    for (QTextBlock block = editor_.firstVisibleLine(); block.isValid(); block = block.next()) {
        const QRectF rect = editor_.lineRect(block);
        if (rect.top() > height()) {
            break;
        }
        if (block.isVisible() && rect.bottom() >= 0) {
            lines.push_back({block.blockNumber() + 1,
                             QRect(0, qRound(rect.top()), width(), qRound(rect.height()))});
        }
    }
    return lines;
}

int LineNumberGutter::lineAt(const QPoint& point) const {
    const std::vector<ShownLine> lines = shownLines();
    for (const ShownLine& shown : lines) {
        if (point.y() < shown.rect.bottom() + 1) {
            return point.y() >= shown.rect.top() ? shown.line : 0;
        }
    }
    // Below the last line, as a click below the text lands on the last line.
    return lines.empty() || lines.back().line != editor_.blockCount() ? 0 : lines.back().line;
}

QRect LineNumberGutter::markRect(const ShownLine& shown) const {
    const int side = std::min(markColumnWidth(), shown.rect.height());
    return {padding / 2, shown.rect.top() + (shown.rect.height() - side) / 2, side, side};
}

void LineNumberGutter::paintEvent(QPaintEvent* event) {
    const EditorColours& colours = marks_.colours();
    QPainter painter(this);
    painter.fillRect(event->rect(), colours.gutterBackground);
    painter.setRenderHint(QPainter::Antialiasing);
    const int breakpoint = marks_.breakpointLine();
    const QFont normal = font();
    QFont bold = normal;
    bold.setBold(true);
    for (const ShownLine& shown : shownLines()) {
        if (!event->rect().intersects(shown.rect)) {
            continue;
        }
        if (shown.line == marks_.executedLine()) {
            painter.fillRect(shown.rect, colours.executedLine);
        }
        const bool inError = marks_.errors().contains(shown.line);
        painter.setFont(inError ? bold : normal);
        painter.setPen(inError ? failureRed : colours.gutterNumber);
        painter.drawText(shown.rect.adjusted(0, 0, -padding, 0), Qt::AlignRight | Qt::AlignVCenter,
                         QString::number(shown.line));
        const QRectF mark = QRectF(markRect(shown)).adjusted(2, 2, -2, -2);
        const bool onBreakpoint = shown.line == breakpoint;
        if (onBreakpoint) {
            painter.setPen(Qt::NoPen);
            painter.setBrush(failureRed);
            painter.drawEllipse(mark);
        }
        if (inError) {
            // A cross: the line has errors. On the breakpoint's dot it is cut out of the dot in
            // the text's background, so that both marks show.
            const double inset = onBreakpoint ? mark.width() * 0.22 : 0;
            const QRectF cross = mark.adjusted(inset, inset, -inset, -inset);
            painter.setPen(QPen(onBreakpoint ? colours.base : failureRed,
                                std::max(1.5, mark.width() / 6), Qt::SolidLine, Qt::RoundCap));
            painter.drawLine(cross.topLeft(), cross.bottomRight());
            painter.drawLine(cross.topRight(), cross.bottomLeft());
        }
    }
}

void LineNumberGutter::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        if (const int line = lineAt(event->position().toPoint()); line > 0) {
            emit lineClicked(line);
        }
    }
    QWidget::mouseReleaseEvent(event);
}

bool LineNumberGutter::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        const auto* help = static_cast<QHelpEvent*>(event);
        const QString text = marks_.errorToolTip(lineAt(help->pos()));
        if (text.isEmpty()) {
            QToolTip::hideText();
        } else {
            QToolTip::showText(help->globalPos(), text, this);
        }
        return true;
    }
    return QWidget::event(event);
}

bool LineNumberGutter::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &editor_) {
        if (event->type() == QEvent::FontChange) {
            setFont(editor_.font());
            fitWidth();
            update();
        } else if (event->type() == QEvent::Resize) {
            fitWidth();
        }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace casl
