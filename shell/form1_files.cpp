// The file commands and the end of the program: the session decides, the window asks and shows.

#include "platform/qt/help_viewer.h"
#include "platform/qt/qt_text.h"
#include "platform/temp_folder.h"
#include "shell/form1.h"
#include "shell/form2.h"
#include "shell/frm_about.h"
#include "shell/source_editor.h"

#include <QCloseEvent>
#include <QFile>
#include <QTimer>

namespace casl {

void Form1::newFile() {
    command([this] { model_.newFile(editorText()); });
}

void Form1::openFile() {
    command([this] { model_.openFile(editorText()); });
}

void Form1::openGivenFile(const QString& name) {
    command([this, &name] { model_.openFile(editorText(), platform::qt::toU32(name)); });
}

void Form1::saveAs() {
    command([this] { model_.saveAs(editorText()); });
}

void Form1::overwriteSave() {
    command([this] { model_.overwriteSave(editorText()); });
}

void Form1::exitProgram() {
    command([this] { model_.exit(editorText()); });
    if (ended_) {
        close();
    }
}

void Form1::openExample(const QString& path) {
    command([this, &path] { model_.openExample(editorText(), platform::qt::toU32(path)); });
}

void Form1::closeEvent(QCloseEvent* event) {
    if (ended_) {
        event->accept();
        return;
    }
    // A box of the running program must be answered first.
    if (busy_ > 0 || runBoxOpen_) {
        event->ignore();
        return;
    }
    command([this] { model_.close(editorText()); });
    event->setAccepted(ended_);
}

void Form1::endProgram() {
    ended_ = true;
    if (form2_) {
        form2_->close();
    }
    if (about_) {
        about_->close();
    }
    if (help_) {
        help_->close();
    }
    platform::removeTemporaryFolder();
    recoveryTimer_->stop();
    emit programEnded();
}

} // namespace casl
