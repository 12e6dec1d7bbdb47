// 戻る in the window: when it can be pressed, what it gives back (every display text and the
// marked line, exactly as the run showed them), its key, and Next after it.

#include "shell/editor_marks.h"
#include "shell/form1.h"
#include "shell/source_editor.h"
#include "shell_test_support.h"

#include <QApplication>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

using namespace casl;
using namespace casl::test;

namespace {

const QString storingProgram = QStringLiteral("P\tSTART\n"         // 1
                                              "\tLAD\tGR1,7\n"     // 2
                                              "\tST\tGR1,X\n"      // 3
                                              "\tPUSH\t0,GR1\n"    // 4
                                              "\tCALL\tSUB\n"      // 5
                                              "\tPOP\tGR2\n"       // 6
                                              "\tSUBA\tGR2,X\n"    // 7
                                              "\tRET\n"            // 8
                                              "SUB\tADDA\tGR1,X\n" // 9
                                              "\tRET\n"            // 10
                                              "X\tDS\t1\n"         // 11
                                              "\tEND\n");

const QString echoProgram = QStringLiteral("ECHO\tSTART\n"   // 1
                                           "\tIN\tBUF,LEN\n" // 2
                                           "\tLD\tGR1,LEN\n" // 3
                                           "\tRET\n"         // 4
                                           "BUF\tDS\t10\n"   // 5
                                           "LEN\tDS\t1\n"    // 6
                                           "\tEND\n");       // 7

/// Everything the window shows of a run.
struct Shown {
    QStringList captions;
    QString dataArea;
    QString stackArea;
    QString editor;
    int executedLine = 0;
};

Shown shownBy(const Form1& window) {
    Shown shown;
    for (const char* name : {"GR0", "gr1", "gr2", "gr3", "GR4", "gr5", "gr6", "gr7", "pc", "sp",
                             "fr", "obj", "Label6"}) {
        shown.captions << child<QLabel>(&window, name)->text();
    }
    shown.dataArea = child<QPlainTextEdit>(&window, "Text1")->toPlainText();
    shown.stackArea = child<QPlainTextEdit>(&window, "Text2")->toPlainText();
    shown.editor = window.editor()->toPlainText();
    shown.executedLine = window.editor()->findChild<EditorMarks*>()->executedLine();
    return shown;
}

void compareShown(const Shown& actual, const Shown& expected) {
    QCOMPARE(actual.captions, expected.captions);
    QCOMPARE(actual.dataArea, expected.dataArea);
    QCOMPARE(actual.stackArea, expected.stackArea);
    QCOMPARE(actual.editor, expected.editor);
    QCOMPARE(actual.executedLine, expected.executedLine);
}

QPushButton* button(const Form1& window, const char* name) {
    return child<QPushButton>(&window, name);
}

/// Whether 戻る can be pressed now.
bool canStepBack(const Form1& window) {
    QPushButton* back = button(window, "stepBack");
    return back->isVisible() && back->isEnabled();
}

} // namespace

class StepBackButtonTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { setUpApplication(); }

    void standsBesideNextAndEndOnlyDuringARun();
    void enabledOnlyWhileTheRunWaitsAfterAStep();
    void disabledDuringABoxOfTheRun();
    void saysSoWhenTheOldestStepsWereDropped();
    void restoresEveryDisplayAndTheMarkedLine();
    void walksBackThroughTheStepsRunOnTowardsTheBreakpoint();
    void theKeyStepsBackDuringARunAndEditsOtherwise();
    void nextAfterStepBackExecutesAgainAndAsksAgain();
    void enterStillPressesNext();
};

void StepBackButtonTest::standsBesideNextAndEndOnlyDuringARun() {
    Form1 window;
    assembleAndShow(window, storingProgram);
    QPushButton* back = button(window, "stepBack");
    QCOMPARE(back->text(), QStringLiteral("戻る"));
    QVERIFY(back->isHidden());
    button(window, "Trace")->click();
    QVERIFY(back->isVisible());
    // Beside Next, in the same row.
    const QPoint backAt = back->mapTo(&window, QPoint(0, 0));
    const QPoint nextAt = button(window, "Command1")->mapTo(&window, QPoint(0, 0));
    QCOMPARE(backAt.y(), nextAt.y());
    QVERIFY(backAt.x() < nextAt.x());
    // The listing changes at every step; none of it is there to be undone, and the program's
    // own text comes back with its editing as usual.
    QVERIFY(!window.editor()->isUndoRedoEnabled());
    button(window, "Command2")->click();
    QVERIFY(back->isHidden());
    QVERIFY(!back->isEnabled());
    QVERIFY(window.editor()->isUndoRedoEnabled());
}

