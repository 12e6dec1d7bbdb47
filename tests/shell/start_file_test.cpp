// The command line of varnic, and the file it names opened at start: how a file manager or the
// desktop's "Open with" hands a .cas file to the workbench.

#include "modal_answerer.h"
#include "shell/form1.h"
#include "shell/source_editor.h"
#include "shell/start_arguments.h"
#include "shell_test_support.h"

#include <QAction>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>

using namespace casl;
using namespace casl::test;

namespace {

const QString saveQuestion = QStringLiteral("ソースプログラムを保存しますか?");
const QByteArray program("PGM\tSTART\r\n; \x82\xa0\r\n\tRET\r\n\tEND\r\n");
const QString programText = QStringLiteral("PGM\tSTART\n; あ\n\tRET\n\tEND\n");

} // namespace

class StartFileTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { setUpApplication(); }
    void init() {
        folder_ = std::make_unique<QTemporaryDir>();
        QVERIFY(folder_->isValid());
        writeBytes(path("given.cas"), program);
    }

    void argumentsAreRead_data();
    void argumentsAreRead();
    void theGivenFileOpensAsOpenOpensIt();
    void unsavedTextIsNotReplacedWithoutTheSaveQuestion();
    void aFailedSaveKeepsTheUnsavedText();
    void anUnreadableGivenFileLeavesTheEditorWithAMessage();

private:
    QString path(const QString& name) const { return folder_->filePath(name); }

    std::unique_ptr<QTemporaryDir> folder_;
};

void StartFileTest::argumentsAreRead_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("message"); ///< What the printed text holds.
    QTest::addColumn<int>("exitStatus");
    const QString none;
    QTest::newRow("no file: an empty editor") << QStringList{} << none << none << 0;
    QTest::newRow("a relative file is taken from the current folder")
        << QStringList{QStringLiteral("sub/../a.cas")} << QStringLiteral("/work/here/a.cas") << none
        << 0;
    QTest::newRow("an absolute file stays")
        << QStringList{QStringLiteral("/tmp/b.cas")} << QStringLiteral("/tmp/b.cas") << none << 0;
    QTest::newRow("a file URL names its path")
        << QStringList{QStringLiteral("file:///tmp/with%20blank.cas")}
        << QStringLiteral("/tmp/with blank.cas") << none << 0;
    QTest::newRow("after -- a file may begin with a dash")
        << QStringList{QStringLiteral("--"), QStringLiteral("-odd.cas")}
        << QStringLiteral("/work/here/-odd.cas") << none << 0;
    QTest::newRow("--version") << QStringList{QStringLiteral("--version")} << none
                               << QStringLiteral("varnic " CASL_VERSION "\n") << 0;
    QTest::newRow("two files are refused")
        << QStringList{QStringLiteral("a.cas"), QStringLiteral("b.cas")} << none
        << QStringLiteral("varnic: opens one FILE, not 2\n") << 2;
    QTest::newRow("an unknown option is refused")
        << QStringList{QStringLiteral("--bogus")} << none << QStringLiteral("'bogus'") << 2;
}

void StartFileTest::argumentsAreRead() {
    QFETCH(QStringList, arguments);
    QFETCH(QString, file);
    QFETCH(QString, message);
    QFETCH(int, exitStatus);
    arguments.prepend(QStringLiteral("varnic"));
    const StartArguments start = readStartArguments(arguments, QStringLiteral("/work/here"));
    QCOMPARE(start.file, file);
    // Qt words the error about an option in the language of its loaded translation.
    QCOMPARE(start.message.isEmpty(), message.isEmpty());
    QVERIFY2(start.message.contains(message), qPrintable(start.message));
    QCOMPARE(start.exitStatus, exitStatus);
}

void StartFileTest::theGivenFileOpensAsOpenOpensIt() {
    const StartArguments help =
        readStartArguments({QStringLiteral("varnic"), QStringLiteral("-h")}, QString());
    QVERIFY(help.message.startsWith(QStringLiteral("Usage: varnic [OPTIONS] [FILE]\n")));

    Form1 window;
    ModalAnswerer answers;
    window.openGivenFile(path("given.cas"));
    QCOMPARE(answers.seen().size(), std::size_t{0});
    QCOMPARE(window.editor()->toPlainText(), programText);
    QCOMPARE(window.currentFileName(), path("given.cas"));
    QCOMPARE(window.windowTitle(),
             QStringLiteral("RuzidOV & OzerAR Orozaraz   ") + path("given.cas"));
    QVERIFY(child<QAction>(&window, "mnuUwagaki")->isEnabled());
    // Saved back in the encoding it was read in.
    child<QAction>(&window, "mnuUwagaki")->trigger();
    QCOMPARE(readBytes(path("given.cas")), program + "\r\n");
}

void StartFileTest::unsavedTextIsNotReplacedWithoutTheSaveQuestion() {
    Form1 window;
    typeIntoEditor(window, QStringLiteral("\tnop"));
    ModalAnswerer answers;
    answers.press(QMessageBox::Yes).choose(path("kept.cas"));
    window.openGivenFile(path("given.cas"));
    QTRY_VERIFY(answers.done());
    QCOMPARE(answers.seen().at(0).text, saveQuestion);
    QCOMPARE(readBytes(path("kept.cas")), QByteArray("\tNOP\r\n"));
    QCOMPARE(window.editor()->toPlainText(), programText);
    QCOMPARE(window.currentFileName(), path("given.cas"));

    // Answered No, the text is given up as the user said.
    typeIntoEditor(window, QStringLiteral("x"));
    answers.press(QMessageBox::No);
    window.openGivenFile(path("given.cas"));
    QTRY_VERIFY(answers.done());
    QCOMPARE(window.editor()->toPlainText(), programText);
    QCOMPARE(answers.unexpected(), 0);
}

void StartFileTest::aFailedSaveKeepsTheUnsavedText() {
    Form1 window;
    typeIntoEditor(window, QStringLiteral("A"));
    // A character that CP932 cannot hold stops the save.
    pasteIntoEditor(window, QStringLiteral("\tNOP ; é"));
    ModalAnswerer answers;
    answers.press(QMessageBox::Yes).choose(path("fails.cas")).press(QMessageBox::Ok);
    window.openGivenFile(path("given.cas"));
    QTRY_VERIFY(answers.done());
    QCOMPARE(window.editor()->toPlainText(), QStringLiteral("\tNOP ; é"));
    QCOMPARE(window.currentFileName(), QString());
    QCOMPARE(answers.unexpected(), 0);
}

void StartFileTest::anUnreadableGivenFileLeavesTheEditorWithAMessage() {
    Form1 window;
    ModalAnswerer answers;
    answers.press(QMessageBox::Ok);
    window.openGivenFile(path("missing.cas"));
    QTRY_VERIFY(answers.done());
    QCOMPARE(answers.seen().at(0).kind, QStringLiteral("message"));
    QCOMPARE(window.editor()->toPlainText(), QString());
    QCOMPARE(window.currentFileName(), QString());
    QVERIFY(!child<QAction>(&window, "mnuUwagaki")->isEnabled());
}

QTEST_MAIN(StartFileTest)
#include "start_file_test.moc"
