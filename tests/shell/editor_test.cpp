// The source editor: forced upper case, the Edit menu, "小文字変換", the editor-text edge and the
// breakpoint chosen by a click.

#include "assembler/breakpoint_choice.h"
#include "modal_answerer.h"
#include "programs.h"
#include "shell/form1.h"
#include "shell/source_editor.h"
#include "shell_test_support.h"
#include "workbench/editor_text.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTextBlock>

using namespace casl;
using namespace casl::test;

class EditorTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { setUpApplication(); }

    void typedCharactersBecomeUpperCase_data();
    void typedCharactersBecomeUpperCase();
    void pastedTextKeepsItsCase();
    void editorTextHasCrLfBetweenLines_data();
    void editorTextHasCrLfBetweenLines();
    void lowerCaseConversionChangesOnlyTheSelection();
    void cutCopyPasteAndUndoWorkOnTheEditor();
    void clickChoosesTheBreakpointLine_data();
    void clickChoosesTheBreakpointLine();
    void clickBeforeAssemblyRestoresThePreviousChoice();
    void linesPastTheTablesChooseNothing();
};

void EditorTest::typedCharactersBecomeUpperCase_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::newRow("mnemonic") << "ld gr1,data"
                              << "LD GR1,DATA";
    QTest::newRow("digits and punctuation") << "#12;'x' =-3"
                                            << "#12;'X' =-3";
    QTest::newRow("full-width letters") << "ａｂｃ"
                                        << "ＡＢＣ";
    QTest::newRow("kana has no case") << "あｱ"
                                      << "あｱ";
    QTest::newRow("two-letter upper case kept as typed") << "ß"
                                                         << "ß";
}

void EditorTest::typedCharactersBecomeUpperCase() {
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    Form1 window;
    typeIntoEditor(window, typed);
    QCOMPARE(window.editor()->toPlainText(), shown);
}

void EditorTest::pastedTextKeepsItsCase() {
    Form1 window;
    pasteIntoEditor(window, QStringLiteral("\tld\tgr1,a ; note\r\nB\tDC\t'x'"));
    QCOMPARE(window.editor()->editorText(), std::u32string(U"\tld\tgr1,a ; note\r\nB\tDC\t'x'"));
}

void EditorTest::editorTextHasCrLfBetweenLines_data() {
    QTest::addColumn<QString>("editor");
    QTest::addColumn<QString>("widget");
    QTest::addColumn<QString>("back");
    QTest::newRow("CR LF") << "A\r\nB\r\n"
                           << "A\nB\n"
                           << "A\r\nB\r\n";
    QTest::newRow("LF") << "A\nB"
                        << "A\nB"
                        << "A\r\nB";
    QTest::newRow("lone CR") << "A\rB"
                             << "A\nB"
                             << "A\r\nB";
    QTest::newRow("CR CR LF") << "A\r\r\nB"
                              << "A\n\nB"
                              << "A\r\n\r\nB";
    QTest::newRow("empty") << ""
                           << ""
                           << "";
}

void EditorTest::editorTextHasCrLfBetweenLines() {
    QFETCH(QString, editor);
    QFETCH(QString, widget);
    QFETCH(QString, back);
    const std::u32string shown = widgetTextFromEditor(editor.toStdU32String());
    QCOMPARE(QString::fromStdU32String(shown), widget);
    QCOMPARE(QString::fromStdU32String(editorTextFromWidget(shown)), back);

    Form1 window;
    window.editor()->setEditorText(editor.toStdU32String());
    QCOMPARE(QString::fromStdU32String(window.editor()->editorText()), back);
}

void EditorTest::lowerCaseConversionChangesOnlyTheSelection() {
    Form1 window;
    pasteIntoEditor(window, QStringLiteral("A\tDC\t'ABC'"));
    QTextCursor cursor = window.editor()->textCursor();
    cursor.movePosition(QTextCursor::End);
    window.editor()->setTextCursor(cursor);
    child<QAction>(&window, "mnuKomoji")->trigger(); // nothing selected
    QCOMPARE(window.editor()->toPlainText(), QStringLiteral("A\tDC\t'ABC'"));

    cursor.setPosition(6);
    cursor.setPosition(9, QTextCursor::KeepAnchor);
    window.editor()->setTextCursor(cursor);
    child<QAction>(&window, "mnuKomoji")->trigger();
    QCOMPARE(window.editor()->toPlainText(), QStringLiteral("A\tDC\t'abc'"));
}

