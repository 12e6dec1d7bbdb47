// The window without the mouse: a program is typed, assembled, given a breakpoint, traced with
// its boxes answered, stepped on and back and ended by keys alone. Every key goes to the widget
// that has the focus, as a keyboard's would; nothing is clicked and no command is called.

#include "shell/form1.h"
#include "shell/form2.h"
#include "shell/source_editor.h"
#include "shell_test_support.h"

#include <QApplication>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

using namespace casl;
using namespace casl::test;

namespace {

const QString loopProgram = QStringLiteral("ECHO\tSTART\n"         // 1
                                           "\tIN\tBUF,LEN\n"       // 2
                                           "\tLD\tGR1,LEN\n"       // 3
                                           "\tLAD\tGR2,2\n"        // 4
                                           "LOOP\tADDA\tGR1,GR1\n" // 5
                                           "\tSUBA\tGR2,ONE\n"     // 6
                                           "\tJNZ\tLOOP\n"         // 7
                                           "\tOUT\tBUF,LEN\n"      // 8
                                           "\tRET\n"               // 9
                                           "ONE\tDC\t1\n"          // 10
                                           "BUF\tDS\t10\n"         // 11
                                           "LEN\tDS\t1\n"          // 12
                                           "\tEND\n");             // 13

/// The widget that a key goes to now; null, with a warning, when nothing has the focus (a key
/// pressed then fails the test).
QWidget* focused() {
    QApplication::processEvents();
    QWidget* widget = QApplication::focusWidget();
    if (widget == nullptr) {
        qWarning("nothing has the keyboard focus");
    }
    return widget;
}

/// Presses `key` where the focus is.
void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QWidget* widget = focused();
    QVERIFY(widget);
    QTest::keyClick(widget, key, modifiers);
}

/// Types `text` where the focus is: Return for a line break, Tab for a tab.
void type(const QString& text) {
    for (const QChar c : text) {
        if (c == QLatin1Char('\n')) {
            press(Qt::Key_Return);
        } else if (c == QLatin1Char('\t')) {
            press(Qt::Key_Tab);
        } else {
            QWidget* widget = focused();
            QVERIFY(widget);
            QTest::keyClicks(widget, QString(c));
        }
    }
}

QString caption(const Form1& window, const char* name) {
    return child<QLabel>(&window, name)->text();
}

QString announcement(const Form1& window) {
    return caption(window, "announcement");
}

} // namespace

class KeyboardFlowTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { setUpApplication(); }

    void theWholeFlowGoesByKeys();
    void theBoxesOfARunAreAnsweredByKeys();
    void escapeThenShiftTabLeavesBackwards();
    void tabAloneStaysATabOfTheProgram();
    void f9ChoosesTheCaretLineWithoutCallingForAnAssembly();
};

void KeyboardFlowTest::theWholeFlowGoesByKeys() {
    Form1 window;
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    auto* assemble = child<QPushButton>(&window, "Assemble");
    auto* trace = child<QPushButton>(&window, "Trace");
    auto* next = child<QPushButton>(&window, "Command1");
    auto* end = child<QPushButton>(&window, "Command2");

    // The editor has the focus from the start.
    QCOMPARE(focused(), window.editor());
    type(loopProgram);
    QCOMPARE(window.editor()->toPlainText(), loopProgram);
    // The caret goes to line 5, where the run is to stop.
    for (int i = 0; i < 9; ++i) {
        press(Qt::Key_Up);
    }
    QCOMPARE(window.editor()->caretLine(), 5);

    // Escape then Tab leaves the editor for Assemble; Space presses it.
    press(Qt::Key_Escape);
    press(Qt::Key_Tab);
    QCOMPARE(focused(), assemble);
    press(Qt::Key_Space);
    QVERIFY(trace->isEnabled());
    QCOMPARE(window.workbench().view().phase, WorkbenchPhase::Assembled);

    // The listing window comes to the front; Escape puts the main window back in front, with
    // the focus where it was.
    Form2* listing = window.listingWindow();
    QVERIFY(listing);
    QVERIFY(QTest::qWaitForWindowActive(listing));
    press(Qt::Key_Escape);
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QCOMPARE(focused(), assemble);

    // Back into the editor, where F9 chooses the caret's line; Trace stays enabled.
    press(Qt::Key_Backtab, Qt::ShiftModifier);
    QCOMPARE(focused(), window.editor());
    QCOMPARE(window.editor()->caretLine(), 5);
    press(Qt::Key_F9);
    QCOMPARE(window.breakpointLine(), 5);
    QCOMPARE(caption(window, "Label6"), QStringLiteral("5"));
    QVERIFY(trace->isEnabled());

    // Escape, Tab, Tab reach Trace; the run stops in the input box of IN.
    press(Qt::Key_Escape);
    press(Qt::Key_Tab);
    press(Qt::Key_Tab);
    QCOMPARE(focused(), trace);
    press(Qt::Key_Space);
    QTRY_VERIFY(qobject_cast<QInputDialog*>(QApplication::activeModalWidget()));
    QVERIFY(window.traceActive());
    type(QStringLiteral("AB"));
    press(Qt::Key_Return);
    QTRY_VERIFY(!QApplication::activeModalWidget());

    // The run went on to the breakpoint, and Next has the focus.
    QCOMPARE(markedEditorLine(window), 5);
    QCOMPARE(caption(window, "gr1"), QStringLiteral("[0000 0000 0000 0100] 0004 (     4)"));
    QTRY_COMPARE(focused(), next);
    QVERIFY(announcement(window).startsWith(QStringLiteral("5行目 LOOP ADDA GR1,GR1。")));

    // Enter is Next: once round the loop to the breakpoint.
    press(Qt::Key_Return);
    QCOMPARE(markedEditorLine(window), 5);
    QCOMPARE(caption(window, "gr1"), QStringLiteral("[0000 0000 0000 1000] 0008 (     8)"));
    QCOMPARE(caption(window, "gr2"), QStringLiteral("[0000 0000 0000 0001] 0001 (     1)"));
    QVERIFY(announcement(window).contains(QStringLiteral("GR1 0008 (8)")));

    // Backspace is 戻る: one step back, to the jump before.
    press(Qt::Key_Backspace);
    QCOMPARE(markedEditorLine(window), 7);
    QCOMPARE(caption(window, "gr1"), QStringLiteral("[0000 0000 0000 0100] 0004 (     4)"));
    QVERIFY(announcement(window).startsWith(QStringLiteral("7行目 JNZ LOOP。")));
    QCOMPARE(focused(), next);

    // Tab to End; Enter presses the button that has the focus.
    press(Qt::Key_Tab);
    QCOMPARE(focused(), end);
    press(Qt::Key_Return);
    QVERIFY(!window.traceActive());
    QCOMPARE(window.workbench().view().phase, WorkbenchPhase::Assembled);
    QCOMPARE(window.editor()->toPlainText(), loopProgram);
    QCOMPARE(window.breakpointLine(), 5);
    QCOMPARE(announcement(window), QStringLiteral("トレースが終わりました"));
}

