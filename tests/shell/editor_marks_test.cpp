// The editor's gutter and marks: line numbers that follow scrolling and zoom, the breakpoint's
// dot, the executed line during a trace, the lines in error with their messages, and the way
// from a line of the listing window back to the editor.

#include "modal_answerer.h"
#include "programs.h"
#include "shell/editor_colours.h"
#include "shell/editor_marks.h"
#include "shell/form1.h"
#include "shell/form2.h"
#include "shell/line_number_gutter.h"
#include "shell/source_editor.h"
#include "shell/zoom.h"
#include "shell_test_support.h"

#include <QAction>
#include <QApplication>
#include <QHelpEvent>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QToolTip>

using namespace casl;
using namespace casl::test;

namespace {

/// A clean program of `lines` lines: START, LAD lines, RET, END.
QString longProgram(int lines) {
    QString text = QStringLiteral("LONG\tSTART\n");
    for (int n = 2; n <= lines - 2; ++n) {
        text += QStringLiteral("\tLAD\tGR1,%1\n").arg(n);
    }
    return text + QStringLiteral("\tRET\n\tEND\n");
}

LineNumberGutter* gutterOf(const Form1& window) {
    return window.editor()->findChild<LineNumberGutter*>();
}

EditorMarks* marksOf(const Form1& window) {
    return window.editor()->findChild<EditorMarks*>();
}

void showAndAssemble(Form1& window, const QString& program) {
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    pasteIntoEditor(window, program);
    child<QPushButton>(&window, "Assemble")->click();
}

/// What the screen shows of the gutter now (not a fresh painting: a mark that was not
/// repainted away would still be seen).
QImage gutterOnScreen(const LineNumberGutter& gutter) {
    QWidget* window = gutter.window();
    const QPoint origin = gutter.mapTo(window, QPoint(0, 0));
    return window->screen()
        ->grabWindow(window->winId(), origin.x(), origin.y(), gutter.width(), gutter.height())
        .toImage();
}

/// The lines with the breakpoint's dot on the screen: red inside the mark square, off its
/// diagonals (where an error's cross would be red too).
QList<int> linesWithADot(const LineNumberGutter& gutter) {
    const QImage image = gutterOnScreen(gutter);
    QList<int> lines;
    for (const auto& shown : gutter.shownLines()) {
        const QRect mark = gutter.markRect(shown);
        const QPoint offDiagonal = mark.center() + QPoint(0, mark.height() / 4);
        if (QColor(image.pixel(offDiagonal)) == failureRed) {
            lines.append(shown.line);
        }
    }
    return lines;
}

/// The lines with an error's cross on the screen.
QList<int> linesWithACross(const LineNumberGutter& gutter) {
    const QImage image = gutterOnScreen(gutter);
    QList<int> lines;
    for (const auto& shown : gutter.shownLines()) {
        const QRect mark = gutter.markRect(shown);
        const QPoint onDiagonal = mark.center() + QPoint(mark.width() / 4, mark.height() / 4);
        const QPoint offDiagonal = mark.center() + QPoint(0, mark.height() / 4);
        if (QColor(image.pixel(onDiagonal)) == failureRed &&
            QColor(image.pixel(offDiagonal)) != failureRed) {
            lines.append(shown.line);
        }
    }
    return lines;
}

/// The lines with both marks: the dot, with the cross cut out of its middle in the text's
/// background.
QList<int> linesWithCrossOnDot(const LineNumberGutter& gutter, const QColor& base) {
    const QImage image = gutterOnScreen(gutter);
    QList<int> lines;
    for (const auto& shown : gutter.shownLines()) {
        const QRect mark = gutter.markRect(shown);
        const QPoint offDiagonal = mark.center() + QPoint(0, mark.height() / 4);
        if (QColor(image.pixel(offDiagonal)) == failureRed &&
            QColor(image.pixel(mark.center())) == base) {
            lines.append(shown.line);
        }
    }
    return lines;
}

/// The extra selections of the editor as (kind, 1-based line) pairs.
QList<QPair<QString, int>> selectionsOf(const Form1& window) {
    QList<QPair<QString, int>> found;
    for (const auto& selection : window.editor()->extraSelections()) {
        const int line = selection.cursor.block().blockNumber() + 1;
        if (selection.format.property(QTextFormat::FullWidthSelection).toBool()) {
            found.append({QStringLiteral("executed"), line});
        } else if (selection.format.underlineStyle() == QTextCharFormat::WaveUnderline) {
            found.append({QStringLiteral("error"), line});
        }
    }
    return found;
}

/// Clicks into the gutter beside `line`.
void clickGutterOn(Form1& window, int line) {
    LineNumberGutter* gutter = gutterOf(window);
    for (const auto& shown : gutter->shownLines()) {
        if (shown.line == line) {
            QTest::mouseClick(gutter, Qt::LeftButton, Qt::NoModifier, shown.rect.center());
            return;
        }
    }
    QFAIL("the line is not in view");
}

/// Hovers `point` of `widget` and tells what the tooltip shows ("" when none comes).
QString toolTipAt(QWidget* widget, const QPoint& point) {
    QToolTip::hideText();
    if (!QTest::qWaitFor([] { return !QToolTip::isVisible(); })) {
        return QStringLiteral("(a tooltip stays)");
    }
    QHelpEvent help(QEvent::ToolTip, point, widget->mapToGlobal(point));
    QApplication::sendEvent(widget, &help);
    if (!QTest::qWaitFor([] { return QToolTip::isVisible() && !QToolTip::text().isEmpty(); },
                         100)) {
        return {};
    }
    return QToolTip::text();
}

QPoint pointOfLine(const Form1& window, int line) {
    QTextCursor cursor(window.editor()->document()->findBlockByNumber(line - 1));
    return window.editor()->cursorRect(cursor).center() + QPoint(8, 0);
}

} // namespace

class EditorMarksTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { setUpApplication(); }

    void gutterNumbersFollowScrollingAndZoom();
    void breakpointDotFollowsClicksClearNewAndOpen();
    void breakpointDotStaysWhileEditing();
    void breakpointOnALineInErrorShowsBothMarks();
    void gutterClickChoosesAsATextClickDoes_data();
    void gutterClickChoosesAsATextClickDoes();
    void executedLineHasABackgroundAndStaysInView();
    void errorMarksCarryTheListingsMessages();
    void errorMarksGoWithAnEditOrANewAssembly();
    void errorOnTheLastLineIsMarkedPastTheLiterals();
    void listingLineLeadsToTheEditorWithoutABreakpoint();
    void listingLineByEnterAndDuringARun();
};

void EditorMarksTest::gutterNumbersFollowScrollingAndZoom() {
    Form1 window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    pasteIntoEditor(window, longProgram(320));
    SourceEditor* editor = window.editor();
    LineNumberGutter* gutter = gutterOf(window);
    QCOMPARE(editor->blockCount(), 321); // the last line end starts an empty line
    editor->verticalScrollBar()->setValue(0);

    const auto expectLinesBesideTheText = [&] {
        const auto shown = gutter->shownLines();
        QVERIFY(!shown.empty());
        for (const auto& line : shown) {
            QTextCursor cursor(editor->document()->findBlockByNumber(line.line - 1));
            const QRect text = editor->cursorRect(cursor);
            QVERIFY2(line.rect.top() <= text.top() && text.bottom() <= line.rect.bottom(),
                     qPrintable(QString::number(line.line)));
        }
        QCOMPARE(shown.front().line, editor->verticalScrollBar()->value() + 1);
    };
    expectLinesBesideTheText();
    QCOMPARE(gutter->shownLines().front().line, 1);

    editor->verticalScrollBar()->setValue(150);
    expectLinesBesideTheText();
    QCOMPARE(gutter->shownLines().front().line, 151);
    editor->verticalScrollBar()->setValue(editor->verticalScrollBar()->maximum());
    expectLinesBesideTheText();
    QCOMPARE(gutter->shownLines().back().line, 321);
    // The numbers have room: three digits at least, in the editor's font.
    QVERIFY(gutter->width() >=
            QFontMetrics(editor->font()).horizontalAdvance(QStringLiteral("321")));

    const int width = gutter->width();
    window.findChild<Zoom*>()->zoomIn();
    QCOMPARE(gutter->font(), editor->font());
    QVERIFY(gutter->width() > width);
    expectLinesBesideTheText();
}

