#include "shell/default_button_style.h"

#include <QApplication>
#include <QPainter>
#include <QStyleOptionButton>

namespace casl {

DefaultButtonStyle::DefaultButtonStyle(QObject* parent)
    : QProxyStyle(QApplication::style()->name()) {
    setParent(parent);
}

void DefaultButtonStyle::drawControl(ControlElement element, const QStyleOption* option,
                                     QPainter* painter, const QWidget* widget) const {
    QProxyStyle::drawControl(element, option, painter, widget);
    const auto* button = qstyleoption_cast<const QStyleOptionButton*>(option);
    const QStyle::State focus = State_HasFocus | State_KeyboardFocusChange;
    if (element != CE_PushButton || button == nullptr ||
        !(button->features & QStyleOptionButton::DefaultButton) ||
        (button->state & focus) != focus) {
        return;
    }
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    painter->setPen(QPen(button->palette.color(QPalette::Highlight), 1.5));
    painter->setBrush(Qt::NoBrush);
    painter->drawRoundedRect(QRectF(button->rect).adjusted(3.5, 3.5, -3.5, -3.5), 2, 2);
    painter->restore();
}

} // namespace casl