void KeyboardFlowTest::theBoxesOfARunAreAnsweredByKeys() {
    Form1 window;
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    type(QStringLiteral("P\tSTART\n\tOUT\tM,L\n\tRET\nM\tDC\t'OK'\nL\tDC\t2\n\tEND\n"));
    press(Qt::Key_Escape);
    press(Qt::Key_Tab);
    press(Qt::Key_Space);
    QVERIFY(QTest::qWaitForWindowActive(window.listingWindow()));
    press(Qt::Key_Escape);
    QVERIFY(QTest::qWaitForWindowActive(&window));
    press(Qt::Key_Tab);
    press(Qt::Key_Space);
    QVERIFY(window.traceActive());

    // Next executes OUT; Enter closes its box, and the next Enter is Next again.
    press(Qt::Key_Return);
    auto* out = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    QVERIFY(out);
    QCOMPARE(out->text(), QStringLiteral("\nOK"));
    press(Qt::Key_Return);
    QTRY_VERIFY(!QApplication::activeModalWidget());
    QCOMPARE(markedEditorLine(window), 2);
    press(Qt::Key_Return);
    auto* ended = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    QVERIFY(ended);
    QCOMPARE(ended->text(), QStringLiteral("Program終了"));
    press(Qt::Key_Return);
    QTRY_VERIFY(!window.traceActive());
}

void KeyboardFlowTest::escapeThenShiftTabLeavesBackwards() {
    Form1 window;
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    type(QStringLiteral("P\tSTART\n\tRET\n\tEND"));
    press(Qt::Key_Escape);
    press(Qt::Key_Tab);
    QCOMPARE(focused(), child<QPushButton>(&window, "Assemble"));
    press(Qt::Key_Space);
    QVERIFY(child<QPushButton>(&window, "Trace")->isEnabled());
    QVERIFY(QTest::qWaitForWindowActive(window.listingWindow()));
    press(Qt::Key_Escape);
    QVERIFY(QTest::qWaitForWindowActive(&window));
    press(Qt::Key_Backtab, Qt::ShiftModifier);
    QCOMPARE(focused(), window.editor());

    // Escape, then Shift going down and Shift+Tab: out of the editor backwards, and none of
    // these keys is a key press of the editor.
    press(Qt::Key_Escape);
    press(Qt::Key_Shift, Qt::ShiftModifier);
    press(Qt::Key_Backtab, Qt::ShiftModifier);
    QVERIFY(focused() != window.editor());
    QVERIFY(child<QPushButton>(&window, "Trace")->isEnabled());
    QCOMPARE(window.editor()->toPlainText(), QStringLiteral("P\tSTART\n\tRET\n\tEND\n"));
}

void KeyboardFlowTest::tabAloneStaysATabOfTheProgram() {
    Form1 window;
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    type(QStringLiteral("A"));
    press(Qt::Key_Tab);
    QCOMPARE(focused(), window.editor());
    // Escape then another key: the way out closes, and the Tab after it is typed again.
    press(Qt::Key_Escape);
    type(QStringLiteral("B"));
    press(Qt::Key_Tab);
    QCOMPARE(focused(), window.editor());
    QCOMPARE(window.editor()->toPlainText(), QStringLiteral("A\tB\t"));
}

void KeyboardFlowTest::f9ChoosesTheCaretLineWithoutCallingForAnAssembly() {
    Form1 window;
    assembleAndShow(window, QStringLiteral("P\tSTART\n\tNOP\n\tRET\n\tEND\n"));
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    window.editor()->setFocus();
    window.editor()->moveCaretToLine(3);
    press(Qt::Key_F9);
    QCOMPARE(window.breakpointLine(), 3);
    QVERIFY(child<QPushButton>(&window, "Trace")->isEnabled());
    // A line that cannot stop a run keeps the line chosen before, as a click does.
    window.editor()->moveCaretToLine(4);
    press(Qt::Key_F9);
    QCOMPARE(window.breakpointLine(), 3);
    // With Shift, F9 is a key press of the editor like any other.
    press(Qt::Key_F9, Qt::ShiftModifier);
    QVERIFY(!child<QPushButton>(&window, "Trace")->isEnabled());
}

QTEST_MAIN(KeyboardFlowTest)
#include "keyboard_flow_test.moc"