void EditorMarksTest::breakpointDotFollowsClicksClearNewAndOpen() {
    QTemporaryDir folder;
    const QString opened = folder.filePath(QStringLiteral("opened.cas"));
    writeBytes(opened, breakpointProgram.toUtf8());

    Form1 window;
    showAndAssemble(window, breakpointProgram);
    LineNumberGutter* gutter = gutterOf(window);
    QTRY_COMPARE(linesWithADot(*gutter), QList<int>{});

    clickOnLine(window, 3);
    QTRY_COMPARE(linesWithADot(*gutter), QList<int>{3});
    clickOnLine(window, 7); // DS gives way to RET on line 5
    QCOMPARE(child<QLabel>(&window, "Label6")->text(), QStringLiteral("5"));
    QTRY_COMPARE(linesWithADot(*gutter), QList<int>{5});

    child<QPushButton>(&window, "Command4")->click();
    QTRY_COMPARE(linesWithADot(*gutter), QList<int>{});

    clickOnLine(window, 3);
    QTRY_COMPARE(linesWithADot(*gutter), QList<int>{3});
    {
        ModalAnswerer answers;
        answers.press(QMessageBox::No);
        child<QAction>(&window, "mnuSinki")->trigger();
        QVERIFY(answers.done());
    }
    QTRY_COMPARE(linesWithADot(*gutter), QList<int>{});

    pasteIntoEditor(window, breakpointProgram);
    child<QPushButton>(&window, "Assemble")->click();
    clickOnLine(window, 5);
    QTRY_COMPARE(linesWithADot(*gutter), QList<int>{5});
    {
        ModalAnswerer answers;
        answers.press(QMessageBox::No).choose(opened);
        child<QAction>(&window, "mnuOPEN")->trigger();
        QVERIFY(answers.done());
    }
    QCOMPARE(window.currentFileName(), opened);
    QTRY_COMPARE(linesWithADot(*gutter), QList<int>{});
}

void EditorMarksTest::breakpointDotStaysWhileEditing() {
    // The breakpoint survives editing, and so does its dot; the next assembly shows it in
    // Label6 again.
    Form1 window;
    showAndAssemble(window, breakpointProgram);
    clickOnLine(window, 5);
    QTest::keyClick(window.editor(), Qt::Key_End);
    QVERIFY(child<QLabel>(&window, "Label6")->isHidden());
    QTRY_COMPARE(linesWithADot(*gutterOf(window)), QList<int>{5});
}

void EditorMarksTest::breakpointOnALineInErrorShowsBothMarks() {
    Form1 window;
    showAndAssemble(window, addProgram);
    clickOnLine(window, 3);
    QCOMPARE(child<QLabel>(&window, "Label6")->text(), QStringLiteral("3"));
    // Lines 2 and 3 now fail; the breakpoint stays on line 3.
    pasteIntoEditor(window, QString(addProgram)
                                .replace(QStringLiteral("LD\tGR1"), QStringLiteral("LD\tGR9"))
                                .replace(QStringLiteral("GR1,B"), QStringLiteral("GR1,X")));
    child<QPushButton>(&window, "Assemble")->click();
    QCOMPARE(marksOf(window)->errors().size(), std::size_t{2});
    const LineNumberGutter& gutter = *gutterOf(window);
    const QColor base = marksOf(window)->colours().base;
    QTRY_COMPARE(linesWithACross(gutter), QList<int>{2});
    QCOMPARE(linesWithADot(gutter), QList<int>{3});
    QCOMPARE(linesWithCrossOnDot(gutter, base), QList<int>{3});
}

