// What a step changed, in the trace displays: the register rows, PR, SP, each flag and the dump
// rows that differ from the wait before are drawn in the change colours of the palette, around
// captions and dump texts that stay exactly as they are.

#include "shell/change_label.h"
#include "shell/editor_colours.h"
#include "shell/form1.h"
#include "shell_test_support.h"

#include <QApplication>
#include <QImage>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>
#include <QStyleFactory>
#include <QTest>
#include <QTextBlock>
#include <memory>

using namespace casl;
using namespace casl::test;

namespace {

const QString changingProgram = QStringLiteral("P\tSTART\n"         // 1
                                               "\tLAD\tGR1,5\n"     // 2: GR1 = 5
                                               "\tSUBA\tGR1,FIVE\n" // 3: GR1 = 0, ZF
                                               "\tSUBA\tGR1,ONE\n"  // 4: GR1 = -1, SF
                                               "\tPUSH\t0,GR1\n"    // 5: a new stack row
                                               "\tST\tGR1,X\n"      // 6: X far down the dump
                                               "\tPOP\tGR2\n"       // 7
                                               "\tRET\n"            // 8
                                               "FIVE\tDC\t5\n"
                                               "ONE\tDC\t1\n"
                                               "AREA\tDS\t200\n"
                                               "X\tDC\t0\n"
                                               "\tEND\n");

const std::array valueNames{"GR0", "gr1", "gr2", "gr3", "GR4", "gr5", "gr6", "gr7"};

ChangeLabel* label(const Form1& window, const char* name) {
    return child<ChangeLabel>(&window, name);
}

QPlainTextEdit* dump(const Form1& window, const char* name) {
    return child<QPlainTextEdit>(&window, name);
}

/// The labels among GR0–gr7, pc, sp and fr that show a change.
QStringList changedLabels(const Form1& window) {
    QStringList names;
    for (const char* name : valueNames) {
        if (!label(window, name)->changedRanges().isEmpty()) {
            names << QString::fromLatin1(name);
        }
    }
    for (const char* name : {"pc", "sp", "fr"}) {
        if (!label(window, name)->changedRanges().isEmpty()) {
            names << QString::fromLatin1(name);
        }
    }
    return names;
}

/// The rows of a dump drawn as changed.
QList<int> changedRows(const QPlainTextEdit& dump) {
    QList<int> rows;
    for (const QTextEdit::ExtraSelection& selection : dump.extraSelections()) {
        rows << selection.cursor.blockNumber();
    }
    return rows;
}

/// The 0-based row of the dump line that starts with `start`; -1 when there is none.
int rowStartingWith(const QPlainTextEdit& dump, const QString& start) {
    for (QTextBlock block = dump.document()->firstBlock(); block.isValid(); block = block.next()) {
        if (block.text().startsWith(start)) {
            return block.blockNumber();
        }
    }
    return -1;
}

/// The pixels of a label's painting in `colour`.
int pixelsOf(ChangeLabel& label, const QColor& colour) {
    const QImage image = label.grab().toImage();
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            count += image.pixelColor(x, y).rgb() == colour.rgb() ? 1 : 0;
        }
    }
    return count;
}

void assembleAndTrace(Form1& window, const QString& program) {
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    pasteIntoEditor(window, program);
    child<QPushButton>(&window, "Assemble")->click();
    QVERIFY(child<QPushButton>(&window, "Trace")->isEnabled());
    child<QPushButton>(&window, "Trace")->click();
    QVERIFY(window.traceActive());
}

void next(Form1& window) {
    child<QPushButton>(&window, "Command1")->click();
}

/// Grey on grey: no tint of the selection colour holds either text colour legibly.
QPalette greyPalette() {
    QPalette palette;
    for (const auto role : {QPalette::Window, QPalette::Base}) {
        palette.setColor(role, QColor(120, 120, 120));
    }
    for (const auto role : {QPalette::WindowText, QPalette::Text, QPalette::HighlightedText}) {
        palette.setColor(role, QColor(150, 150, 150));
    }
    palette.setColor(QPalette::Highlight, QColor(140, 140, 140));
    return palette;
}

} // namespace

class TraceChangesTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { setUpApplication(); }

    void nothingIsMarkedAtTheFirstWait();
    void aChangedRegisterIsMarkedAndAnUnchangedOneIsNot();
    void eachFlagIsMarkedByItself();
    void aPushedStackRowIsMarkedAndAPopMarksOnlySp();
    void aChangedDataRowIsMarkedAndScrolledIntoView();
    void aStepBackMarksWhatItUndid();
    void aNewRunForgetsTheMarks();
    void theMarksFollowThePalette();
    void changeColoursStayLegible_data();
    void changeColoursStayLegible();
};

