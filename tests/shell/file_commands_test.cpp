// The file commands: New, Open, Save As, Overwrite-save and Exit, the save question, closing
// the window, encodings and line-end styles, and failed saves.

#include "modal_answerer.h"
#include "platform/source_file.h"
#include "shell/form1.h"
#include "shell/source_editor.h"
#include "shell_test_support.h"

#include <QAction>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <sys/stat.h>

using namespace casl;
using namespace casl::test;

namespace {

const QString saveQuestion = QStringLiteral("ソースプログラムを保存しますか?");
const QString saveTitle = QStringLiteral("保存しますか?");
const QString diskFull = QStringLiteral("ディスクに書き込めません");

/// A character that CP932 has no code for.
const QString notInCp932 = QStringLiteral("é");

} // namespace

class FileCommandsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { setUpApplication(); }
    void init() {
        folder_ = std::make_unique<QTemporaryDir>();
        QVERIFY(folder_->isValid());
    }

    void newWithoutChangesAsksNothing();
    void newAsksAndSavesWithoutTakingTheName();
    void newStillEmptiesWhenTheSaveDialogIsCancelled();
    void newStopsWhenItsSaveFails();
    void openReadsCp932AndSavingBackGrowsByOneCrLf();
    void openKeepsUtf8AndLfEndings();
    void openOfAnUnreadableFileLeavesTheEditor();
    void openResetsTheBreakpointAndTrace();
    void openAsksToSaveAModifiedProgramFirst();
    void saveAsNamesTheFileButKeepsTheModifiedMark();
    void savingAnEmptyEditorWritesOneCrLf();
    void unencodableCharacterStopsTheSaveNamingTheLine();
    void overwriteSaveClearsTheModifiedMark();
    void exitAnsweredNoEndsWithoutWriting();
    void exitWithAFailingSaveKeepsTheWindow();
    void closingAsksAndCancelEndsWithoutWriting();
    void theSaveQuestionOffersExactlyTheCurrentName();
    void aFailedSaveIsNotKeptForTheNextDialog();
    void fileDialogHasItsTitleAndFilter();
    void openOfAFifoIsRefusedWithoutWaiting();
    void openRefusesWhatTheEditorCannotShowQuickly_data();
    void openRefusesWhatTheEditorCannotShowQuickly();
    void openKeepsUtf16AndSavesItBack();
    void saveOverAFifoIsRefusedAndKeepsIt();

private:
    QString path(const QString& name) const { return folder_->filePath(name); }
    /// An answer that notes the name and folder the save dialog offers, then cancels it.
    ModalAnswerer::Answer lookAtDialog(QString& name, QString& folder) const;

    std::unique_ptr<QTemporaryDir> folder_;
};

void FileCommandsTest::newWithoutChangesAsksNothing() {
    Form1 window;
    ModalAnswerer answers;
    child<QAction>(&window, "mnuSinki")->trigger();
    QCOMPARE(answers.seen().size(), std::size_t{0});
    QCOMPARE(window.windowTitle(), QStringLiteral("RuzidOV & OzerAR Orozaraz   "));
    QVERIFY(!child<QAction>(&window, "mnuUwagaki")->isEnabled());
}

void FileCommandsTest::newAsksAndSavesWithoutTakingTheName() {
    Form1 window;
    typeIntoEditor(window, QStringLiteral("a\tnop"));
    ModalAnswerer answers;
    answers.press(QMessageBox::Yes).choose(path("new.cas"));
    child<QAction>(&window, "mnuSinki")->trigger();
    QTRY_VERIFY(answers.done());
    QCOMPARE(answers.seen().at(0).text, saveQuestion);
    QCOMPARE(answers.seen().at(0).title, saveTitle);
    QCOMPARE(readBytes(path("new.cas")), QByteArray("A\tNOP\r\n"));
    QCOMPARE(window.currentFileName(), QString());
    QCOMPARE(window.editor()->toPlainText(), QString());
    QVERIFY(!child<QAction>(&window, "mnuUwagaki")->isEnabled());
}

