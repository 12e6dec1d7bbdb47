#include "shell/change_label.h"

#include <QPainter>
#include <QStyle>

namespace casl {

void ChangeLabel::setChangedRanges(QList<CaptionSpan> ranges) {
    if (ranges == changedRanges_) {
        return;
    }
    changedRanges_ = std::move(ranges);
    update();
}

void ChangeLabel::setChanged(bool changed) {
    setChangedRanges(changed ? QList<CaptionSpan>{{0, static_cast<int>(text().size())}}
                             : QList<CaptionSpan>{});
}

ChangeColours ChangeLabel::colours() const {
    return changeColours(palette(), backgroundRole(), foregroundRole());
}

QRect ChangeLabel::rangeRect(CaptionSpan range) const {
    // Where QLabel puts a plain caption without frame, margin or indent.
    const QString caption = text();
    const QFontMetrics metrics(font());
    const QRect textRect = QStyle::alignedRect(
        layoutDirection(), alignment(), QSize(metrics.horizontalAdvance(caption), metrics.height()),
        contentsRect());
    const int left = metrics.horizontalAdvance(caption.left(range.from));
    const int right = metrics.horizontalAdvance(caption.left(range.from + range.length));
    return QRect(textRect.left() + left, textRect.top(), right - left, textRect.height());
}

void ChangeLabel::paintEvent(QPaintEvent* event) {
    QLabel::paintEvent(event);
    if (changedRanges_.isEmpty() || text().isEmpty()) {
        return;
    }
    // The changed parts are painted again over the plain caption, glyph for glyph at the same
    // places, in the change colours.
    const ChangeColours changed = colours();
    QPalette drawn = palette();
    drawn.setColor(foregroundRole(), changed.text);
    const int flags = static_cast<int>(QStyle::visualAlignment(layoutDirection(), alignment())) |
                      Qt::TextForceLeftToRight;
    QPainter painter(this);
    for (const CaptionSpan& range : changedRanges_) {
        const QRect area = rangeRect(range);
        painter.setClipRect(area);
        painter.fillRect(area, changed.background);
        style()->drawItemText(&painter, contentsRect(), flags, drawn, isEnabled(), text(),
                              foregroundRole());
    }
}

} // namespace casl