void TraceChangesTest::nothingIsMarkedAtTheFirstWait() {
    Form1 window;
    assembleAndTrace(window, changingProgram);
    QCOMPARE(changedLabels(window), QStringList());
    QCOMPARE(changedRows(*dump(window, "Text1")), QList<int>());
    QCOMPARE(changedRows(*dump(window, "Text2")), QList<int>());
    child<QPushButton>(&window, "Command2")->click();
}

void TraceChangesTest::aChangedRegisterIsMarkedAndAnUnchangedOneIsNot() {
    Form1 window;
    assembleAndTrace(window, changingProgram);
    next(window); // LAD GR1,5
    QCOMPARE(changedLabels(window), (QStringList{"gr1", "pc"}));
    ChangeLabel* gr1 = label(window, "gr1");
    ChangeLabel* gr2 = label(window, "gr2");
    // The caption is the register row as ever; the whole row is marked.
    QCOMPARE(gr1->text(), QStringLiteral("[0000 0000 0000 0101] 0005 (     5)"));
    QCOMPARE(gr1->changedRanges(), (QList<CaptionSpan>{{0, 35}}));
    QCOMPARE(label(window, "pc")->changedRanges(), (QList<CaptionSpan>{{0, 7}}));
    QCOMPARE(gr2->text(), QStringLiteral("[0000 0000 0000 0000] 0000 (     0)"));

    // The colours the painting uses, and the painting itself.
    const ChangeColours colours = gr1->colours();
    QCOMPARE(colours.background,
             changeColours(gr1->palette(), QPalette::Window, QPalette::WindowText).background);
    QVERIFY(colours.background != gr1->palette().color(QPalette::Window));
    const QRect marked = gr1->rangeRect({0, 35});
    QVERIFY(marked.width() > 0 && gr1->rect().contains(marked));
    QVERIFY(pixelsOf(*gr1, colours.background) > marked.width());
    QCOMPARE(pixelsOf(*gr2, colours.background), 0);

    next(window); // SUBA GR1,FIVE: GR1 and ZF
    QCOMPARE(changedLabels(window), (QStringList{"gr1", "pc", "fr"}));
    child<QPushButton>(&window, "Command2")->click();
}

void TraceChangesTest::eachFlagIsMarkedByItself() {
    Form1 window;
    assembleAndTrace(window, changingProgram);
    ChangeLabel* fr = label(window, "fr");
    next(window); // LAD changes no flag
    QVERIFY(fr->changedRanges().isEmpty());
    next(window); // 0: ZF
    QCOMPARE(fr->text(), QStringLiteral("OF:0 SF:0 ZF:1"));
    QCOMPARE(fr->changedRanges(), (QList<CaptionSpan>{{10, 4}}));
    next(window); // -1: SF and ZF
    QCOMPARE(fr->text(), QStringLiteral("OF:0 SF:1 ZF:0"));
    QCOMPARE(fr->changedRanges(), (QList<CaptionSpan>{{5, 4}, {10, 4}}));
    // Each range covers a flag's name and digit, nothing between them.
    const QRect sf = fr->rangeRect({5, 4});
    const QRect zf = fr->rangeRect({10, 4});
    QVERIFY(sf.right() < zf.left());
    next(window); // PUSH changes no flag
    QVERIFY(fr->changedRanges().isEmpty());
    child<QPushButton>(&window, "Command2")->click();
}

void TraceChangesTest::aPushedStackRowIsMarkedAndAPopMarksOnlySp() {
    Form1 window;
    assembleAndTrace(window, changingProgram);
    QPlainTextEdit* stack = dump(window, "Text2");
    const QString before = stack->toPlainText();
    for (int i = 0; i < 4; ++i) {
        next(window); // to the PUSH
    }
    QCOMPARE(changedLabels(window), (QStringList{"pc", "sp"}));
    // The new top of the stack, right under the header, holds -1.
    QVERIFY(stack->document()->findBlockByNumber(2).text().endsWith(QStringLiteral("\tFFFFFFFF")));
    QCOMPARE(changedRows(*stack), QList<int>{2});
    QCOMPARE(stack->document()->blockCount(), before.count(QLatin1Char('\n')) + 2);
    const QTextEdit::ExtraSelection row = stack->extraSelections().front();
    const ChangeColours colours = changeColours(stack->palette(), QPalette::Base, QPalette::Text);
    QCOMPARE(row.format.background().color(), colours.background);
    QCOMPARE(row.format.foreground().color(), colours.text);
    QVERIFY(row.format.boolProperty(QTextFormat::FullWidthSelection));

    next(window); // ST
    QCOMPARE(changedRows(*stack), QList<int>());
    next(window); // POP GR2: the row goes, SP and GR2 change
    QCOMPARE(changedLabels(window), (QStringList{"gr2", "pc", "sp"}));
    QCOMPARE(changedRows(*stack), QList<int>());
    QCOMPARE(stack->toPlainText(), before);
    child<QPushButton>(&window, "Command2")->click();
}