void FileCommandsTest::newStillEmptiesWhenTheSaveDialogIsCancelled() {
    Form1 window;
    typeIntoEditor(window, QStringLiteral("x"));
    ModalAnswerer answers;
    answers.press(QMessageBox::Yes).cancel();
    child<QAction>(&window, "mnuSinki")->trigger();
    QCOMPARE(answers.seen().size(), std::size_t{2});
    QCOMPARE(window.editor()->toPlainText(), QString());
    QCOMPARE(answers.unexpected(), 0);
}

void FileCommandsTest::newStopsWhenItsSaveFails() {
    Form1 window;
    typeIntoEditor(window, QStringLiteral("A"));
    pasteIntoEditor(window, QStringLiteral("\tNOP\n; ") + notInCp932);
    ModalAnswerer answers;
    answers.press(QMessageBox::Yes).choose(path("fails.cas")).press(QMessageBox::Ok);
    child<QAction>(&window, "mnuSinki")->trigger();
    QTRY_VERIFY(answers.done());
    QVERIFY(answers.seen().at(2).text.startsWith(diskFull));
    QVERIFY(!QFile::exists(path("fails.cas")));
    QCOMPARE(window.editor()->toPlainText(), QStringLiteral("\tNOP\n; ") + notInCp932);
}

void FileCommandsTest::openReadsCp932AndSavingBackGrowsByOneCrLf() {
    // "あ" and "①" in CP932; the file ends with CR LF.
    const QByteArray bytes("PGM\tSTART\r\n; \x82\xa0\x87\x40\r\n\tRET\r\n\tEND\r\n");
    writeBytes(path("cp932.cas"), bytes);
    Form1 window;
    ModalAnswerer answers;
    answers.choose(path("cp932.cas"));
    child<QAction>(&window, "mnuOPEN")->trigger();
    QCOMPARE(window.editor()->toPlainText(), QStringLiteral("PGM\tSTART\n; あ①\n\tRET\n\tEND\n"));
    QCOMPARE(window.currentFileName(), path("cp932.cas"));
    QCOMPARE(window.windowTitle(),
             QStringLiteral("RuzidOV & OzerAR Orozaraz   ") + path("cp932.cas"));
    QVERIFY(child<QAction>(&window, "mnuUwagaki")->isEnabled());

    answers.choose(path("cp932.cas")).press(QMessageBox::Yes); // Save As over it: confirm
    child<QAction>(&window, "mnuSAVE")->trigger();
    QTRY_VERIFY(answers.done());
    QCOMPARE(readBytes(path("cp932.cas")), bytes + "\r\n");
}

void FileCommandsTest::openKeepsUtf8AndLfEndings() {
    const QByteArray bytes = QStringLiteral("; ①と髙\n\tNOP\n").toUtf8();
    writeBytes(path("utf8.cas"), bytes);
    Form1 window;
    ModalAnswerer answers;
    answers.choose(path("utf8.cas"));
    child<QAction>(&window, "mnuOPEN")->trigger();
    QCOMPARE(window.editor()->toPlainText(), QStringLiteral("; ①と髙\n\tNOP\n"));
    child<QAction>(&window, "mnuUwagaki")->trigger();
    QCOMPARE(readBytes(path("utf8.cas")), bytes + "\n");
    QCOMPARE(answers.unexpected(), 0);
}

void FileCommandsTest::openOfAnUnreadableFileLeavesTheEditor() {
    writeBytes(path("bad.cas"), QByteArray("\tNOP\r\n\x81\r\n"));
    Form1 window;
    pasteIntoEditor(window, QStringLiteral("KEEP"));
    ModalAnswerer answers;
    answers.press(QMessageBox::No).choose(path("bad.cas")).press(QMessageBox::Ok);
    child<QAction>(&window, "mnuOPEN")->trigger();
    QTRY_VERIFY(answers.done());
    QCOMPARE(answers.seen().at(2).kind, QStringLiteral("message"));
    QVERIFY2(answers.seen().at(2).text.contains(QStringLiteral("2行目")),
             qPrintable(answers.seen().at(2).text));
    QCOMPARE(window.editor()->toPlainText(), QStringLiteral("KEEP"));
    QCOMPARE(window.currentFileName(), QString());
}

