#include "platform/qt/message_box.h"

#include "platform/qt/title_width.h"

#include <QMessageBox>

namespace casl::platform::qt {

MessageAnswer showMessageBox(QWidget* parent, const QString& text, const QString& title,
                             MessageButtons buttons) {
    QMessageBox box(QMessageBox::NoIcon, title, text, QMessageBox::NoButton, parent);
    box.setTextFormat(Qt::PlainText);
    if (buttons == MessageButtons::Ok) {
        box.setStandardButtons(QMessageBox::Ok);
        widenForTitle(box);
        box.exec();
        return MessageAnswer::Ok;
    }
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    box.setDefaultButton(QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::No);
    widenForTitle(box);
    return box.exec() == QMessageBox::Yes ? MessageAnswer::Yes : MessageAnswer::No;
}

} // namespace casl::platform::qt
