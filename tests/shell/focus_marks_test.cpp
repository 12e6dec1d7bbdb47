// The keyboard's focus is always in sight: Tab goes through every control of the main window
// in the order in which they stand, and each one looks different while it has the focus, on a
// light desktop and on a dark one.

#include "shell/form1.h"
#include "shell/form2.h"
#include "shell/source_editor.h"
#include "shell_test_support.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QImage>
#include <QPushButton>
#include <QTest>
#include <vector>

using namespace casl;
using namespace casl::test;

namespace {

const QString loopProgram = QStringLiteral("P\tSTART\n"
                                           "\tLAD\tGR1,1\n"
                                           "L\tADDA\tGR1,GR1\n"
                                           "\tJUMP\tL\n"
                                           "\tEND\n");

QWidget* focused() {
    QApplication::processEvents();
    return QApplication::focusWidget();
}

void press(Qt::Key key) {
    QWidget* widget = focused();
    QVERIFY(widget);
    QTest::keyClick(widget, key);
}

/// What of `widget` a focus mark must change: all of it, but for a text area only its frame
/// (inside, the caret blinks and the text scrolls to it).
QRegion markArea(QWidget* widget) {
    QRegion area(widget->rect());
    if (auto* text = qobject_cast<QAbstractScrollArea*>(widget)) {
        area -= QRegion(text->viewport()->geometry());
    }
    return area;
}

/// The pixels of `area` in which the two pictures differ.
int differingPixels(const QImage& a, const QImage& b, const QRegion& area) {
    int count = 0;
    const qreal scale = a.devicePixelRatio();
    for (const QRect& rect : area) {
        for (int y = rect.top(); y <= rect.bottom(); ++y) {
            for (int x = rect.left(); x <= rect.right(); ++x) {
                const QPoint p(qRound(x * scale), qRound(y * scale));
                count += a.pixel(p) != b.pixel(p) ? 1 : 0;
            }
        }
    }
    return count;
}

} // namespace

class FocusMarksTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { setUpApplication(); }
    void cleanup() { QApplication::setPalette(lightPalette()); }

    void tabGoesThroughEveryControlAndMarksIt_data();
    void tabGoesThroughEveryControlAndMarksIt();
    void theListingWindowMarksItsFocusToo();
};

void FocusMarksTest::tabGoesThroughEveryControlAndMarksIt_data() {
    QTest::addColumn<bool>("dark");
    QTest::newRow("light desktop") << false;
    QTest::newRow("dark desktop") << true;
}

void FocusMarksTest::tabGoesThroughEveryControlAndMarksIt() {
    QFETCH(bool, dark);
    QApplication::setPalette(dark ? darkPalette() : lightPalette());
    Form1 window;
    // A run that waits after a step with a breakpoint shows and enables every control but
    // Assemble and Trace.
    assembleAndShow(window, loopProgram);
    clickOnLine(window, 3);
    child<QPushButton>(&window, "Trace")->click();
    child<QPushButton>(&window, "Command1")->click();
    QVERIFY(child<QPushButton>(&window, "stepBack")->isEnabled());
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    window.editor()->setFocus(Qt::TabFocusReason);

    const QStringList expected{QStringLiteral("source"),          QStringLiteral("stepBack"),
                               QStringLiteral("Command1"),        QStringLiteral("Command2"),
                               QStringLiteral("Command4"),        QStringLiteral("Check1"),
                               QStringLiteral("Text1"),           QStringLiteral("Text2"),
                               QStringLiteral("exercisesButton"), QStringLiteral("examplesButton"),
                               QStringLiteral("viewButton"),      QStringLiteral("source")};
    QStringList order{focused()->objectName()};
    QImage before = focused()->grab().toImage();
    // Out of the editor by its way out, then Tab by Tab round to it again.
    press(Qt::Key_Escape);
    for (int i = 0; i < expected.size() + 2 && order.size() < expected.size(); ++i) {
        QWidget* left = focused();
        press(Qt::Key_Tab);
        QWidget* now = focused();
        QVERIFY(now);
        QVERIFY(now->hasFocus());
        QVERIFY(now->isVisible());
        order << now->objectName();
        // The control just left, with and without the focus.
        const QImage unmarked = left->grab().toImage();
        const int changed = differingPixels(before, unmarked, markArea(left));
        QVERIFY2(changed > 0, qPrintable(left->objectName() + QStringLiteral(" shows no focus")));
        before = now->grab().toImage();
    }
    QCOMPARE(order, expected);
}

void FocusMarksTest::theListingWindowMarksItsFocusToo() {
    Form1 window;
    assembleAndShow(window, loopProgram);
    QWidget* listing = window.listingWindow();
    listing->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(listing));
    QWidget* first = focused();
    QVERIFY(first);
    QCOMPARE(first->objectName(), QStringLiteral("Text1"));
    const QImage marked = first->grab().toImage();
    QStringList order{first->objectName()};
    for (int i = 0; i < 3; ++i) {
        press(Qt::Key_Tab);
        order << focused()->objectName();
    }
    // The list, Print, Back, and round to the list.
    QCOMPARE(order, QStringList({QStringLiteral("Text1"), QStringLiteral("Command1"),
                                 QStringLiteral("Command2"), QStringLiteral("Text1")}));
    press(Qt::Key_Tab);
    QVERIFY(differingPixels(marked, first->grab().toImage(), markArea(first)) > 0);
}

QTEST_MAIN(FocusMarksTest)
#include "focus_marks_test.moc"
