// Unsaved text kept in the recovery file and offered back after a crash.

#include "modal_answerer.h"
#include "platform/recovery_file.h"
#include "programs.h"
#include "shell/form1.h"
#include "shell/source_editor.h"
#include "shell_test_support.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <memory>

using namespace casl;
using namespace casl::test;

namespace {

const QByteArray recoveryHeader("varnic-recovery 1\n");

} // namespace

class RecoveryTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        setUpApplication();
        oldStateHome_ = qgetenv("XDG_STATE_HOME");
    }
    void init() {
        state_ = std::make_unique<QTemporaryDir>();
        files_ = std::make_unique<QTemporaryDir>();
        QVERIFY(state_->isValid() && files_->isValid());
        qputenv("XDG_STATE_HOME", QFile::encodeName(state_->path()));
    }
    void cleanup() {
        state_.reset();
        files_.reset();
    }
    void cleanupTestCase() { qputenv("XDG_STATE_HOME", oldStateHome_); }

    void unsavedTextIsKeptPrivatelyWithinSeconds();
    void savingRemovesTheKeptTextAndEditingBringsItBack();
    void aNormalEndRemovesTheKeptText();
    void theTraceKeepsTheProgramsOwnText();
    void aCrashedWorkbenchsTextIsOfferedAndRestored();
    void declinedTextIsRemoved();
    void nothingIsOfferedWithoutLeftText();
    void theTextOfARunningWorkbenchIsNotOffered();

private:
    QString folder() const { return state_->filePath(QStringLiteral("varnic")); }
    /// The recovery files in the state folder.
    QStringList recoveryFiles() const {
        return QDir(folder()).entryList({QStringLiteral("unsaved-*.txt")}, QDir::Files);
    }
    /// The bytes of the only recovery file, or "" when there is not exactly one.
    QByteArray recoveryBytes() const {
        const QStringList files = recoveryFiles();
        return files.size() == 1 ? readBytes(QDir(folder()).filePath(files.front())) : QByteArray();
    }

    QByteArray oldStateHome_;
    std::unique_ptr<QTemporaryDir> state_;
    std::unique_ptr<QTemporaryDir> files_;
};

void RecoveryTest::unsavedTextIsKeptPrivatelyWithinSeconds() {
    Form1 window;
    typeIntoEditor(window, QStringLiteral("\tnop\n"));
    QVERIFY(recoveryFiles().isEmpty());
    // The default wait of QTRY is five seconds; the text is kept within two.
    QTRY_COMPARE(recoveryBytes(), recoveryHeader + "\n\tNOP\r\n");
    const QFileInfo file(QDir(folder()).filePath(recoveryFiles().front()));
    QCOMPARE(file.permissions() &
                 ~(QFile::ReadUser | QFile::WriteUser | QFile::ReadOwner | QFile::WriteOwner),
             QFile::Permissions());
    QCOMPARE(QFileInfo(folder()).permissions() &
                 (QFile::ReadOther | QFile::ExeOther | QFile::ReadGroup | QFile::ExeGroup),
             QFile::Permissions());

    typeIntoEditor(window, QStringLiteral("\tret"));
    QTRY_COMPARE(recoveryBytes(), recoveryHeader + "\n\tNOP\r\n\tRET");
}

void RecoveryTest::savingRemovesTheKeptTextAndEditingBringsItBack() {
    Form1 window;
    typeIntoEditor(window, QStringLiteral("\tnop"));
    QTRY_COMPARE(recoveryFiles().size(), 1);
    ModalAnswerer answers;
    answers.choose(files_->filePath(QStringLiteral("saved.cas")));
    child<QAction>(&window, "mnuSAVE")->trigger();
    QCOMPARE(recoveryFiles().size(), 0);

    typeIntoEditor(window, QStringLiteral("x"));
    QTRY_COMPARE(recoveryBytes(),
                 recoveryHeader + QFile::encodeName(files_->filePath("saved.cas")) + "\n\tNOPX");
    // Back to the saved text: nothing is unsaved.
    QTest::keyClick(window.editor(), Qt::Key_Backspace);
    QTRY_COMPARE(recoveryFiles().size(), 0);
}