void StepBackButtonTest::enabledOnlyWhileTheRunWaitsAfterAStep() {
    Form1 window;
    assembleAndShow(window, storingProgram);
    button(window, "Trace")->click();
    // The first wait: nothing to undo.
    QVERIFY(!canStepBack(window));
    button(window, "Command1")->click();
    QVERIFY(canStepBack(window));
    button(window, "stepBack")->click();
    QCOMPARE(markedEditorLine(window), 1);
    QVERIFY(!canStepBack(window));

    // To the program's end: the run is over, 戻る goes with Next and End.
    QMessageBox* end = nullptr;
    for (int i = 0; i < 20 && !end; ++i) {
        button(window, "Command1")->click();
        end = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    }
    QVERIFY(end);
    QCOMPARE(end->text(), QStringLiteral("Program終了"));
    QVERIFY(!button(window, "stepBack")->isEnabled());
    end->button(QMessageBox::Ok)->click();
    QVERIFY(!window.traceActive());
    QVERIFY(!canStepBack(window));
}

void StepBackButtonTest::disabledDuringABoxOfTheRun() {
    Form1 window;
    assembleAndShow(window, echoProgram);
    button(window, "Trace")->click();
    button(window, "Command1")->click();
    auto* input = qobject_cast<QInputDialog*>(QApplication::activeModalWidget());
    QVERIFY(input);
    QVERIFY(!button(window, "stepBack")->isEnabled());
    // Neither the button's slot nor its key acts while the box is open.
    window.stepBack();
    QCOMPARE(QApplication::activeModalWidget(), input);
    input->setTextValue(QStringLiteral("hi"));
    input->accept();
    QVERIFY(canStepBack(window));
    QCOMPARE(markedEditorLine(window), 2);
    button(window, "Command2")->click();
}

void StepBackButtonTest::saysSoWhenTheOldestStepsWereDropped() {
    Form1 window;
    // Room for only a few steps.
    window.setTraceHistoryBytes(256);
    assembleAndShow(window, storingProgram);
    button(window, "Trace")->click();
    QPushButton* back = button(window, "stepBack");
    const QString usual = back->toolTip();
    QVERIFY(usual.contains(QStringLiteral("Backspace")));
    std::vector<int> marked{markedEditorLine(window)};
    for (int i = 0; i < 6; ++i) {
        button(window, "Command1")->click();
        marked.push_back(markedEditorLine(window));
    }
    int stepsBack = 0;
    while (canStepBack(window) && stepsBack < 10) {
        back->click();
        ++stepsBack;
    }
    QVERIFY(stepsBack > 0 && stepsBack < 6);
    QCOMPARE(markedEditorLine(window), marked[static_cast<std::size_t>(6 - stepsBack)]);
    QVERIFY(!back->isEnabled());
    QCOMPARE(back->toolTip(),
             QStringLiteral("記録できるステップ数の上限を超えたため、これより前には戻れません"));
    // A step forward can be undone again.
    button(window, "Command1")->click();
    QVERIFY(canStepBack(window));
    QCOMPARE(back->toolTip(), usual);
    button(window, "Command2")->click();
}

void StepBackButtonTest::restoresEveryDisplayAndTheMarkedLine() {
    Form1 window;
    assembleAndShow(window, storingProgram);
    button(window, "Trace")->click();
    // Every wait to the SUBA: stores, the stack, a call and a return.
    std::vector<Shown> waits{shownBy(window)};
    for (int i = 0; i < 8; ++i) {
        button(window, "Command1")->click();
        waits.push_back(shownBy(window));
    }
    QCOMPARE(markedEditorLine(window), 7);
    for (std::size_t i = waits.size() - 1; i-- > 0;) {
        QVERIFY(canStepBack(window));
        button(window, "stepBack")->click();
        compareShown(shownBy(window), waits[i]);
        if (QTest::currentTestFailed()) {
            qWarning("after stepping back to wait %zu", i + 1);
            return;
        }
    }
    QVERIFY(!canStepBack(window));
    button(window, "Command2")->click();
}

void StepBackButtonTest::walksBackThroughTheStepsRunOnTowardsTheBreakpoint() {
    Form1 window;
    assembleAndShow(window, storingProgram);
    clickOnLine(window, 4);
    QCOMPARE(window.breakpointLine(), 4);
    button(window, "Trace")->click();
    QCOMPARE(markedEditorLine(window), 4);
    QVERIFY(canStepBack(window));
    button(window, "stepBack")->click();
    QCOMPARE(markedEditorLine(window), 3);
    button(window, "stepBack")->click();
    QCOMPARE(markedEditorLine(window), 2);
    button(window, "stepBack")->click();
    QCOMPARE(markedEditorLine(window), 1);
    QVERIFY(!canStepBack(window));
    button(window, "Command2")->click();
}

