#include "platform/qt/input_box.h"

#include "platform/qt/title_width.h"

#include <QGuiApplication>
#include <QInputDialog>
#include <QScreen>

namespace casl::platform::qt {

QString showInputBox(QWidget* parent, const QString& prompt, const QString& title,
                     const QString& defaultText, QPoint screenPosition, bool* accepted) {
    QInputDialog box(parent);
    box.setInputMode(QInputDialog::TextInput);
    box.setWindowTitle(title);
    box.setLabelText(prompt);
    box.setTextValue(defaultText);
    // The box builds its layout when it is first measured.
    static_cast<void>(box.minimumSizeHint());
    widenForTitle(box);
    QPoint origin;
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        origin = screen->geometry().topLeft();
    }
    box.move(origin + screenPosition);
    const bool ok = box.exec() == QDialog::Accepted;
    if (accepted) {
        *accepted = ok;
    }
    if (!ok) {
        return {};
    }
    return box.textValue();
}

} // namespace casl::platform::qt