void EditorMarksTest::gutterClickChoosesAsATextClickDoes_data() {
    QTest::addColumn<int>("clicked");
    QTest::addColumn<int>("chosen");
    QTest::newRow("START line is kept") << 1 << 1;
    QTest::newRow("instruction") << 3 << 3;
    QTest::newRow("NOP gives way") << 4 << 3;
    QTest::newRow("DC gives way to the instruction above") << 6 << 5;
    QTest::newRow("END gives way") << 8 << 5;
}

void EditorMarksTest::gutterClickChoosesAsATextClickDoes() {
    QFETCH(int, clicked);
    QFETCH(int, chosen);
    Form1 window;
    showAndAssemble(window, breakpointProgram);
    clickGutterOn(window, clicked);
    QCOMPARE(window.breakpointLine(), chosen);
    QCOMPARE(child<QLabel>(&window, "Label6")->text(), QString::number(chosen));
    QTRY_COMPARE(linesWithADot(*gutterOf(window)), QList<int>{chosen});
    // Like a click into the text, it leaves the caret on the clicked line and changes nothing
    // else: the program stays assembled.
    QCOMPARE(window.editor()->caretLine(), clicked);
    QVERIFY(child<QPushButton>(&window, "Trace")->isEnabled());
}

void EditorMarksTest::executedLineHasABackgroundAndStaysInView() {
    Form1 window;
    window.resize(900, 500);
    showAndAssemble(window, longProgram(120));
    SourceEditor* editor = window.editor();
    editor->moveCaretToLine(90);
    clickOnLine(window, 90);
    QCOMPARE(window.breakpointLine(), 90);
    editor->moveCaretToLine(1);

    child<QPushButton>(&window, "Trace")->click();
    QVERIFY(window.traceActive());
    QTRY_COMPARE(marksOf(window)->executedLine(), 90);
    const auto selections = selectionsOf(window);
    QCOMPARE(selections, (QList<QPair<QString, int>>{{QStringLiteral("executed"), 90}}));
    const QColor background = editor->extraSelections().front().format.background().color();
    QCOMPARE(background, editorColours(editor->palette()).executedLine);
    QVERIFY(
        editor->document()->findBlockByNumber(89).text().startsWith(QStringLiteral(">>>>>> \t")));
    // In view, in the text and in the gutter.
    QTextCursor marked(editor->document()->findBlockByNumber(89));
    QVERIFY(editor->viewport()->rect().contains(editor->cursorRect(marked)));
    bool beside = false;
    for (const auto& shown : gutterOf(window)->shownLines()) {
        beside = beside || shown.line == 90;
    }
    QVERIFY(beside);

    // A step back marks line 89, in view: the text stands still, and of the text and the
    // gutter only the rows of the two lines are drawn again.
    QScrollBar* scroll = editor->verticalScrollBar();
    const int top = scroll->value();
    QApplication::processEvents();
    PaintedRegion text(*editor->viewport());
    PaintedRegion numbers(*gutterOf(window));
    child<QPushButton>(&window, "stepBack")->click();
    QTRY_COMPARE(marksOf(window)->executedLine(), 89);
    QCOMPARE(scroll->value(), top);
    QTRY_VERIFY(!numbers.region.isEmpty() && !text.region.isEmpty());
    QRect rows;
    for (const auto& shown : gutterOf(window)->shownLines()) {
        if (shown.line == 89 || shown.line == 90) {
            rows = rows.united(shown.rect);
        }
    }
    QCOMPARE(rows.height(), 2 * gutterOf(window)->shownLines().front().rect.height());
    for (const PaintedRegion* painted : {&numbers, &text}) {
        const QRect bounds = painted->region.boundingRect();
        QVERIFY(bounds.top() <= rows.top() && rows.bottom() <= bounds.bottom());
        QVERIFY2(bounds.height() <= rows.height() + 4, "more than the two lines are drawn");
    }

    child<QPushButton>(&window, "Command2")->click();
    QVERIFY(!window.traceActive());
    QCOMPARE(marksOf(window)->executedLine(), 0);
    QVERIFY(selectionsOf(window).isEmpty());
}

