// The editor's colours: each token the assembler finds gets its kind's format, in the program
// and in the trace listing, in colours that stay legible in light and dark palettes.

#include "assembler/line_tokens.h"
#include "programs.h"
#include "shell/casl_highlighter.h"
#include "shell/editor_colours.h"
#include "shell/form1.h"
#include "shell/source_editor.h"
#include "shell_test_support.h"

#include <QPushButton>
#include <QSignalSpy>
#include <QStyle>
#include <QStyleFactory>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>
#include <memory>
#include <set>

using namespace casl;
using namespace casl::test;

namespace {

CaslHighlighter* highlighterOf(const Form1& window) {
    return window.editor()->findChild<CaslHighlighter*>();
}

/// The formats the highlighter should give `line`, from the assembler's tokens; `offset`
/// characters of trace mark come before the program text.
QList<QTextLayout::FormatRange> expectedFormats(const CaslHighlighter& highlighter,
                                                const QString& line, int offset = 0) {
    const std::u32string text = line.mid(offset).toStdU32String();
    QList<QTextLayout::FormatRange> ranges;
    for (const LineToken& token : lineTokens(text)) {
        const auto units = [&](std::size_t from, std::size_t count) {
            return static_cast<int>(QString::fromStdU32String(text.substr(from, count)).size());
        };
        if (token.kind == TokenKind::separator || token.kind == TokenKind::name) {
            continue;
        }
        QTextLayout::FormatRange range;
        range.start = offset + units(0, token.start);
        range.length = units(token.start, token.length);
        range.format = highlighter.formatOf(token.kind);
        ranges.append(range);
    }
    return ranges;
}

QList<QTextLayout::FormatRange> formatsOfLine(const Form1& window, int line) {
    return window.editor()->document()->findBlockByNumber(line - 1).layout()->formats();
}

} // namespace

class HighlighterTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { setUpApplication(); }

    void spansAreTheAssemblersTokens_data();
    void spansAreTheAssemblersTokens();
    void everyKindHasItsOwnLook();
    void traceListingIsColouredAfterItsMark();
    void coloursStayLegible_data();
    void coloursStayLegible();
    void executedLineTokensAreLegible_data();
    void executedLineTokensAreLegible();
    void aNewPaletteRecoloursWithoutChangingTheText();
};

void HighlighterTest::spansAreTheAssemblersTokens_data() {
    QTest::addColumn<QString>("line");
    QTest::newRow("label, mnemonic, registers, comment") << "LOOP\tADDA\tGR1,GR2 ; add";
    QTest::newRow("unknown mnemonic and a name") << "\tLDX\tGR1,DATA";
    QTest::newRow("lower case is not a mnemonic") << "\tld\tgr1,data";
    QTest::newRow("decimal and hexadecimal") << "\tLAD\tGR1,-12";
    QTest::newRow("hexadecimal address") << "\tLD\tGR1,#00FF";
    QTest::newRow("literals") << "\tLD\tGR1,='A;B'";
    QTest::newRow("an unclosed literal takes the rest") << "\tLD\tGR1,='' ;x";
    QTest::newRow("DC items") << "S\tDC\t'IT''S', 12, #000A, L ;note";
    QTest::newRow("DC past the third operand") << "\tDC\t1,2,3,4,5";
    QTest::newRow("dropped after the third operand") << "\tLD\tGR1,A,GR2,X Y";
    QTest::newRow("whole-line comment") << "; a comment 'with' quotes";
    QTest::newRow("Japanese in a string") << "MSG\tDC\t'こんにちは',0";
    QTest::newRow("a character beyond 16 bits") << "X\tDC\t'\U00020BB7A',5 ; \U00020BB7";
}

void HighlighterTest::spansAreTheAssemblersTokens() {
    QFETCH(QString, line);
    Form1 window;
    window.editor()->setEditorText(line.toStdU32String());
    const CaslHighlighter* highlighter = highlighterOf(window);
    QVERIFY(highlighter);
    const QString shown = window.editor()->document()->firstBlock().text();
    const auto expected = expectedFormats(*highlighter, shown);
    QVERIFY(!expected.isEmpty());
    QCOMPARE(formatsOfLine(window, 1), expected);
}

void HighlighterTest::everyKindHasItsOwnLook() {
    Form1 window;
    const CaslHighlighter* highlighter = highlighterOf(window);
    const EditorColours colours = editorColours(window.editor()->palette());
    const auto colourOf = [&](TokenKind kind) {
        return highlighter->formatOf(kind).foreground().color();
    };
    QCOMPARE(colourOf(TokenKind::mnemonic), colours.mnemonic);
    QVERIFY(highlighter->formatOf(TokenKind::mnemonic).fontWeight() == QFont::Bold);
    QVERIFY(highlighter->formatOf(TokenKind::label).fontWeight() == QFont::Bold);
    QCOMPARE(colourOf(TokenKind::decimal), colourOf(TokenKind::hexadecimal));
    // An unknown mnemonic looks like no mnemonic, and is underlined.
    QVERIFY(colourOf(TokenKind::unknownMnemonic) != colours.mnemonic);
    QVERIFY(highlighter->formatOf(TokenKind::unknownMnemonic).fontUnderline() ||
            highlighter->formatOf(TokenKind::unknownMnemonic).underlineStyle() !=
                QTextCharFormat::NoUnderline);
    QVERIFY(highlighter->formatOf(TokenKind::ignored).fontStrikeOut());
    std::set<QRgb> distinct;
    for (TokenKind kind : {TokenKind::mnemonic, TokenKind::registerName, TokenKind::decimal,
                           TokenKind::literal, TokenKind::character, TokenKind::comment}) {
        distinct.insert(colourOf(kind).rgb());
    }
    QCOMPARE(distinct.size(), std::size_t{6});
}

