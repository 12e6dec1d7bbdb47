// Open reports running out of memory instead of ending the program. Allocations of this test
// program fail above a chosen size (allocation_limit.cpp), as they would under a tight memory
// limit.

#include "../platform/allocation_limit.h"
#include "modal_answerer.h"
#include "shell/form1.h"
#include "shell/source_editor.h"
#include "shell_test_support.h"

#include <QAction>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>

using namespace casl;
using namespace casl::test;

class OpenMemoryTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { setUpApplication(); }
    void runningOutOfMemoryIsReportedAndKeepsTheEditor();
};

void OpenMemoryTest::runningOutOfMemoryIsReportedAndKeepsTheEditor() {
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("big.cas"));
    writeBytes(path, QByteArray("\tNOP\r\n;") + QByteArray(1 << 20, 'A'));
    Form1 window;
    pasteIntoEditor(window, QStringLiteral("KEEP"));
    ModalAnswerer answers;
    answers.press(QMessageBox::No)
        .then([&path](QWidget* box) {
            auto* dialog = qobject_cast<QFileDialog*>(box);
            QVERIFY(dialog);
            dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(path);
            // From here on the memory runs short: reading the file of 1 MB fails.
            limitAllocations(256 * 1024);
            static_cast<QDialog*>(dialog)->accept();
        })
        .press(QMessageBox::Ok);
    child<QAction>(&window, "mnuOPEN")->trigger();
    liftAllocationLimit();
    QTRY_VERIFY(answers.done());
    QCOMPARE(answers.seen().size(), std::size_t{3});
    QCOMPARE(answers.seen().at(2).text,
             QStringLiteral("メモリが足りないため、ファイルを開けません: ") + path);
    QCOMPARE(window.editor()->toPlainText(), QStringLiteral("KEEP"));
    QCOMPARE(window.currentFileName(), QString());
}

QTEST_MAIN(OpenMemoryTest)
#include "open_memory_test.moc"