void FileCommandsTest::openResetsTheBreakpointAndTrace() {
    writeBytes(path("two.cas"), QByteArray("P\tSTART\r\n\tRET\r\n\tEND\r\n"));
    Form1 window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    ModalAnswerer answers;
    answers.choose(path("two.cas"));
    child<QAction>(&window, "mnuOPEN")->trigger();
    child<QPushButton>(&window, "Assemble")->click();
    QVERIFY(child<QPushButton>(&window, "Trace")->isEnabled());
    clickOnLine(window, 2);
    QCOMPARE(window.breakpointLine(), 2);

    // Assemble rewrote the editor, so Open asks whether to save first.
    answers.press(QMessageBox::No).choose(path("two.cas"));
    child<QAction>(&window, "mnuOPEN")->trigger();
    QCOMPARE(window.breakpointLine(), 0);
    QVERIFY(!child<QPushButton>(&window, "Trace")->isEnabled());
    QVERIFY(!child<QPushButton>(&window, "Command4")->isEnabled());
    QVERIFY(child<QLabel>(&window, "Label6")->isHidden());
    QCOMPARE(child<QLabel>(&window, "Label6")->text(), QString());
}

void FileCommandsTest::openAsksToSaveAModifiedProgramFirst() {
    writeBytes(path("other.cas"), QByteArray("\tRET\r\n"));
    Form1 window;
    typeIntoEditor(window, QStringLiteral("\tnop"));
    ModalAnswerer answers;
    answers.press(QMessageBox::Yes).choose(path("mine.cas")).choose(path("other.cas"));
    child<QAction>(&window, "mnuOPEN")->trigger();
    QTRY_VERIFY(answers.done());
    QCOMPARE(answers.seen().at(0).text, QStringLiteral("ソースプログラムを保存しますか?"));
    QCOMPARE(answers.seen().at(0).title, QStringLiteral("保存しますか?"));
    QCOMPARE(readBytes(path("mine.cas")), QByteArray("\tNOP\r\n"));
    QCOMPARE(window.editor()->toPlainText(), QStringLiteral("\tRET\n"));
    QCOMPARE(window.currentFileName(), path("other.cas"));
    QCOMPARE(answers.unexpected(), 0);
}

void FileCommandsTest::saveAsNamesTheFileButKeepsTheModifiedMark() {
    Form1 window;
    typeIntoEditor(window, QStringLiteral("\tnop"));
    ModalAnswerer answers;
    answers.choose(path("saved.cas"));
    child<QAction>(&window, "mnuSAVE")->trigger();
    QCOMPARE(readBytes(path("saved.cas")), QByteArray("\tNOP\r\n"));
    QCOMPARE(window.currentFileName(), path("saved.cas"));
    QVERIFY(child<QAction>(&window, "mnuUwagaki")->isEnabled());
    QVERIFY(window.modifiedMark());

    // So Exit still asks.
    QSignalSpy ended(&window, &Form1::programEnded);
    answers.press(QMessageBox::No);
    child<QAction>(&window, "mnuEXIT")->trigger();
    QCOMPARE(answers.seen().back().text, saveQuestion);
    QCOMPARE(ended.count(), 1);
}

void FileCommandsTest::savingAnEmptyEditorWritesOneCrLf() {
    Form1 window;
    ModalAnswerer answers;
    answers.choose(path("empty.cas"));
    child<QAction>(&window, "mnuSAVE")->trigger();
    QCOMPARE(readBytes(path("empty.cas")), QByteArray("\r\n"));
}

