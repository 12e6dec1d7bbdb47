#include "shell/focus_frame_style.h"

#include <QApplication>
#include <QFrame>
#include <QPainter>
#include <QStyleOptionFrame>
#include <algorithm>

namespace casl {

namespace {

constexpr int markWidth = 2;

} // namespace

FocusFrameStyle::FocusFrameStyle(QObject* parent) : QProxyStyle(QApplication::style()->name()) {
    setParent(parent);
}

void FocusFrameStyle::drawControl(ControlElement element, const QStyleOption* option,
                                  QPainter* painter, const QWidget* widget) const {
    QProxyStyle::drawControl(element, option, painter, widget);
    const auto* frame = qstyleoption_cast<const QStyleOptionFrame*>(option);
    if (element != CE_ShapedFrame || frame == nullptr || !(frame->state & State_HasFocus) ||
        frame->frameShape == QFrame::NoFrame) {
        return;
    }
    // Over the frame only: the text inside stays as it is.
    painter->save();
    painter->setPen(QPen(frame->palette.color(QPalette::Highlight), 1));
    painter->setBrush(Qt::NoBrush);
    for (int i = 0; i < markWidth; ++i) {
        painter->drawRect(QRect(frame->rect).adjusted(i, i, -1 - i, -1 - i));
    }
    painter->restore();
}

int FocusFrameStyle::pixelMetric(PixelMetric metric, const QStyleOption* option,
                                 const QWidget* widget) const {
    const int value = QProxyStyle::pixelMetric(metric, option, widget);
    return metric == PM_DefaultFrameWidth ? std::max(value, markWidth) : value;
}

} // namespace casl