void EditorMarksTest::errorMarksCarryTheListingsMessages() {
    Form1 window;
    showAndAssemble(window, QStringLiteral("PGM\tSTART\n"   // 1
                                           "\tLDX\tGR1,A\n" // 2: 7
                                           "A\tDC\t1\n"     // 3: 1
                                           "A\tDC\t2\n"     // 4
                                           "\tLD\tGR9,X\n"  // 5: 5, 9
                                           "\tRET\n"
                                           "\tEND\n"));
    QVERIFY(!child<QPushButton>(&window, "Trace")->isEnabled());
    const std::map<int, QStringList> expected{
        {2, {QStringLiteral("ニーモニック ")}},
        {3, {QStringLiteral("ラベルの重複 ")}},
        {5, {QStringLiteral("<GR>レジスタ "), QStringLiteral("オペランドのラベルが見つからない ")}},
    };
    QCOMPARE(marksOf(window)->errors(), expected);
    QCOMPARE(selectionsOf(window), (QList<QPair<QString, int>>{{QStringLiteral("error"), 2},
                                                               {QStringLiteral("error"), 3},
                                                               {QStringLiteral("error"), 5}}));
    QTRY_COMPARE(linesWithACross(*gutterOf(window)), (QList<int>{2, 3, 5}));

    // Hovering the line's text, or its mark, shows the messages.
    QWidget* viewport = window.editor()->viewport();
    QCOMPARE(toolTipAt(viewport, pointOfLine(window, 5)),
             QStringLiteral("<GR>レジスタ \nオペランドのラベルが見つからない "));
    QCOMPARE(toolTipAt(viewport, pointOfLine(window, 2)), QStringLiteral("ニーモニック "));
    QCOMPARE(toolTipAt(viewport, pointOfLine(window, 1)), QString());
    LineNumberGutter* gutter = gutterOf(window);
    for (const auto& shown : gutter->shownLines()) {
        if (shown.line == 3) {
            QCOMPARE(toolTipAt(gutter, shown.rect.center()), QStringLiteral("ラベルの重複 "));
        }
    }
}

void EditorMarksTest::errorMarksGoWithAnEditOrANewAssembly() {
    Form1 window;
    showAndAssemble(window, faultyProgram);
    QCOMPARE(marksOf(window)->errors().size(), std::size_t{2});
    window.editor()->moveCursor(QTextCursor::End);
    QTest::keyClick(window.editor(), Qt::Key_Space);
    QVERIFY(marksOf(window)->errors().empty());
    QVERIFY(selectionsOf(window).isEmpty());
    QTRY_COMPARE(linesWithACross(*gutterOf(window)), QList<int>{});

    child<QPushButton>(&window, "Assemble")->click();
    QCOMPARE(marksOf(window)->errors().size(), std::size_t{2});
    pasteIntoEditor(window, addProgram);
    child<QPushButton>(&window, "Assemble")->click();
    QVERIFY(child<QPushButton>(&window, "Trace")->isEnabled());
    QVERIFY(marksOf(window)->errors().empty());
}