void FileCommandsTest::unencodableCharacterStopsTheSaveNamingTheLine() {
    writeBytes(path("keep.cas"), QByteArray("OLD\r\n"));
    Form1 window;
    ModalAnswerer answers;
    answers.choose(path("keep.cas"));
    child<QAction>(&window, "mnuOPEN")->trigger();
    pasteIntoEditor(window, QStringLiteral("\tNOP\n\tNOP\n; caf") + notInCp932);
    answers.press(QMessageBox::Ok);
    child<QAction>(&window, "mnuUwagaki")->trigger();
    QTRY_VERIFY(answers.done());
    const QString message = answers.seen().back().text;
    QVERIFY2(message.startsWith(diskFull) && message.contains(QStringLiteral("3行目")),
             qPrintable(message));
    QCOMPARE(answers.seen().back().title, QStringLiteral("Varnic"));
    QCOMPARE(readBytes(path("keep.cas")), QByteArray("OLD\r\n"));
    QVERIFY(window.modifiedMark());
}

void FileCommandsTest::overwriteSaveClearsTheModifiedMark() {
    writeBytes(path("over.cas"), QByteArray("\tNOP"));
    Form1 window;
    ModalAnswerer answers;
    answers.choose(path("over.cas"));
    child<QAction>(&window, "mnuOPEN")->trigger();
    QVERIFY(window.modifiedMark());
    child<QAction>(&window, "mnuUwagaki")->trigger();
    QVERIFY(!window.modifiedMark());
    QCOMPARE(readBytes(path("over.cas")), QByteArray("\tNOP\r\n"));
    QSignalSpy ended(&window, &Form1::programEnded);
    child<QAction>(&window, "mnuEXIT")->trigger();
    QCOMPARE(answers.seen().size(), std::size_t{1});
    QCOMPARE(ended.count(), 1);
}

void FileCommandsTest::exitAnsweredNoEndsWithoutWriting() {
    Form1 window;
    window.show();
    typeIntoEditor(window, QStringLiteral("x"));
    QSignalSpy ended(&window, &Form1::programEnded);
    ModalAnswerer answers;
    answers.press(QMessageBox::No);
    child<QAction>(&window, "mnuEXIT")->trigger();
    QCOMPARE(ended.count(), 1);
    QCOMPARE(answers.seen().size(), std::size_t{1});
    QVERIFY(!window.isVisible());
}

void FileCommandsTest::exitWithAFailingSaveKeepsTheWindow() {
    Form1 window;
    window.show();
    pasteIntoEditor(window, notInCp932);
    QSignalSpy ended(&window, &Form1::programEnded);
    ModalAnswerer answers;
    answers.press(QMessageBox::Yes).choose(path("exit.cas")).press(QMessageBox::Ok);
    child<QAction>(&window, "mnuEXIT")->trigger();
    QTRY_VERIFY(answers.done());
    QVERIFY(answers.seen().at(2).text.startsWith(diskFull));
    QCOMPARE(answers.seen().at(2).title, QStringLiteral("ERROR"));
    QCOMPARE(ended.count(), 0);
    QVERIFY(window.isVisible());
    QCOMPARE(window.editor()->toPlainText(), notInCp932);
}

void FileCommandsTest::closingAsksAndCancelEndsWithoutWriting() {
    Form1 window;
    window.show();
    typeIntoEditor(window, QStringLiteral("x"));
    QSignalSpy ended(&window, &Form1::programEnded);
    ModalAnswerer answers;
    answers.press(QMessageBox::Yes).cancel();
    QVERIFY(window.close());
    QCOMPARE(answers.seen().size(), std::size_t{2});
    QCOMPARE(answers.seen().at(0).text, saveQuestion);
    QCOMPARE(ended.count(), 1);
    QVERIFY(QDir(folder_->path()).isEmpty());
}

ModalAnswerer::Answer FileCommandsTest::lookAtDialog(QString& name, QString& folder) const {
    return [&name, &folder](QWidget* box) {
        auto* dialog = qobject_cast<QFileDialog*>(box);
        QVERIFY(dialog);
        name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->text();
        folder = dialog->directory().canonicalPath();
        dialog->reject();
    };
}