void HighlighterTest::traceListingIsColouredAfterItsMark() {
    Form1 window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    pasteIntoEditor(window, addProgram);
    child<QPushButton>(&window, "Assemble")->click();
    child<QPushButton>(&window, "Trace")->click();
    QVERIFY(window.traceActive());
    const CaslHighlighter* highlighter = highlighterOf(window);
    QVERIFY(highlighter->readsTraceListing());
    const QTextBlock first = window.editor()->document()->firstBlock();
    QVERIFY(first.text().startsWith(QStringLiteral(">>>>>> \tPGM")));
    QCOMPARE(formatsOfLine(window, 1), expectedFormats(*highlighter, first.text(), 8));
    QCOMPARE(formatsOfLine(window, 1).front().format, highlighter->formatOf(TokenKind::label));
    const QTextBlock second = first.next();
    QCOMPARE(formatsOfLine(window, 2), expectedFormats(*highlighter, second.text(), 1));
    QCOMPARE(formatsOfLine(window, 2).front().format, highlighter->formatOf(TokenKind::mnemonic));

    child<QPushButton>(&window, "Command2")->click();
    QVERIFY(!highlighter->readsTraceListing());
    QCOMPARE(window.editor()->document()->firstBlock().text(), QStringLiteral("PGM\tSTART"));
    QCOMPARE(formatsOfLine(window, 1),
             expectedFormats(*highlighter, window.editor()->document()->firstBlock().text()));
}

void HighlighterTest::coloursStayLegible_data() {
    QTest::addColumn<QPalette>("palette");
    QTest::newRow("light") << lightPalette();
    QTest::newRow("dark") << darkPalette();
}

void HighlighterTest::coloursStayLegible() {
    QFETCH(QPalette, palette);
    const EditorColours c = editorColours(palette);
    const std::pair<const char*, QColor> texts[] = {
        {"label", c.label},   {"mnemonic", c.mnemonic}, {"register", c.registerName},
        {"number", c.number}, {"literal", c.literal},   {"character", c.character},
    };
    for (const auto& [name, colour] : texts) {
        QVERIFY2(contrastRatio(colour, c.base) >= 4.5, name);
        // Program lines are also shown on the executed line's background during a run.
        QVERIFY2(contrastRatio(colour, c.executedLine) >= 4.5, name);
    }
    // None of them looks like the red of the errors.
    for (const QColor& colour : {c.mnemonic, c.registerName, c.number, c.literal, c.character}) {
        const int hue = colour.toHsl().hslHue();
        QVERIFY2(hue >= 25 && hue <= 335, qPrintable(colour.name()));
    }
    QVERIFY(contrastRatio(c.comment, c.base) >= 3.0);
    QVERIFY(contrastRatio(c.text, c.executedLine) >= 4.5);
    QVERIFY(c.executedLine != c.base);
    QVERIFY(contrastRatio(c.gutterNumber, c.gutterBackground) >= 3.0);
    QVERIFY(contrastRatio(failureRed, c.base) >= 3.0);
}

void HighlighterTest::executedLineTokensAreLegible_data() {
    coloursStayLegible_data();
}

// What the window draws during a run: each token's colour on the executed line's background.
void HighlighterTest::executedLineTokensAreLegible() {
    QFETCH(QPalette, palette);
    Form1 window;
    window.setPalette(palette);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    pasteIntoEditor(window, QStringLiteral("P\tSTART\n\tLD\tGR1,=5\n\tLAD\tGR2,#0010\n"
                                           "TOP\tLAD\tGR3,-1,GR2\n\tLD\tGR4,='A'\n"
                                           "\tADDA\tGR1,DATA\n\tRET\nDATA\tDC\t3\n\tEND\n"));
    child<QPushButton>(&window, "Assemble")->click();
    child<QPushButton>(&window, "Trace")->click();
    std::set<int> colouredLines;
    // START and the six instructions up to RET, whose step would end the run.
    for (int step = 0; step < 7; ++step) {
        if (step > 0) {
            child<QPushButton>(&window, "Command1")->click();
        }
        const auto selections = window.editor()->extraSelections();
        QVERIFY(!selections.isEmpty());
        const QColor background = selections.front().format.background().color();
        const QTextBlock block = selections.front().cursor.block();
        QVERIFY(block.text().startsWith(QStringLiteral(">>>>>> ")));
        for (const QTextLayout::FormatRange& range : block.layout()->formats()) {
            const QColor colour = range.format.foreground().color();
            QVERIFY2(contrastRatio(colour, background) >= 4.5,
                     qPrintable(block.text().mid(range.start, range.length) + QLatin1Char(' ') +
                                colour.name() + QStringLiteral(" on ") + background.name()));
            colouredLines.insert(block.blockNumber());
        }
    }
    QCOMPARE(colouredLines.size(), std::size_t{7});
    child<QPushButton>(&window, "Command2")->click();
}

void HighlighterTest::aNewPaletteRecoloursWithoutChangingTheText() {
    Form1 window;
    window.editor()->setEditorText(U"\tLD\tGR1,A");
    QSignalSpy changes(window.editor(), &QPlainTextEdit::textChanged);
    window.editor()->setPalette(darkPalette());
    QCOMPARE(changes.count(), 0);
    const CaslHighlighter* highlighter = highlighterOf(window);
    QCOMPARE(highlighter->formatOf(TokenKind::mnemonic).foreground().color(),
             editorColours(darkPalette()).mnemonic);
    QCOMPARE(formatsOfLine(window, 1).front().format, highlighter->formatOf(TokenKind::mnemonic));
}

QTEST_MAIN(HighlighterTest)
#include "highlighter_test.moc"