void EditorMarksTest::errorOnTheLastLineIsMarkedPastTheLiterals() {
    Form1 window;
    showAndAssemble(window, QStringLiteral("LIT\tSTART\n"
                                           "\tLD\tGR1,=5\n"
                                           "\tLD\tGR2,='A'\n"
                                           "\tRET\n"
                                           "LONGLABEL9\tEND\n"));
    // The listing puts the END on line 7, after the two literal lines; the editor has it on 5.
    const std::map<int, QStringList> expected{{5, {QStringLiteral("ラベルの長さ ")}}};
    QCOMPARE(marksOf(window)->errors(), expected);
}

void EditorMarksTest::listingLineLeadsToTheEditorWithoutABreakpoint() {
    Form1 window;
    showAndAssemble(window, breakpointProgram);
    clickOnLine(window, 3);
    Form2* listing = window.listingWindow();
    QVERIFY(listing && listing->isVisible());
    listing->activateWindow();
    QTRY_VERIFY(listing->isActiveWindow());

    auto* text = child<QPlainTextEdit>(listing, "Text1");
    // Two header lines, then one line per program line (no errors).
    QTextCursor line7(text->document()->findBlockByNumber(2 + 6));
    QTest::mouseClick(text->viewport(), Qt::LeftButton, Qt::NoModifier,
                      text->cursorRect(line7).center());
    QCOMPARE(window.editor()->caretLine(), 7);
    QTRY_VERIFY(window.isActiveWindow());
    QCOMPARE(window.breakpointLine(), 3);
    QCOMPARE(child<QLabel>(&window, "Label6")->text(), QStringLiteral("3"));
    QTRY_COMPARE(linesWithADot(*gutterOf(window)), QList<int>{3});
    QVERIFY(child<QPushButton>(&window, "Trace")->isEnabled());

    // A header line leads nowhere.
    window.editor()->moveCaretToLine(2);
    QTextCursor header(text->document()->findBlockByNumber(0));
    QTest::mouseClick(text->viewport(), Qt::LeftButton, Qt::NoModifier,
                      text->cursorRect(header).center());
    QCOMPARE(window.editor()->caretLine(), 2);
}

void EditorMarksTest::listingLineByEnterAndDuringARun() {
    Form1 window;
    showAndAssemble(window, faultyProgram);
    auto* text = child<QPlainTextEdit>(window.listingWindow(), "Text1");
    // Line 2 of the program and its message, then line 3 and its message.
    const QStringList shown = text->toPlainText().split(QLatin1Char('\n'));
    QCOMPARE(shown.mid(3, 2), (QStringList{QStringLiteral("0002\t\t         LDX     GR1,A"),
                                           QStringLiteral("ニーモニック ")}));
    text->setFocus();
    text->setTextCursor(QTextCursor(text->document()->findBlockByNumber(4)));
    QTest::keyClick(text, Qt::Key_Return);
    QCOMPARE(window.editor()->caretLine(), 2);
    QTest::keyClick(text, Qt::Key_Down);
    QTest::keyClick(text, Qt::Key_Enter);
    QCOMPARE(window.editor()->caretLine(), 3);

    // During a run the editor shows every program line, literal lines too.
    Form1 traced;
    showAndAssemble(traced, QStringLiteral("P\tSTART\n"
                                           "\tLD\tGR1,=5\n"
                                           "\tRET\n"
                                           "\tEND\n"));
    child<QPushButton>(&traced, "Trace")->click();
    QVERIFY(traced.traceActive());
    auto* listing = child<QPlainTextEdit>(traced.listingWindow(), "Text1");
    listing->setFocus();
    listing->setTextCursor(QTextCursor(listing->document()->findBlockByNumber(2 + 4)));
    QTest::keyClick(listing, Qt::Key_Return);
    QCOMPARE(traced.editor()->caretLine(), 5); // the END, after the literal line 4
    QCOMPARE(traced.breakpointLine(), 0);
    child<QPushButton>(&traced, "Command2")->click();
}

QTEST_MAIN(EditorMarksTest)
#include "editor_marks_test.moc"
