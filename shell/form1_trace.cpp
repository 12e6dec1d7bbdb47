// Tracing in the window: the run's buttons and keys.

#include "shell/form1.h"
#include "shell/source_editor.h"
#include "workbench/key_commands.h"

#include <QKeyEvent>
#include <QPushButton>

namespace casl {

void Form1::startTrace() {
    command([this] { model_.startTrace(editorText()); });
}

void Form1::nextStep() {
    command([this] { model_.next(); });
}

void Form1::endStep() {
    command([this] { model_.end(); });
}

void Form1::stepBack() {
    command([this] { model_.stepBack(); });
}

bool Form1::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            auto* focused = qobject_cast<QPushButton*>(focusWidget());
            const bool buttonFocused = focused && focused->isEnabled();
            switch (keyCommand(model_.view(), RunKey::Enter, buttonFocused)) {
            case KeyCommand::PressFocusedButton:
                focused->click();
                return true;
            case KeyCommand::Next:
                command1_->click();
                return true;
            case KeyCommand::StepBack:
            case KeyCommand::None:
                break;
            }
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

} // namespace casl
