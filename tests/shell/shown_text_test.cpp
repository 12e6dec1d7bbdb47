// The text boxes of the trace are brought up to date line by line: only the lines that differ
// are replaced when the number of lines stays, and the box always holds exactly the new text.

#include "shell/shown_text.h"
#include "shell_test_support.h"

#include <QPlainTextEdit>
#include <QScrollBar>
#include <QSignalSpy>
#include <QSyntaxHighlighter>
#include <QTest>
#include <QTextBlock>

using namespace casl;
using namespace casl::test;

namespace {

/// `count` lines "row 0" … and a last empty line, as the dumps end.
std::u32string rows(int count, int changed = -1) {
    std::u32string text;
    for (int i = 0; i < count; ++i) {
        const std::string row = (i == changed ? "new " : "row ") + std::to_string(i);
        text += std::u32string(row.begin(), row.end()) + U"\r\n";
    }
    return text;
}

QString widgetText(const std::u32string& text) {
    return QString::fromStdU32String(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

/// One change of the document: where, how many characters went and came.
struct Change {
    int from;
    int removed;
    int added;
    friend bool operator==(const Change&, const Change&) = default;
};

QList<Change> changesOf(const QSignalSpy& spy) {
    QList<Change> changes;
    for (const QList<QVariant>& signal : spy) {
        changes.append({signal.at(0).toInt(), signal.at(1).toInt(), signal.at(2).toInt()});
    }
    return changes;
}

/// Colours every digit, as the editor's highlighter colours numbers: a changed line gets new
/// formats.
class DigitHighlighter : public QSyntaxHighlighter {
public:
    using QSyntaxHighlighter::QSyntaxHighlighter;

protected:
    void highlightBlock(const QString& text) override {
        QTextCharFormat digit;
        digit.setForeground(Qt::blue);
        for (qsizetype i = 0; i < text.size(); ++i) {
            if (text.at(i).isDigit()) {
                setFormat(static_cast<int>(i), 1, digit);
            }
        }
    }
};

} // namespace

namespace QTest {
template <> char* toString(const Change& change) {
    return qstrdup(QByteArray::number(change.from) + ',' + QByteArray::number(change.removed) +
                   ',' + QByteArray::number(change.added));
}
} // namespace QTest

class ShownTextTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { setUpApplication(); }

    void onlyTheLinesThatDifferAreReplaced();
    void anotherNumberOfLinesReplacesEverything_data();
    void anotherNumberOfLinesReplacesEverything();
    void aTextPutThereBySomethingElseIsReplacedWhole();
    void everyLineEndBecomesALine();
    void theWholeTextKeepsThePartInView();
    void aChangedLineRepaintsThatLineOnly_data();
    void aChangedLineRepaintsThatLineOnly();
    void aLongerLineWidensTheScrollRange();
};

void ShownTextTest::onlyTheLinesThatDifferAreReplaced() {
    QPlainTextEdit box;
    ShownText shown(box);
    shown.show(rows(50));
    QCOMPARE(box.toPlainText(), widgetText(rows(50)));

    QSignalSpy changes(box.document(), &QTextDocument::contentsChange);
    shown.show(rows(50, 20));
    QCOMPARE(box.toPlainText(), widgetText(rows(50, 20)));
    const int at = box.document()->findBlockByNumber(20).position();
    QCOMPARE(changesOf(changes), (QList<Change>{{at, 6, 6}}));

    // The same text again changes nothing.
    changes.clear();
    shown.show(rows(50, 20));
    QCOMPARE(changes.count(), 0);
}

void ShownTextTest::anotherNumberOfLinesReplacesEverything_data() {
    QTest::addColumn<int>("before");
    QTest::addColumn<int>("after");
    QTest::newRow("more") << 10 << 12;
    QTest::newRow("fewer") << 12 << 10;
    QTest::newRow("none") << 10 << 0;
}

void ShownTextTest::anotherNumberOfLinesReplacesEverything() {
    QFETCH(int, before);
    QFETCH(int, after);
    QPlainTextEdit box;
    ShownText shown(box);
    shown.show(rows(before));
    QSignalSpy changes(box.document(), &QTextDocument::contentsChange);
    shown.show(rows(after));
    QCOMPARE(box.toPlainText(), widgetText(rows(after)));
    QVERIFY(!changes.isEmpty());
    QCOMPARE(changes.front().at(0).toInt(), 0);
}

void ShownTextTest::aTextPutThereBySomethingElseIsReplacedWhole() {
    QPlainTextEdit box;
    ShownText shown(box);
    shown.show(rows(5));
    // The listing of an assembly goes into the data dump's box between two runs.
    box.setPlainText(QStringLiteral("a\nb\nc\nd\ne\n"));
    shown.show(rows(5, 2));
    QCOMPARE(box.toPlainText(), widgetText(rows(5, 2)));
    // And the same text as before the interruption is shown again, not taken as shown.
    box.setPlainText(QStringLiteral("x"));
    shown.show(rows(5, 2));
    QCOMPARE(box.toPlainText(), widgetText(rows(5, 2)));
    shown.show(rows(5, 3));
    QCOMPARE(box.toPlainText(), widgetText(rows(5, 3)));
}

void ShownTextTest::everyLineEndBecomesALine() {
    QPlainTextEdit box;
    ShownText shown(box);
    shown.show(U"a\rb\nc\r\nd");
    QCOMPARE(box.toPlainText(), QStringLiteral("a\nb\nc\nd"));
    shown.show(U"a\r\nB\r\nc\r\nd");
    QCOMPARE(box.toPlainText(), QStringLiteral("a\nB\nc\nd"));
    shown.show(U"a\nB\rc\rD");
    QCOMPARE(box.toPlainText(), QStringLiteral("a\nB\nc\nD"));
}

void ShownTextTest::theWholeTextKeepsThePartInView() {
    QPlainTextEdit box;
    box.resize(200, 120);
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    ShownText shown(box);
    shown.show(rows(100));
    box.verticalScrollBar()->setValue(40);
    shown.show(rows(101));
    QCOMPARE(box.verticalScrollBar()->value(), 40);
    shown.show(rows(101, 45));
    QCOMPARE(box.verticalScrollBar()->value(), 40);
}

void ShownTextTest::aChangedLineRepaintsThatLineOnly_data() {
    QTest::addColumn<bool>("highlighted");
    QTest::newRow("dump") << false;
    QTest::newRow("highlighted listing") << true;
}

// At every step of a run the boxes change a line or two; repainting all they show made stepping
// back through a long run slow.
void ShownTextTest::aChangedLineRepaintsThatLineOnly() {
    QFETCH(bool, highlighted);
    QPlainTextEdit box;
    box.setLineWrapMode(QPlainTextEdit::NoWrap);
    box.setReadOnly(true);
    if (highlighted) {
        new DigitHighlighter(box.document());
    }
    box.resize(300, 400);
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    ShownText shown(box);
    shown.show(rows(60));
    QApplication::processEvents();

    PaintedRegion painted(*box.viewport());
    shown.show(rows(60, 7));
    QTRY_VERIFY(!painted.region.isEmpty());
    const QRect line = box.cursorRect(QTextCursor(box.document()->findBlockByNumber(7)));
    const QRect bounds = painted.region.boundingRect();
    QVERIFY2(bounds.contains(QRect(0, line.top(), box.viewport()->width(), line.height())),
             "the changed line is not repainted");
    QVERIFY2(bounds.height() < 3 * line.height(), "more than the changed line is repainted");
    QCOMPARE(box.toPlainText(), widgetText(rows(60, 7)));
}

void ShownTextTest::aLongerLineWidensTheScrollRange() {
    QPlainTextEdit box;
    box.setLineWrapMode(QPlainTextEdit::NoWrap);
    box.resize(200, 200);
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    ShownText shown(box);
    shown.show(rows(5));
    QApplication::processEvents();
    const int before = box.horizontalScrollBar()->maximum();
    std::u32string longer = rows(5);
    longer.insert(longer.find(U"row 3") + 5, std::u32string(200, U'x'));
    shown.show(longer);
    QTRY_VERIFY(box.horizontalScrollBar()->maximum() > before);
}

QTEST_MAIN(ShownTextTest)
#include "shown_text_test.moc"
