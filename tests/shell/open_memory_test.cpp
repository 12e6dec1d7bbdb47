// Open reports running out of memory instead of ending the program. Allocations of this test
// program fail above a chosen size, as they would under a tight memory limit.

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
#include <atomic>
#include <cstdlib>
#include <new>

namespace {

std::atomic<std::size_t> largestAllocation{SIZE_MAX};

} // namespace

void* operator new(std::size_t size) {
    if (size > largestAllocation.load()) {
        throw std::bad_alloc();
    }
    if (void* memory = std::malloc(size == 0 ? 1 : size)) {
        return memory;
    }
    throw std::bad_alloc();
}

// The replacement takes its memory from malloc, so free is the matching release.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
#endif

void operator delete(void* memory) noexcept {
    std::free(memory);
}

void operator delete(void* memory, std::size_t) noexcept {
    std::free(memory);
}

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
    answers
        .then([&path](QWidget* box) {
            auto* dialog = qobject_cast<QFileDialog*>(box);
            QVERIFY(dialog);
            dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(path);
            // From here on the memory runs short: reading the file of 1 MB fails.
            largestAllocation = 256 * 1024;
            static_cast<QDialog*>(dialog)->accept();
        })
        .press(QMessageBox::Ok);
    child<QAction>(&window, "mnuOPEN")->trigger();
    largestAllocation = SIZE_MAX;
    QTRY_VERIFY(answers.done());
    QCOMPARE(answers.seen().size(), std::size_t{2});
    QCOMPARE(answers.seen().at(1).text,
             QStringLiteral("メモリが足りないため、ファイルを開けません: ") + path);
    QCOMPARE(window.editor()->toPlainText(), QStringLiteral("KEEP"));
    QCOMPARE(window.currentFileName(), QString());
}

QTEST_MAIN(OpenMemoryTest)
#include "open_memory_test.moc"