void TraceChangesTest::aChangedDataRowIsMarkedAndScrolledIntoView() {
    Form1 window;
    window.resize(1000, 600);
    assembleAndTrace(window, changingProgram);
    QPlainTextEdit* data = dump(window, "Text1");
    const int xRow = rowStartingWith(*data, QStringLiteral("X "));
    QVERIFY(xRow > 200);
    const QTextCursor x(data->document()->findBlockByNumber(xRow));
    QVERIFY(!data->viewport()->rect().contains(data->cursorRect(x)));
    const QString rowBefore = x.block().text();

    for (int i = 0; i < 5; ++i) {
        next(window); // to the ST
    }
    QCOMPARE(changedRows(*data), QList<int>{xRow});
    QCOMPARE(data->document()->findBlockByNumber(xRow).text(),
             QString(rowBefore).replace(QStringLiteral("0000 (0)"), QStringLiteral("FFFF (-1)")));
    QVERIFY(data->viewport()->rect().contains(data->cursorRect(x)));

    // Scrolled back to the top by the student, the dump stays there while nothing changes.
    data->verticalScrollBar()->setValue(0);
    next(window); // POP
    QCOMPARE(changedRows(*data), QList<int>());
    QCOMPARE(data->verticalScrollBar()->value(), 0);
    child<QPushButton>(&window, "Command2")->click();
}

void TraceChangesTest::aStepBackMarksWhatItUndid() {
    Form1 window;
    assembleAndTrace(window, changingProgram);
    next(window); // GR1 = 5
    next(window); // GR1 = 0, ZF
    auto* back = child<QPushButton>(&window, "stepBack");
    back->click();
    QCOMPARE(label(window, "gr1")->text(), QStringLiteral("[0000 0000 0000 0101] 0005 (     5)"));
    QCOMPARE(changedLabels(window), (QStringList{"gr1", "pc", "fr"}));
    QCOMPARE(label(window, "fr")->changedRanges(), (QList<CaptionSpan>{{10, 4}}));
    back->click();
    QCOMPARE(changedLabels(window), (QStringList{"gr1", "pc"}));
    // Next compares with the displays the step back showed.
    next(window);
    QCOMPARE(changedLabels(window), (QStringList{"gr1", "pc"}));
    child<QPushButton>(&window, "Command2")->click();
}

void TraceChangesTest::aNewRunForgetsTheMarks() {
    Form1 window;
    assembleAndTrace(window, changingProgram);
    next(window);
    QVERIFY(!changedLabels(window).isEmpty());
    child<QPushButton>(&window, "Command2")->click();
    // The last displays keep their marks after the run; a new run starts without any.
    QVERIFY(!changedLabels(window).isEmpty());
    child<QPushButton>(&window, "Trace")->click();
    QCOMPARE(changedLabels(window), QStringList());
    child<QPushButton>(&window, "Command2")->click();
}

void TraceChangesTest::theMarksFollowThePalette() {
    Form1 window;
    window.setPalette(lightPalette());
    assembleAndTrace(window, changingProgram);
    for (int i = 0; i < 4; ++i) {
        next(window); // to the PUSH
    }
    QPlainTextEdit* stack = dump(window, "Text2");
    const QString stackText = stack->toPlainText();
    const QColor light = stack->extraSelections().front().format.background().color();
    window.setPalette(darkPalette());
    const QColor dark = stack->extraSelections().front().format.background().color();
    QVERIFY(light != dark);
    QCOMPARE(dark, changeColours(stack->palette(), QPalette::Base, QPalette::Text).background);
    QCOMPARE(label(window, "sp")->colours().background,
             changeColours(darkPalette(), QPalette::Window, QPalette::WindowText).background);
    QCOMPARE(stack->toPlainText(), stackText);
    child<QPushButton>(&window, "Command2")->click();
}

void TraceChangesTest::changeColoursStayLegible_data() {
    QTest::addColumn<QPalette>("palette");
    QTest::newRow("light") << lightPalette();
    QTest::newRow("dark") << darkPalette();
    QTest::newRow("grey") << greyPalette();
}

void TraceChangesTest::changeColoursStayLegible() {
    QFETCH(QPalette, palette);
    for (const auto& [background, text] : {std::pair{QPalette::Base, QPalette::Text},
                                           std::pair{QPalette::Window, QPalette::WindowText}}) {
        const ChangeColours colours = changeColours(palette, background, text);
        QVERIFY2(contrastRatio(colours.text, colours.background) >= 4.5,
                 qPrintable(colours.text.name() + QLatin1Char(' ') + colours.background.name()));
        // Told apart from the plain display.
        QVERIFY(colours.background != palette.color(background));
    }
}

QTEST_MAIN(TraceChangesTest)
#include "trace_changes_test.moc"