void FileCommandsTest::theSaveQuestionOffersExactlyTheCurrentName() {
    const QString here = QDir(folder_->path()).canonicalPath();
    Form1 window;
    window.show();
    typeIntoEditor(window, QStringLiteral("\tnop"));
    ModalAnswerer answers;
    answers.choose(path("first.cas"));
    child<QAction>(&window, "mnuSAVE")->trigger();
    QCOMPARE(window.currentFileName(), path("first.cas"));

    // New asks with the current file's name.
    QString name, folder;
    answers.press(QMessageBox::Yes).then(lookAtDialog(name, folder));
    child<QAction>(&window, "mnuSinki")->trigger();
    QTRY_VERIFY(answers.done());
    QCOMPARE(name, QStringLiteral("first.cas"));
    QCOMPARE(folder, here);

    // After New there is no current file: Exit offers no name, so Enter cannot overwrite
    // first.cas, though the dialog still starts in its folder.
    typeIntoEditor(window, QStringLiteral("x"));
    name = QStringLiteral("unset");
    answers.press(QMessageBox::Yes).then(lookAtDialog(name, folder));
    child<QAction>(&window, "mnuEXIT")->trigger();
    QTRY_VERIFY(answers.done());
    QCOMPARE(name, QString());
    QCOMPARE(folder, here);
    QCOMPARE(readBytes(path("first.cas")), QByteArray("\tNOP\r\n"));
    QCOMPARE(answers.unexpected(), 0);
}

void FileCommandsTest::aFailedSaveIsNotKeptForTheNextDialog() {
    QVERIFY(QDir(folder_->path()).mkdir(QStringLiteral("other")));
    Form1 window;
    pasteIntoEditor(window, QStringLiteral("\tNOP"));
    ModalAnswerer answers;
    answers.choose(path("good.cas"));
    child<QAction>(&window, "mnuSAVE")->trigger();
    QCOMPARE(readBytes(path("good.cas")), QByteArray("\tNOP\r\n"));

    pasteIntoEditor(window, notInCp932);
    answers.choose(path("other/bad.cas")).press(QMessageBox::Ok);
    child<QAction>(&window, "mnuSAVE")->trigger();
    QTRY_VERIFY(answers.done());
    QVERIFY(answers.seen().back().text.startsWith(diskFull));
    QCOMPARE(window.currentFileName(), path("good.cas"));

    QString name, folder;
    answers.then(lookAtDialog(name, folder));
    child<QAction>(&window, "mnuSAVE")->trigger();
    QTRY_VERIFY(answers.done());
    QCOMPARE(name, QStringLiteral("good.cas"));
    QCOMPARE(folder, QDir(folder_->path()).canonicalPath());
    QCOMPARE(answers.unexpected(), 0);
}

void FileCommandsTest::fileDialogHasItsTitleAndFilter() {
    Form1 window;
    QString title;
    QStringList filters;
    ModalAnswerer answers;
    answers.then([&](QWidget* box) {
        auto* dialog = qobject_cast<QFileDialog*>(box);
        title = dialog->windowTitle();
        filters = dialog->nameFilters();
        dialog->reject();
    });
    child<QAction>(&window, "mnuOPEN")->trigger();
    QCOMPARE(title, QStringLiteral("Varnic II"));
    QCOMPARE(filters, QStringList({QStringLiteral("Caslファイル(*.cas)"),
                                   QStringLiteral("すべてのファイル(*.*)")}));
}

