#include "platform/qt/message_box.h"

#include "platform/qt/title_width.h"

#include <QMessageBox>

namespace casl::platform::qt {
namespace {

/// A box without an icon, Yes (or `defaultButton`) the default and No the answer of its window
/// button.
void setUp(QMessageBox& box, MessageButtons buttons,
           MessageAnswer defaultButton = MessageAnswer::Yes) {
    box.setTextFormat(Qt::PlainText);
    if (buttons == MessageButtons::Ok) {
        box.setStandardButtons(QMessageBox::Ok);
    } else {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(defaultButton == MessageAnswer::No ? QMessageBox::No
                                                                : QMessageBox::Yes);
        box.setEscapeButton(QMessageBox::No);
    }
    widenForTitle(box);
}

MessageAnswer answerOf(const QMessageBox& box, MessageButtons buttons) {
    if (buttons == MessageButtons::Ok) {
        return MessageAnswer::Ok;
    }
    return box.clickedButton() == box.button(QMessageBox::Yes) ? MessageAnswer::Yes
                                                               : MessageAnswer::No;
}

} // namespace

MessageAnswer showMessageBox(QWidget* parent, const QString& text, const QString& title,
                             MessageButtons buttons) {
    QMessageBox box(QMessageBox::NoIcon, title, text, QMessageBox::NoButton, parent);
    setUp(box, buttons);
    box.exec();
    return answerOf(box, buttons);
}

void openMessageBox(QWidget* parent, const QString& text, const QString& title,
                    MessageButtons buttons, std::function<void(MessageAnswer)> answered,
                    MessageAnswer defaultButton) {
    auto* box = new QMessageBox(QMessageBox::NoIcon, title, text, QMessageBox::NoButton, parent);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::ApplicationModal);
    setUp(*box, buttons, defaultButton);
    QObject::connect(box, &QDialog::finished, box, [box, buttons, answered = std::move(answered)] {
        answered(answerOf(*box, buttons));
    });
    box->show();
}

} // namespace casl::platform::qt
