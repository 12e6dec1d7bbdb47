#include "modal_answerer.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPrintDialog>

namespace casl::test {

namespace {

/// Closes a box that got no answer, as Escape would.
void dismiss(QWidget* box) {
    if (auto* dialog = qobject_cast<QDialog*>(box)) {
        dialog->reject();
    } else {
        box->close();
    }
}

SeenBox describe(QWidget* box) {
    if (auto* message = qobject_cast<QMessageBox*>(box)) {
        return {QStringLiteral("message"), message->windowTitle(), message->text()};
    }
    if (auto* input = qobject_cast<QInputDialog*>(box)) {
        return {QStringLiteral("input"), input->windowTitle(), input->labelText()};
    }
    if (qobject_cast<QFileDialog*>(box)) {
        return {QStringLiteral("file"), box->windowTitle(), QString()};
    }
    if (qobject_cast<QPrintDialog*>(box)) {
        return {QStringLiteral("print"), box->windowTitle(), QString()};
    }
    return {QString::fromLatin1(box->metaObject()->className()), box->windowTitle(), QString()};
}

} // namespace

ModalAnswerer::ModalAnswerer() {
    timer_.setInterval(5);
    QObject::connect(&timer_, &QTimer::timeout, [this] { poll(); });
    timer_.start();
}

ModalAnswerer::~ModalAnswerer() = default;

ModalAnswerer& ModalAnswerer::then(Answer answer) {
    answers_.push_back(std::move(answer));
    return *this;
}

ModalAnswerer& ModalAnswerer::press(int standardButton) {
    return then([standardButton](QWidget* box) {
        auto* message = qobject_cast<QMessageBox*>(box);
        if (!message) {
            box->close();
            return;
        }
        if (QAbstractButton* button =
                message->button(static_cast<QMessageBox::StandardButton>(standardButton))) {
            button->click();
        } else {
            message->close();
        }
    });
}

ModalAnswerer& ModalAnswerer::type(const QString& text) {
    return then([text](QWidget* box) {
        if (auto* input = qobject_cast<QInputDialog*>(box)) {
            input->setTextValue(text);
            input->accept();
        } else {
            box->close();
        }
    });
}

ModalAnswerer& ModalAnswerer::choose(const QString& path) {
    return then([path](QWidget* box) {
        if (auto* dialog = qobject_cast<QFileDialog*>(box)) {
            // The name field ignores selectFile() while it has the focus; type into it.
            if (auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))) {
                name->setText(path);
            } else {
                dialog->selectFile(path);
            }
            static_cast<QDialog*>(dialog)->accept();
        } else {
            box->close();
        }
    });
}

ModalAnswerer& ModalAnswerer::cancel() {
    return then([](QWidget* box) { dismiss(box); });
}

ModalAnswerer& ModalAnswerer::accept() {
    return then([](QWidget* box) {
        if (auto* dialog = qobject_cast<QDialog*>(box)) {
            dialog->accept();
        }
    });
}

void ModalAnswerer::poll() {
    QWidget* box = QApplication::activeModalWidget();
    if (!box || !box->isVisible()) {
        return;
    }
    if (box->property("answered").toBool()) {
        // The answer did not close it (a file dialog refusing a name): close it, so that the
        // test goes on and fails instead of hanging.
        if (box->property("delivered").toBool()) {
            ++unexpected_;
            dismiss(box);
        }
        return;
    }
    box->setProperty("answered", true);
    seen_.push_back(describe(box));
    if (answers_.empty()) {
        ++unexpected_;
        dismiss(box);
        return;
    }
    // Answered from a fresh event, so that a box the answer opens gets polled too.
    QPointer<QWidget> target(box);
    ++delivering_;
    QTimer::singleShot(0, &timer_, [this, target, answer = std::move(answers_.front())] {
        if (target) {
            answer(target);
        }
        if (target) {
            target->setProperty("delivered", true);
        }
        --delivering_;
    });
    answers_.pop_front();
}

} // namespace casl::test