void FileCommandsTest::openOfAFifoIsRefusedWithoutWaiting() {
    QVERIFY(::mkfifo(QFile::encodeName(path("pipe.cas")).constData(), 0600) == 0);
    Form1 window;
    pasteIntoEditor(window, QStringLiteral("KEEP"));
    ModalAnswerer answers;
    answers.press(QMessageBox::No).choose(path("pipe.cas")).press(QMessageBox::Ok);
    // Opening the FIFO used to wait for a writer, freezing the window for ever.
    child<QAction>(&window, "mnuOPEN")->trigger();
    QTRY_VERIFY(answers.done());
    QVERIFY2(answers.seen().at(2).text.contains(QStringLiteral("名前付きパイプ (FIFO)")),
             qPrintable(answers.seen().at(2).text));
    QCOMPARE(window.editor()->toPlainText(), QStringLiteral("KEEP"));
    QCOMPARE(window.currentFileName(), QString());
}

void FileCommandsTest::openRefusesWhatTheEditorCannotShowQuickly_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("message");
    const QByteArray longLine = QByteArray(platform::maxEditorLineLength + 1, 'A');
    QTest::newRow("one line of 5 MB")
        << QByteArray("\tDC\t'") + QByteArray(5 << 20, 'A') + "'"
        << QStringLiteral("上限 2 MiB (2097152 バイト) を超えています");
    QTest::newRow("a line too long for the editor")
        << QByteArray("\tNOP\r\n\tNOP\r\n") + longLine + "\r\n"
        << QStringLiteral("3行目が長すぎます。エディタの1行は 32768 文字までです");
}

void FileCommandsTest::openRefusesWhatTheEditorCannotShowQuickly() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, message);
    writeBytes(path("big.cas"), bytes);
    Form1 window;
    pasteIntoEditor(window, QStringLiteral("KEEP"));
    ModalAnswerer answers;
    answers.press(QMessageBox::No).choose(path("big.cas")).press(QMessageBox::Ok);
    child<QAction>(&window, "mnuOPEN")->trigger();
    QTRY_VERIFY(answers.done());
    QVERIFY2(answers.seen().at(2).text.contains(message), qPrintable(answers.seen().at(2).text));
    QCOMPARE(window.editor()->toPlainText(), QStringLiteral("KEEP"));
}

void FileCommandsTest::openKeepsUtf16AndSavesItBack() {
    // "P<TAB>START", "; あ" in UTF-16, little-endian, with its byte-order mark.
    const QByteArray bytes("\xFF\xFEP\0\t\0S\0T\0A\0R\0T\0\r\0\n\0;\0 \0\x42\x30", 26);
    writeBytes(path("utf16.cas"), bytes);
    Form1 window;
    ModalAnswerer answers;
    answers.choose(path("utf16.cas"));
    child<QAction>(&window, "mnuOPEN")->trigger();
    QCOMPARE(window.editor()->toPlainText(), QStringLiteral("P\tSTART\n; あ"));
    child<QAction>(&window, "mnuUwagaki")->trigger();
    QCOMPARE(readBytes(path("utf16.cas")), bytes + QByteArray("\r\0\n\0", 4));
    QCOMPARE(answers.unexpected(), 0);
}

void FileCommandsTest::saveOverAFifoIsRefusedAndKeepsIt() {
    const QByteArray fifo = QFile::encodeName(path("pipe.cas"));
    QVERIFY(::mkfifo(fifo.constData(), 0600) == 0);
    Form1 window;
    typeIntoEditor(window, QStringLiteral("\tnop"));
    ModalAnswerer answers;
    answers.choose(path("pipe.cas")).press(QMessageBox::Yes).press(QMessageBox::Ok);
    child<QAction>(&window, "mnuSAVE")->trigger();
    QTRY_VERIFY(answers.done());
    const QString message = answers.seen().back().text;
    QVERIFY2(message.startsWith(diskFull) && message.contains(QStringLiteral("名前付きパイプ")),
             qPrintable(message));
    struct stat info {};
    QCOMPARE(::lstat(fifo.constData(), &info), 0);
    QVERIFY(S_ISFIFO(info.st_mode));
    QCOMPARE(window.currentFileName(), QString());
}

QTEST_MAIN(FileCommandsTest)
#include "file_commands_test.moc"
