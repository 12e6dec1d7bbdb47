#include "shell/line_activation.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QTextBlock>

namespace casl {

LineActivation::LineActivation(QPlainTextEdit& box)
    : QObject(&box), box_(box), viewport_(box.viewport()) {
    box_.setTextInteractionFlags(box_.textInteractionFlags() | Qt::TextSelectableByKeyboard);
    box_.installEventFilter(this);
    viewport_->installEventFilter(this);
}

bool LineActivation::eventFilter(QObject* watched, QEvent* event) {
    if (watched == viewport_ && event->type() == QEvent::MouseButtonRelease) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        // A drag that selected text is a selection, not a pick.
        if (mouse->button() == Qt::LeftButton && !box_.textCursor().hasSelection()) {
            emit activated(box_.cursorForPosition(mouse->position().toPoint()).blockNumber());
        }
    } else if (watched == &box_ && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            emit activated(box_.textCursor().blockNumber());
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

} // namespace casl
