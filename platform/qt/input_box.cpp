#include "platform/qt/input_box.h"

#include "platform/qt/box_openings.h"
#include "platform/qt/title_width.h"

#include <QGuiApplication>
#include <QInputDialog>
#include <QScreen>

namespace casl::platform::qt {
namespace {

void setUp(QInputDialog& box, const QString& prompt, const QString& title,
           const QString& defaultText, QPoint screenPosition) {
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
    emit BoxOpenings::instance().opened(box);
}

} // namespace casl::platform::qt
