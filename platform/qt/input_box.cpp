#include "platform/qt/input_box.h"

#include "platform/qt/title_width.h"

#include <QGuiApplication>
#include <QInputDialog>
#include <QScreen>

namespace casl::platform::qt {
namespace {

/// The box's place: `screenPosition` from the top-left corner of the screen.
void place(QInputDialog& box, QPoint screenPosition) {
    QPoint origin;
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        origin = screen->geometry().topLeft();
    }
    box.move(origin + screenPosition);
}

void setUp(QInputDialog& box, const QString& prompt, const QString& title,
           const QString& defaultText, QPoint screenPosition) {
    box.setInputMode(QInputDialog::TextInput);
    box.setWindowTitle(title);
    box.setLabelText(prompt);
    box.setTextValue(defaultText);
    // The box builds its layout when it is first measured.
    static_cast<void>(box.minimumSizeHint());
    widenForTitle(box);
    place(box, screenPosition);
}

} // namespace

QString showInputBox(QWidget* parent, const QString& prompt, const QString& title,
                     const QString& defaultText, QPoint screenPosition, bool* accepted) {
    QInputDialog box(parent);
    setUp(box, prompt, title, defaultText, screenPosition);
    const bool ok = box.exec() == QDialog::Accepted;
    if (accepted) {
        *accepted = ok;
    }
    if (!ok) {
        return {};
    }
    return box.textValue();
}

void openInputBox(QWidget* parent, const QString& prompt, const QString& title,
                  const QString& defaultText, QPoint screenPosition,
                  std::function<void(std::optional<QString>)> answered) {
    auto* box = new QInputDialog(parent);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::ApplicationModal);
    setUp(*box, prompt, title, defaultText, screenPosition);
    QObject::connect(
        box, &QDialog::finished, box, [box, answered = std::move(answered)](int result) {
            answered(result == QDialog::Accepted ? std::optional<QString>(box->textValue())
                                                 : std::nullopt);
        });
    box->show();
    // Showing a window without waiting for it may place it anew; the box stands where it was
    // asked to.
    place(*box, screenPosition);
}

} // namespace casl::platform::qt
