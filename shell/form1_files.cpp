// The file commands, the save question and the end of the program.

#include "platform/file_writer.h"
#include "platform/qt/help_viewer.h"
#include "platform/qt/qt_text.h"
#include "platform/source_file.h"
#include "platform/temp_folder.h"
#include "shell/form1.h"
#include "shell/form2.h"
#include "shell/frm_about.h"
#include "shell/japanese_setup.h"
#include "shell/source_editor.h"
#include "shell/trace_wiring.h"
#include "simulator/trace_session.h"

#include <QAction>
#include <QCloseEvent>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <new>
#include <variant>

namespace casl {

namespace {

std::filesystem::path filePath(const QString& name) {
    return std::filesystem::path(QFile::encodeName(name).toStdString());
}

/// A source file as Open takes it: read as every source is, and refused when a line is too long
/// for the editor to show without delay.
std::variant<platform::SourceText, platform::FileError>
readForEditor(const std::filesystem::path& path) {
    return platform::forEditor(platform::readSourceFile(path), path);
}

const QString& errorTitle() {
    static const QString title = QStringLiteral("ERROR");
    return title;
}

} // namespace

platform::qt::MessageAnswer Form1::ask(const QString& text, const QString& title,
                                       platform::qt::MessageButtons buttons) {
    return platform::qt::showMessageBox(this, text, title, buttons);
}

void Form1::setWindowCaptionForFile() {
    setWindowTitle(QString::fromUtf8(mainCaption) + QStringLiteral("   ") + currentFileName_);
}

bool Form1::writeEditorText(const QString& path, const QString& title) {
    std::u32string text = source_->editorText();
    const auto error =
        platform::writeSourceFile(filePath(path), text, fileEncoding_, fileLineEnds_);
    if (!error) {
        textIsSaved(std::move(text));
        return true;
    }
    ask(QStringLiteral("ディスクに書き込めません\n\n") + platform::qt::toQString(error->message),
        title, platform::qt::MessageButtons::Ok);
    return false;
}

bool Form1::askAndSave(const QString& failureTitle, bool restoreText, QString* savedName) {
    if (ask(QStringLiteral("ソースプログラムを保存しますか?"), QStringLiteral("保存しますか?"),
            platform::qt::MessageButtons::YesNo) != platform::qt::MessageAnswer::Yes) {
        return true;
    }
    const QString name = fileDialog_.askSaveNameFor(this, currentFileName_);
    if (name.isEmpty()) {
        return true;
    }
    if (restoreText && traceActive_) {
        restoreProgramText();
    }
    if (!writeEditorText(name, failureTitle)) {
        return false;
    }
    fileDialog_.keep(name);
    if (savedName) {
        *savedName = name;
    }
    return true;
}

void Form1::newFile() {
    // A failed save keeps the program: the user decides again.
    if (modified_ && !askAndSave(QString::fromUtf8(applicationTitle), false, nullptr)) {
        return;
    }
    currentFileName_.clear();
    mnuUwagaki_->setEnabled(false);
    setWindowCaptionForFile();
    setEditorTextByProgram(U"");
    textIsSaved(U"");
    fileEncoding_ = platform::SourceEncoding::Cp932;
    fileLineEnds_ = platform::LineEndStyle::CrLf;
    enterEditing();
    breakpointLine_ = 0;
    label6_->setText(QString());
}

void Form1::openFile() {
    const QString name = fileDialog_.askOpenName(this);
    if (!name.isEmpty()) {
        openPath(name);
    }
}

void Form1::openGivenFile(const QString& name) {
    if (traceActive_ || sessionCalls_ > 0) {
        return;
    }
    if (modified_ && !askAndSave(QString::fromUtf8(applicationTitle), false, nullptr)) {
        return;
    }
    openPath(name);
}

void Form1::openPath(const QString& name) {
    // The whole file is read before the editor changes, so a bad file leaves it as it was.
    try {
        auto source = readForEditor(filePath(name));
        if (const auto* error = std::get_if<platform::FileError>(&source)) {
            ask(platform::qt::toQString(error->message), QString::fromUtf8(applicationTitle),
                platform::qt::MessageButtons::Ok);
            return;
        }
        const auto& text = std::get<platform::SourceText>(source);
        setEditorTextByProgram(text.text);
        fileEncoding_ = text.encoding;
        fileLineEnds_ = text.lineEnds;
    } catch (const std::bad_alloc&) {
        ask(QStringLiteral("メモリが足りないため、ファイルを開けません: ") + name,
            QString::fromUtf8(applicationTitle), platform::qt::MessageButtons::Ok);
        return;
    }
    fileDialog_.keep(name);
    textIsSaved(source_->editorText());
    currentFileName_ = name;
    mnuUwagaki_->setEnabled(true);
    setWindowCaptionForFile();
    enterEditing();
    breakpointLine_ = 0;
    label6_->setText(QString());
}

void Form1::saveAs() {
    const QString name = fileDialog_.askSaveName(this);
    if (name.isEmpty() || !writeEditorText(name, QString::fromUtf8(applicationTitle))) {
        return;
    }
    fileDialog_.keep(name);
    currentFileName_ = name;
    mnuUwagaki_->setEnabled(true);
    setWindowCaptionForFile();
}

void Form1::overwriteSave() {
    if (currentFileName_.isEmpty()) {
        return;
    }
    if (writeEditorText(currentFileName_, QString::fromUtf8(applicationTitle))) {
        modified_ = false;
    }
}

void Form1::exitProgram() {
    QString savedName;
    if (modified_ && !askAndSave(errorTitle(), false, &savedName)) {
        return;
    }
    if (!savedName.isEmpty()) {
        currentFileName_ = savedName;
        mnuUwagaki_->setEnabled(true);
    }
    endProgram();
    close();
}

void Form1::closeEvent(QCloseEvent* event) {
    if (ending_) {
        event->accept();
        return;
    }
    // A message or input box of the running program is open: it must be answered first.
    if (sessionCalls_ > 0 || (session_ && session_->asking())) {
        event->ignore();
        return;
    }
    QString savedName;
    if (modified_ && !askAndSave(errorTitle(), true, &savedName)) {
        event->ignore();
        return;
    }
    if (!savedName.isEmpty()) {
        currentFileName_ = savedName;
        mnuUwagaki_->setEnabled(true);
    }
    endProgram();
    event->accept();
}

void Form1::endProgram() {
    ending_ = true;
    session_.reset();
    traceActive_ = false;
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
    // A normal end: whatever was not saved was given up on purpose.
    recoveryTimer_->stop();
    recovery_.remove();
    emit programEnded();
}

} // namespace casl