void RecoveryTest::aNormalEndRemovesTheKeptText() {
    {
        Form1 window;
        typeIntoEditor(window, QStringLiteral("x"));
        QTRY_COMPARE(recoveryFiles().size(), 1);
        QSignalSpy ended(&window, &Form1::programEnded);
        ModalAnswerer answers;
        answers.press(QMessageBox::No);
        child<QAction>(&window, "mnuEXIT")->trigger();
        QCOMPARE(ended.count(), 1);
        QCOMPARE(recoveryFiles().size(), 0);
    }
    {
        // Ended before the text was kept: nothing is kept afterwards either.
        Form1 window;
        typeIntoEditor(window, QStringLiteral("z"));
        QVERIFY(child<QTimer>(&window, "recoveryTimer")->isActive());
        ModalAnswerer answers;
        answers.press(QMessageBox::No);
        child<QAction>(&window, "mnuEXIT")->trigger();
        QVERIFY(!child<QTimer>(&window, "recoveryTimer")->isActive());
        QCOMPARE(recoveryFiles().size(), 0);
    }
    {
        Form1 window;
        typeIntoEditor(window, QStringLiteral("y"));
        QTRY_COMPARE(recoveryFiles().size(), 1);
    }
    QCOMPARE(QDir(folder()).entryList(QDir::Files), QStringList());
}

void RecoveryTest::theTraceKeepsTheProgramsOwnText() {
    Form1 window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    pasteIntoEditor(window, addProgram);
    child<QPushButton>(&window, "Assemble")->click();
    child<QPushButton>(&window, "Trace")->click();
    QVERIFY(window.traceActive());
    QVERIFY(window.editor()->toPlainText().contains(QStringLiteral(">>>>>> ")));
    QByteArray program = addProgram.toUtf8();
    program.replace("\n", "\r\n");
    QTRY_COMPARE(recoveryBytes(), recoveryHeader + "\n" + program);
    child<QPushButton>(&window, "Command2")->click();
}

void RecoveryTest::aCrashedWorkbenchsTextIsOfferedAndRestored() {
    QDir().mkpath(folder());
    // What a workbench that crashed leaves: the text without a running owner's lock.
    const QString left = QDir(folder()).filePath(QStringLiteral("unsaved-crash1.txt"));
    writeBytes(left, recoveryHeader + "/home/student/prog.cas\nPGM\tSTART\r\n\tRET\r\n\tEND");
    Form1 window;
    ModalAnswerer answers;
    answers.press(QMessageBox::Yes);
    window.offerRecovery();
    QCOMPARE(answers.seen().size(), std::size_t{1});
    QCOMPARE(answers.seen().front().title, QStringLiteral("編集内容の復元"));
    QCOMPARE(answers.seen().front().text,
             QStringLiteral("前回終了したときに保存されていなかった編集内容があります。\n"
                            "復元しますか?\n\n元のファイル: /home/student/prog.cas"));
    QCOMPARE(window.editor()->toPlainText(), QStringLiteral("PGM\tSTART\n\tRET\n\tEND"));
    QVERIFY(window.modifiedMark());
    QCOMPARE(window.currentFileName(), QString());
    QVERIFY(!QFile::exists(left));
    // The restored text is kept at once by this workbench, so a second crash loses nothing.
    QCOMPARE(recoveryBytes(), recoveryHeader + "\nPGM\tSTART\r\n\tRET\r\n\tEND");
}

void RecoveryTest::declinedTextIsRemoved() {
    QDir().mkpath(folder());
    const QString left = QDir(folder()).filePath(QStringLiteral("unsaved-crash2.txt"));
    writeBytes(left, recoveryHeader + "\n\tNOP");
    Form1 window;
    ModalAnswerer answers;
    answers.press(QMessageBox::No);
    window.offerRecovery();
    QCOMPARE(answers.seen().size(), std::size_t{1});
    QVERIFY(!answers.seen().front().text.contains(QStringLiteral("元のファイル")));
    QCOMPARE(window.editor()->toPlainText(), QString());
    QVERIFY(!window.modifiedMark());
    QCOMPARE(QDir(folder()).entryList(QDir::Files), QStringList());
}

void RecoveryTest::nothingIsOfferedWithoutLeftText() {
    Form1 window;
    ModalAnswerer answers;
    window.offerRecovery();
    QCOMPARE(answers.seen().size(), std::size_t{0});
}

void RecoveryTest::theTextOfARunningWorkbenchIsNotOffered() {
    platform::RecoveryFile other;
    QVERIFY(!other.write({U"\tNOP", U""}));
    Form1 window;
    ModalAnswerer answers;
    window.offerRecovery();
    QCOMPARE(answers.seen().size(), std::size_t{0});
    QVERIFY(QFile::exists(QFile::decodeName(other.path().c_str())));
}

QTEST_MAIN(RecoveryTest)
#include "recovery_test.moc"
