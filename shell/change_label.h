#pragma once

#include "shell/editor_colours.h"
#include "simulator/display_changes.h"

#include <QLabel>
#include <QList>

namespace casl {

/// A display label of the trace that draws chosen parts of its caption in the change colours
/// of its palette, so that a student sees what the last step changed. The caption itself is
/// never touched: the colour is painted around the same text.
class ChangeLabel : public QLabel {
    Q_OBJECT

public:
    using QLabel::QLabel;

    /// The parts of the caption to draw as changed; none draws the label as a plain one.
    void setChangedRanges(QList<CaptionSpan> ranges);
    const QList<CaptionSpan>& changedRanges() const { return changedRanges_; }
    /// Marks the whole caption as changed (or nothing).
    void setChanged(bool changed);

    /// The colours the changed parts are drawn in, from the label's palette as it is now.
    ChangeColours colours() const;
    /// Where `range` of the caption stands in the label.
    QRect rangeRect(CaptionSpan range) const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QList<CaptionSpan> changedRanges_;
};

} // namespace casl