void EditorTest::cutCopyPasteAndUndoWorkOnTheEditor() {
    Form1 window;
    pasteIntoEditor(window, QStringLiteral("AB\nCD"));
    QTextCursor cursor = window.editor()->textCursor();
    cursor.setPosition(1);
    cursor.setPosition(4, QTextCursor::KeepAnchor);
    window.editor()->setTextCursor(cursor);
    child<QAction>(&window, "mnuCOPY")->trigger();
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("B\nC"));
    child<QAction>(&window, "mnuCUT")->trigger();
    QCOMPARE(window.editor()->toPlainText(), QStringLiteral("AD"));
    child<QAction>(&window, "mnuPASTE")->trigger();
    QCOMPARE(window.editor()->toPlainText(), QStringLiteral("AB\nCD"));
    child<QAction>(&window, "mnuEditUndo")->trigger();
    QCOMPARE(window.editor()->toPlainText(), QStringLiteral("AD"));
    child<QAction>(&window, "mnuEditSelectAll")->trigger();
    QCOMPARE(window.editor()->textCursor().selectedText(), QStringLiteral("AD"));
}

void EditorTest::clickChoosesTheBreakpointLine_data() {
    QTest::addColumn<int>("clicked");
    QTest::addColumn<int>("chosen");
    QTest::newRow("START line is kept") << 1 << 1;
    QTest::newRow("comment above the first instruction ends at line 1") << 2 << 1;
    QTest::newRow("instruction") << 3 << 3;
    QTest::newRow("NOP gives way") << 4 << 3;
    QTest::newRow("RET") << 5 << 5;
    QTest::newRow("DC gives way") << 6 << 5;
    QTest::newRow("DS gives way") << 7 << 5;
    QTest::newRow("END gives way") << 8 << 5;
}

void EditorTest::clickChoosesTheBreakpointLine() {
    QFETCH(int, clicked);
    QFETCH(int, chosen);
    Form1 window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    pasteIntoEditor(window, breakpointProgram);
    child<QPushButton>(&window, "Assemble")->click();
    QVERIFY(child<QPushButton>(&window, "Trace")->isEnabled());
    clickOnLine(window, clicked);
    QCOMPARE(window.editor()->caretLine(), clicked);
    QCOMPARE(window.breakpointLine(), chosen);
    QCOMPARE(child<QLabel>(&window, "Label6")->text(), QString::number(chosen));
}

void EditorTest::clickBeforeAssemblyRestoresThePreviousChoice() {
    Form1 window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    pasteIntoEditor(window, breakpointProgram);
    clickOnLine(window, 3); // not assembled: nothing was chosen yet
    QCOMPARE(window.breakpointLine(), 0);
    child<QPushButton>(&window, "Assemble")->click();
    clickOnLine(window, 5);
    QCOMPARE(window.breakpointLine(), 5);
    child<QPushButton>(&window, "Command4")->click();
    QCOMPARE(window.breakpointLine(), 0);
    QTest::keyClick(window.editor(), Qt::Key_End); // back to Editing
    clickOnLine(window, 3);
    QCOMPARE(window.breakpointLine(), 5);
    QCOMPARE(child<QLabel>(&window, "Label6")->text(), QString());
    // The next assembly shows the breakpoint again.
    child<QPushButton>(&window, "Assemble")->click();
    QCOMPARE(child<QLabel>(&window, "Label6")->text(), QStringLiteral("5"));
}

void EditorTest::linesPastTheTablesChooseNothing() {
    ProgramTables tables;
    tables.lineCode[300][opColumn] = 0x10;
    tables.lineCode[1][opColumn] = 400;
    QCOMPARE(chooseBreakpointLine(300, tables), std::optional<int>(300));
    QCOMPARE(chooseBreakpointLine(301, tables), std::optional<int>());
    QCOMPARE(chooseBreakpointLine(32767, tables), std::optional<int>());
    QCOMPARE(chooseBreakpointLine(299, tables), std::optional<int>(1));
}

QTEST_MAIN(EditorTest)
#include "editor_test.moc"
