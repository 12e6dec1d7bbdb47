// The explain pane of the window: the writer of each value as its tooltip, the step back to
// it, the words a step read, the predictions' marks and the trace table.

#include "shell/change_label.h"
#include "shell/explain_pane.h"
#include "shell/form1.h"
#include "shell/trace_changes.h"
#include "shell_test_support.h"

#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace casl;
using namespace casl::test;

namespace {

const QString sumProgram = QStringLiteral("P\tSTART\n"      // 1
                                          "\tLD\tGR1,A\n"   // 2
                                          "\tADDA\tGR1,B\n" // 3
                                          "\tST\tGR1,C\n"   // 4
                                          "\tRET\n"         // 5
                                          "A\tDC\t3\n"      // 6
                                          "B\tDC\t4\n"      // 7
                                          "C\tDS\t1\n"      // 8
                                          "\tEND\n");

void next(Form1& window, int times = 1) {
    for (int i = 0; i < times; ++i) {
        child<QPushButton>(&window, "Command1")->click();
    }
}

} // namespace

class ExplainPaneTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { setUpApplication(); }

    void thePaneOpensFromTheViewMenuOnly();
    void tooltipsNameTheWriter();
    void theContextMenuStepsBackToTheWriter();
    void readWordsAreUnderlinedAndSaid();
    void predictionsAreMarkedAtNext();
    void theTableHasARowPerStepAndSavesAsCsv();
};

void ExplainPaneTest::thePaneOpensFromTheViewMenuOnly() {
    Form1 window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    auto* pane = window.findChild<ExplainPane*>();
    QVERIFY(!pane->isVisible());
    QAction* toggle = nullptr;
    for (QAction* action : window.findChild<QMenu*>("viewMenu")->actions()) {
        toggle = action == pane->toggleViewAction() ? action : toggle;
    }
    QVERIFY(toggle);
    toggle->trigger();
    QVERIFY(pane->isVisible());
}

void ExplainPaneTest::tooltipsNameTheWriter() {
    Form1 window;
    assembleAndShow(window, sumProgram);
    child<QPushButton>(&window, "Trace")->click();
    next(window, 2);
    QCOMPARE(child<QLabel>(&window, "gr1")->toolTip(),
             QStringLiteral("GR1: written at step 3, line 3: ADDA GR1,B"));
    QCOMPARE(child<QLabel>(&window, "fr")->toolTip(),
             QStringLiteral("OF SF ZF: written at step 3, line 3: ADDA GR1,B"));
    // The display texts themselves stay as they are.
    QVERIFY(child<QLabel>(&window, "gr1")->text().endsWith(QStringLiteral("0007 (     7)")));
}

void ExplainPaneTest::theContextMenuStepsBackToTheWriter() {
    Form1 window;
    assembleAndShow(window, sumProgram);
    child<QPushButton>(&window, "Trace")->click();
    next(window, 3);
    QLabel* gr1 = child<QLabel>(&window, "gr1");
    bool offered = false;
    QTimer::singleShot(0, [&] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        QVERIFY(menu != nullptr);
        for (QAction* action : menu->actions()) {
            if (action->objectName() == QStringLiteral("stepBackToWriter")) {
                offered = action->isEnabled();
                QCOMPARE(action->text(), QStringLiteral("書いたステップへ戻る (step 3)"));
                menu->close();
                action->trigger();
                return;
            }
        }
        menu->close();
    });
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(2, 2), gr1->mapToGlobal(QPoint(2, 2)));
    QApplication::sendEvent(gr1, &event);
    QVERIFY(offered);
    QCOMPARE(window.workbench().view().explanation.step, 3u);
    QCOMPARE(markedEditorLine(window), 3);
}

void ExplainPaneTest::readWordsAreUnderlinedAndSaid() {
    Form1 window;
    assembleAndShow(window, sumProgram);
    child<QPushButton>(&window, "Trace")->click();
    next(window);
    QCOMPARE(child<QLabel>(&window, "readsLabel")->text(), QStringLiteral("read: A 0009 = 0003"));
    auto* data = child<QPlainTextEdit>(&window, "Text1");
    auto* changes = window.findChild<TraceChanges*>();
    QCOMPARE(changes->dataReads(), std::vector<int>{2});
    bool underlined = false;
    for (const QTextEdit::ExtraSelection& s : data->extraSelections()) {
        underlined = underlined || (s.cursor.blockNumber() == 2 &&
                                    s.format.underlineStyle() == QTextCharFormat::DashUnderline);
    }
    QVERIFY(underlined);
    next(window, 2);
    QVERIFY(changes->dataReads().empty());
    QCOMPARE(child<QLabel>(&window, "readsLabel")->text(), QString());
}

void ExplainPaneTest::predictionsAreMarkedAtNext() {
    Form1 window;
    assembleAndShow(window, sumProgram);
    child<QPushButton>(&window, "Trace")->click();
    next(window);
    auto* gr1 = child<QLineEdit>(&window, "predictionGR1");
    auto* zf = child<QLineEdit>(&window, "predictionZF");
    QTest::keyClicks(gr1, "7");
    QTest::keyClicks(zf, "1");
    next(window);
    QCOMPARE(child<QLabel>(&window, "markGR1")->text(), QStringLiteral("✓ 正"));
    QCOMPARE(child<QLabel>(&window, "markZF")->text(), QStringLiteral("✗ 誤"));
    QCOMPARE(child<QLabel>(&window, "markGR2")->text(), QString());
    QCOMPARE(child<QLabel>(&window, "predictionScore")->text(),
             QStringLiteral("Predictions right: 1 of 2"));
    // The predictions made are taken back once marked.
    QCOMPARE(gr1->text(), QString());
}

void ExplainPaneTest::theTableHasARowPerStepAndSavesAsCsv() {
    Form1 window;
    assembleAndShow(window, sumProgram);
    window.findChild<ExplainPane*>()->toggleViewAction()->trigger();
    window.findChild<QTabWidget*>("explainTabs")->setCurrentIndex(1);
    child<QPushButton>(&window, "Trace")->click();
    next(window, 3);
    auto* table = child<QTableWidget>(&window, "traceTable");
    QCOMPARE(table->rowCount(), 4);
    QCOMPARE(table->item(3, 2)->text(), QStringLiteral("ST GR1,C"));
    QCOMPARE(table->horizontalHeaderItem(4)->text(), QStringLiteral("GR1"));
    // Columns limited as an examination question asks.
    for (const char* name : {"columnGR0", "columnGR2", "columnGR3", "columnGR4", "columnGR5",
                             "columnGR6", "columnGR7", "columnPR", "columnSP"}) {
        child<QCheckBox>(&window, name)->setChecked(false);
    }
    QCOMPARE(table->columnCount(), 8);
    QTemporaryDir folder;
    const QString path = QDir(folder.path()).filePath(QStringLiteral("table.csv"));
    QVERIFY(window.findChild<ExplainPane*>()->saveTable(path));
    QCOMPARE(readBytes(path), QByteArray("step,line,instruction,GR1,OF,SF,ZF,written\r\n"
                                         "1,1,START,0000,0,0,0,\r\n"
                                         "2,2,\"LD GR1,A\",0003,0,0,0,\r\n"
                                         "3,3,\"ADDA GR1,B\",0007,0,0,0,\r\n"
                                         "4,4,\"ST GR1,C\",0007,0,0,0,000B:0007\r\n"));
}

QTEST_MAIN(ExplainPaneTest)
#include "explain_pane_test.moc"