void StepBackButtonTest::theKeyStepsBackDuringARunAndEditsOtherwise() {
    Form1 window;
    assembleAndShow(window, storingProgram);
    // The key acts in the active window, as the menus' keys do.
    window.activateWindow();
    QTRY_VERIFY(window.isActiveWindow());
    button(window, "Trace")->click();
    button(window, "Command1")->click();
    button(window, "Command1")->click();
    QCOMPARE(markedEditorLine(window), 3);
    QTest::keyClick(button(window, "Command1"), stepBackKey);
    QCOMPARE(markedEditorLine(window), 2);
    // Also with the focus in the locked editor, whose text stays as it is.
    window.editor()->setFocus();
    QTest::keyClick(window.editor(), stepBackKey);
    QCOMPARE(markedEditorLine(window), 1);
    QVERIFY(window.editor()->toPlainText().startsWith(QStringLiteral(">>>>>> \tP")));
    // Nothing left to undo: the key does nothing.
    QTest::keyClick(window.editor(), stepBackKey);
    QCOMPARE(markedEditorLine(window), 1);
    button(window, "Command2")->click();

    // Outside a run the key deletes in the editor, as it always did.
    const QString text = window.editor()->toPlainText();
    window.editor()->moveCursor(QTextCursor::End);
    window.editor()->setFocus();
    QTest::keyClick(window.editor(), stepBackKey);
    QCOMPARE(window.editor()->toPlainText(), text.chopped(1));
}

void StepBackButtonTest::nextAfterStepBackExecutesAgainAndAsksAgain() {
    Form1 window;
    assembleAndShow(window, echoProgram);
    button(window, "Trace")->click();
    const auto answerInput = [](const QString& text) {
        auto* input = qobject_cast<QInputDialog*>(QApplication::activeModalWidget());
        QVERIFY(input);
        input->setTextValue(text);
        input->accept();
    };
    button(window, "Command1")->click(); // IN
    answerInput(QStringLiteral("hi"));
    button(window, "Command1")->click(); // LD GR1,LEN
    QCOMPARE(child<QLabel>(&window, "gr1")->text(),
             QStringLiteral("[0000 0000 0000 0010] 0002 (     2)"));
    const Shown afterLd = shownBy(window);
    button(window, "stepBack")->click();
    button(window, "Command1")->click();
    compareShown(shownBy(window), afterLd);

    button(window, "stepBack")->click();
    button(window, "stepBack")->click();
    QCOMPARE(markedEditorLine(window), 1);
    QVERIFY(
        !child<QPlainTextEdit>(&window, "Text1")->toPlainText().contains(QStringLiteral("(104)h")));
    // The IN asks again, and the new answer stands.
    button(window, "Command1")->click();
    answerInput(QStringLiteral("abc"));
    button(window, "Command1")->click();
    QCOMPARE(child<QLabel>(&window, "gr1")->text(),
             QStringLiteral("[0000 0000 0000 0011] 0003 (     3)"));
    button(window, "Command2")->click();
}

void StepBackButtonTest::enterStillPressesNext() {
    Form1 window;
    assembleAndShow(window, storingProgram);
    button(window, "Trace")->click();
    button(window, "Command1")->click();
    button(window, "Command1")->click();
    QCOMPARE(markedEditorLine(window), 3);
    // A click on 戻る leaves the focus on Next: Enter goes on.
    QTest::mouseClick(button(window, "stepBack"), Qt::LeftButton);
    QCOMPARE(markedEditorLine(window), 2);
    QCOMPARE(window.focusWidget(), button(window, "Command1"));
    QTest::keyClick(window.focusWidget(), Qt::Key_Return);
    QCOMPARE(markedEditorLine(window), 3);
    // With the focus on 戻る (the Tab key takes it there), Enter presses 戻る.
    button(window, "stepBack")->setFocus(Qt::TabFocusReason);
    QTest::keyClick(button(window, "stepBack"), Qt::Key_Return);
    QCOMPARE(markedEditorLine(window), 2);
    QTest::keyClick(button(window, "stepBack"), Qt::Key_Return);
    QCOMPARE(markedEditorLine(window), 1);
    // Back at the start 戻る is disabled and hands the focus to Next, not to クリア.
    QVERIFY(!button(window, "stepBack")->isEnabled());
    QCOMPARE(window.focusWidget(), button(window, "Command1"));
    QTest::keyClick(window.focusWidget(), Qt::Key_Return);
    QCOMPARE(markedEditorLine(window), 2);
    button(window, "Command2")->click();
}

QTEST_MAIN(StepBackButtonTest)
#include "step_back_button_test.moc"
