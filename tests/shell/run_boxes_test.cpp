// The run's boxes in the window open without a nested event loop: the call that opened one
// returns with the box open, the run waits in it, and answering the box lets the run go on.
// No answerer or timer is involved: each test answers the open box itself.

#include "shell/form1.h"
#include "shell/source_editor.h"
#include "shell_test_support.h"

#include <QApplication>
#include <QCloseEvent>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

using namespace casl;
using namespace casl::test;

namespace {

const QString echoProgram = QStringLiteral("ECHO\tSTART\n"    // 1
                                           "\tIN\tBUF,LEN\n"  // 2
                                           "\tOUT\tBUF,LEN\n" // 3
                                           "\tRET\n"          // 4
                                           "BUF\tDS\t10\n"    // 5
                                           "LEN\tDS\t1\n"     // 6
                                           "\tEND\n");        // 7

/// The box of the run that is open now, if it is of type `Box`.
template <typename Box> Box* openBox() {
    return qobject_cast<Box*>(QApplication::activeModalWidget());
}

void press(QMessageBox* box, QMessageBox::StandardButton button) {
    QVERIFY(box);
    box->button(button)->click();
}

} // namespace

class RunBoxesTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { setUpApplication(); }

    void theRunWaitsInItsBoxesUntilTheyAreAnswered();
    void theStepQuestionAnsweredNoEndsTheRun();
    void theWindowStaysOpenWhileABoxOfTheRunIsOpen();
};

void RunBoxesTest::theRunWaitsInItsBoxesUntilTheyAreAnswered() {
    Form1 window;
    assembleAndShow(window, echoProgram);
    auto* next = child<QPushButton>(&window, "Command1");
    child<QPushButton>(&window, "Trace")->click();
    QVERIFY(!QApplication::activeModalWidget());

    // Next executes IN: the click returns with the input box open.
    next->click();
    auto* input = openBox<QInputDialog>();
    QVERIFY(input);
    QCOMPARE(input->windowTitle(), QStringLiteral("IN command"));
    QCOMPARE(input->labelText(), QStringLiteral("Input"));
    QCOMPARE(child<QLabel>(&window, "pc")->text(), QStringLiteral("PR:0004"));
    // Next does nothing while the box waits for its answer.
    next->click();
    QCOMPARE(openBox<QInputDialog>(), input);
    input->setTextValue(QStringLiteral("hi"));
    input->accept();
    QVERIFY(!QApplication::activeModalWidget());
    QVERIFY(child<QPlainTextEdit>(&window, "Text1")
                ->toPlainText()
                .contains(QStringLiteral("LEN       ")));
    QVERIFY(child<QPlainTextEdit>(&window, "Text1")
                ->toPlainText()
                .contains(QStringLiteral("0002 (2)")));

    // OUT shows everything written so far and waits for OK.
    next->click();
    auto* out = openBox<QMessageBox>();
    QVERIFY(out);
    QCOMPARE(out->windowTitle(), QStringLiteral("OUT command"));
    QCOMPARE(out->text(), QStringLiteral("\nhi"));
    QVERIFY(window.traceActive());
    press(out, QMessageBox::Ok);

    // RET ends the program: the message first, the window restores itself after OK.
    next->click();
    auto* end = openBox<QMessageBox>();
    QVERIFY(end);
    QCOMPARE(end->text(), QStringLiteral("Program終了"));
    QCOMPARE(end->windowTitle(), QStringLiteral("Program Terminated"));
    QVERIFY(window.traceActive());
    QVERIFY(window.editor()->isReadOnly());
    press(end, QMessageBox::Ok);
    QVERIFY(!window.traceActive());
    QVERIFY(!window.editor()->isReadOnly());
    QVERIFY(child<QPushButton>(&window, "Trace")->isEnabled());
}

void RunBoxesTest::theStepQuestionAnsweredNoEndsTheRun() {
    Form1 window;
    assembleAndShow(window, QStringLiteral("P\tSTART\nL\tJUMP\tL\n\tRET\n\tEND\n"));
    clickOnLine(window, 3);
    child<QPushButton>(&window, "Trace")->click();
    auto* question = openBox<QMessageBox>();
    QVERIFY(question);
    QCOMPARE(question->windowTitle(), QStringLiteral("確認"));
    press(question, QMessageBox::Yes);
    // Yes: 101 more steps, then the question again.
    question = openBox<QMessageBox>();
    QVERIFY(question);
    QVERIFY(window.traceActive());
    press(question, QMessageBox::No);
    QVERIFY(!window.traceActive());
    QVERIFY(!QApplication::activeModalWidget());
}

void RunBoxesTest::theWindowStaysOpenWhileABoxOfTheRunIsOpen() {
    Form1 window;
    assembleAndShow(window, echoProgram);
    child<QPushButton>(&window, "Trace")->click();
    child<QPushButton>(&window, "Command1")->click();
    auto* input = openBox<QInputDialog>();
    QVERIFY(input);
    QCloseEvent close;
    QApplication::sendEvent(&window, &close);
    QVERIFY(!close.isAccepted());
    QVERIFY(window.traceActive());
    input->reject();
    // A cancelled input box stores length 0 and the run waits again.
    QVERIFY(!QApplication::activeModalWidget());
    QVERIFY(window.traceActive());
    child<QPushButton>(&window, "Command2")->click();
    QVERIFY(!window.traceActive());
}

QTEST_MAIN(RunBoxesTest)
#include "run_boxes_test.moc"
