// The main window's controls, menus, layout, fonts and the three states of the enable protocol.

#include "modal_answerer.h"
#include "programs.h"
#include "shell/form1.h"
#include "shell/form2.h"
#include "shell/source_editor.h"
#include "shell_test_support.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QFontInfo>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <utility>

using namespace casl;
using namespace casl::test;

class WindowStateTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { setUpApplication(); }

    void buttonsAndLabelsHaveTheirNamesAndCaptions_data();
    void buttonsAndLabelsHaveTheirNamesAndCaptions();
    void menusAreInOrderWithCaptionsAndShortcuts();
    void startUpShowsTheInitialCaptions();
    void registerNameArraysHoldGr0ToGr7();
    void assembledStateEnablesTraceAndBreakpointControls();
    void anyKeyInTheEditorReturnsToEditing();
    void aMenuEditReturnsToEditingButSelectAllDoesNot();
    void controlsDoNotOverlapAtTheDefaultSize();
    void fixedPitchTextsUseTheJapaneseGothic();
    void standardButtonsAreJapanese();
    void everyFocusStopShowsTheFocus();
};

namespace {

/// Presses Tab in `window` from `first` until the focus comes back to it, and gives the name of
/// every widget that looked the same with the focus as after Tab took it on.
QStringList stopsWithoutAFocusMark(QWidget& window, QWidget* first, QStringList& visited) {
    QStringList unmarked;
    first->setFocus(Qt::OtherFocusReason);
    QWidget* focused = first;
    for (int step = 0; step < 40; ++step) {
        QApplication::processEvents();
        const QImage withFocus = focused->grab().toImage();
        visited.append(focused->objectName());
        QTest::keyClick(focused, Qt::Key_Tab);
        QApplication::processEvents();
        if (focused->grab().toImage() == withFocus) {
            unmarked.append(focused->objectName());
        }
        focused = window.focusWidget();
        if (focused == first || focused == nullptr) {
            break;
        }
    }
    return unmarked;
}

} // namespace

// A user who moves with Tab sees where the focus is: every stop looks different with it.
void WindowStateTest::everyFocusStopShowsTheFocus() {
    // A caret that blinks would be seen only half of the time.
    const int flashTime = QApplication::cursorFlashTime();
    QApplication::setCursorFlashTime(0);
    Form1 window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    pasteIntoEditor(window, addProgram);
    child<QPushButton>(&window, "Assemble")->click();
    child<QPushButton>(&window, "Trace")->click();
    child<QPushButton>(&window, "Command1")->click();
    QVERIFY(child<QPushButton>(&window, "stepBack")->isEnabled());
    for (auto [shown, first] :
         {std::pair<QWidget*, QWidget*>{&window, window.editor()},
          {window.listingWindow(), child<QPlainTextEdit>(window.listingWindow(), "Text1")}}) {
        shown->activateWindow();
        QTRY_VERIFY(shown->isActiveWindow());
        QStringList visited;
        const QStringList unmarked = stopsWithoutAFocusMark(*shown, first, visited);
        QVERIFY2(visited.size() >= 3, qPrintable(visited.join(QLatin1Char(' '))));
        QVERIFY2(unmarked.isEmpty(), qPrintable(unmarked.join(QLatin1Char(' '))));
    }
    child<QPushButton>(&window, "Command2")->click();
    QApplication::setCursorFlashTime(flashTime);
}

void WindowStateTest::buttonsAndLabelsHaveTheirNamesAndCaptions_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::newRow("Assemble") << "Assemble"
                              << "Assemble";
    QTest::newRow("Trace") << "Trace"
                           << "Trace";
    QTest::newRow("Next") << "Command1"
                          << "Next";
    QTest::newRow("End") << "Command2"
                         << "End";
    QTest::newRow("Clear") << "Command4"
                           << "クリア";
    QTest::newRow("Check1") << "Check1"
                            << "簡易表示";
    QTest::newRow("Label2") << "Label2"
                            << "Source Program";
    QTest::newRow("Label5") << "Label5"
                            << "ブレークポイントを";
    QTest::newRow("Label7") << "Label7"
                            << "行に設定します";
}

void WindowStateTest::buttonsAndLabelsHaveTheirNamesAndCaptions() {
    QFETCH(QString, name);
    QFETCH(QString, caption);
    Form1 window;
    QObject* control = window.findChild<QObject*>(name);
    QVERIFY2(control, qPrintable(name));
    if (auto* button = qobject_cast<QAbstractButton*>(control)) {
        QCOMPARE(button->text(), caption);
    } else {
        QCOMPARE(qobject_cast<QLabel*>(control)->text(), caption);
    }
}

void WindowStateTest::menusAreInOrderWithCaptionsAndShortcuts() {
    Form1 window;
    struct Item {
        const char* name;
        const char* caption;
        QKeySequence shortcut;
    };
    const std::vector<std::pair<Item, std::vector<Item>>> expected{
        {{"mnuFILE", "ファイル(&F)", {}},
         {{"mnuSinki", "新規作成", QKeySequence(Qt::CTRL | Qt::Key_N)},
          {"mnuOPEN", "開く(&O)", QKeySequence(Qt::CTRL | Qt::Key_O)},
          {"mnuSAVE", "名前を付けて保存(&S)", {}},
          {"mnuEXIT", "終了(&X)", {}}}},
        {{"mnuUwagaki", "上書き保存", {}}, {}},
        {{"mnuEdit", "編集(&E)", {}},
         {{"mnuEditUndo", "元に戻す", QKeySequence(Qt::CTRL | Qt::Key_Z)},
          {"mnuCOPY", "コピー(&C)", QKeySequence(Qt::CTRL | Qt::Key_C)},
          {"mnuCUT", "切り取り(&X)", QKeySequence(Qt::CTRL | Qt::Key_X)},
          {"mnuPASTE", "貼り付け(&V)", QKeySequence(Qt::CTRL | Qt::Key_V)},
          {"mnuEditSelectAll", "すべて選択", QKeySequence(Qt::CTRL | Qt::Key_A)}}},
        {{"mnuKomoji", "小文字変換", {}}, {}},
        {{"mnuHelp", "ヘルプ(&H)", {}},
         {{"mnuMokuji", "目次(&C)", QKeySequence(Qt::Key_F1)},
          {"mnuVer", "バージョン情報(&A)", {}}}},
    };
    const QList<QAction*> top = window.menuBar()->actions();
    QCOMPARE(top.size(), static_cast<qsizetype>(expected.size()));
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const auto& [menuItem, items] = expected[i];
        QAction* action = top[static_cast<qsizetype>(i)];
        QCOMPARE(action->objectName(), QString::fromLatin1(menuItem.name));
        QCOMPARE(action->text(), QString::fromUtf8(menuItem.caption));
        QMenu* menu = action->menu();
        QCOMPARE(menu != nullptr, !items.empty());
        if (!menu) {
            continue;
        }
        QCOMPARE(menu->objectName(), QString::fromLatin1(menuItem.name));
        const QList<QAction*> entries = menu->actions();
        QCOMPARE(entries.size(), static_cast<qsizetype>(items.size()));
        for (std::size_t k = 0; k < items.size(); ++k) {
            QAction* entry = entries[static_cast<qsizetype>(k)];
            QCOMPARE(entry->objectName(), QString::fromLatin1(items[k].name));
            QCOMPARE(entry->text(), QString::fromUtf8(items[k].caption));
            QCOMPARE(entry->shortcut(), items[k].shortcut);
        }
    }
}

void WindowStateTest::startUpShowsTheInitialCaptions() {
    Form1 window;
    QCOMPARE(window.windowTitle(), QStringLiteral("RuzidOV & OzerAR Orozaraz"));
    QVERIFY(!child<QPushButton>(&window, "Trace")->isEnabled());
    QVERIFY(child<QPushButton>(&window, "Assemble")->isEnabled());
    QVERIFY(child<QPushButton>(&window, "Command1")->isHidden());
    QVERIFY(child<QPushButton>(&window, "Command2")->isHidden());
    QVERIFY(!child<QPushButton>(&window, "Command4")->isEnabled());
    QVERIFY(child<QPlainTextEdit>(&window, "Text1")->isHidden());
    QVERIFY(child<QPlainTextEdit>(&window, "Text2")->isHidden());
    for (const char* name : {"Label5", "Label6", "Label7"}) {
        QVERIFY2(child<QLabel>(&window, name)->isHidden(), name);
    }
    const QList<QLabel*> label4 = window.findChildren<QLabel*>(QStringLiteral("Label4"));
    QCOMPARE(label4.size(), 3);
    for (QLabel* item : label4) {
        const int index = item->property("index").toInt();
        QCOMPARE(item->isHidden(), index != 2);
        QCOMPARE(item->text(),
                 QStringList({QStringLiteral("Stack Area"), QStringLiteral("Data Area"),
                              QStringLiteral("　　　　2進数　　　　　16進数　10進数")})
                     .at(index));
    }
    for (const char* name : {"GR0", "gr1", "gr2", "gr3", "GR4", "gr5", "gr6", "gr7"}) {
        QCOMPARE(child<QLabel>(&window, name)->text(), QString(35, QLatin1Char(' ')));
    }
    QCOMPARE(child<QLabel>(&window, "fr")->text(), QStringLiteral("OF:  SF:  ZF: "));
    QCOMPARE(child<QLabel>(&window, "pc")->text(), QStringLiteral("PR:    "));
    QCOMPARE(child<QLabel>(&window, "obj")->text(), QStringLiteral("OBJ-Code:         "));
    QCOMPARE(child<QLabel>(&window, "sp")->text(), QStringLiteral("SP:    "));
    QVERIFY(!child<QAction>(&window, "mnuUwagaki")->isEnabled());
    QVERIFY(!window.modifiedMark());
    QVERIFY(!window.traceActive());
    QCOMPARE(window.breakpointLine(), 0);
}

void WindowStateTest::registerNameArraysHoldGr0ToGr7() {
    Form1 window;
    QStringList names;
    for (const char* array : {"Label1", "Label3"}) {
        QList<QLabel*> items = window.findChildren<QLabel*>(QString::fromLatin1(array));
        std::sort(items.begin(), items.end(), [](QLabel* a, QLabel* b) {
            return a->property("index").toInt() < b->property("index").toInt();
        });
        for (QLabel* item : items) {
            names << item->text();
        }
    }
    QCOMPARE(names, QStringList({"GR0", "GR1", "GR2", "GR3", "GR4", "GR5", "GR6", "GR7"}));
}

void WindowStateTest::assembledStateEnablesTraceAndBreakpointControls() {
    Form1 window;
    pasteIntoEditor(window, addProgram);
    child<QPushButton>(&window, "Assemble")->click();
    QVERIFY(child<QPushButton>(&window, "Trace")->isEnabled());
    QVERIFY(child<QPushButton>(&window, "Command4")->isEnabled());
    for (const char* name : {"Label5", "Label6", "Label7"}) {
        QVERIFY2(!child<QLabel>(&window, name)->isHidden(), name);
    }
    QCOMPARE(child<QLabel>(&window, "Label6")->text(), QString());
}

void WindowStateTest::anyKeyInTheEditorReturnsToEditing() {
    Form1 window;
    pasteIntoEditor(window, addProgram);
    child<QPushButton>(&window, "Assemble")->click();
    QVERIFY(child<QPushButton>(&window, "Trace")->isEnabled());
    // A key that changes nothing still leaves the Assembled state.
    QTest::keyClick(window.editor(), Qt::Key_Right);
    QVERIFY(!child<QPushButton>(&window, "Trace")->isEnabled());
    QVERIFY(!child<QPushButton>(&window, "Command4")->isEnabled());
    QVERIFY(child<QLabel>(&window, "Label6")->isHidden());
    // The greyed Trace says why, and goes quiet again once it can be pressed.
    QCOMPARE(
        child<QPushButton>(&window, "Trace")->toolTip(),
        QStringLiteral("プログラムが変更されました。もう一度 Assemble すると、トレースできます"));
    child<QPushButton>(&window, "Assemble")->click();
    QCOMPARE(child<QPushButton>(&window, "Trace")->toolTip(), QString());
}

void WindowStateTest::aMenuEditReturnsToEditingButSelectAllDoesNot() {
    Form1 window;
    pasteIntoEditor(window, addProgram);
    auto* trace = child<QPushButton>(&window, "Trace");
    child<QPushButton>(&window, "Assemble")->click();
    child<QAction>(&window, "mnuEditSelectAll")->trigger();
    child<QAction>(&window, "mnuCOPY")->trigger();
    QVERIFY(trace->isEnabled());
    child<QAction>(&window, "mnuKomoji")->trigger();
    QVERIFY(!trace->isEnabled());

    child<QPushButton>(&window, "Assemble")->click();
    QVERIFY(!trace->isEnabled()); // the lower-case program no longer assembles
    pasteIntoEditor(window, addProgram);
    child<QPushButton>(&window, "Assemble")->click();
    QVERIFY(trace->isEnabled());
    QApplication::clipboard()->setText(QStringLiteral("\tNOP\n"));
    child<QAction>(&window, "mnuPASTE")->trigger();
    QVERIFY(!trace->isEnabled());
}

void WindowStateTest::controlsDoNotOverlapAtTheDefaultSize() {
    Form1 window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    // Everything that a trace shows is shown, so that the whole layout is checked.
    const QStringList names{"source",   "Label2",   "Assemble", "Trace",  "Command1",
                            "Command2", "Command4", "Check1",   "Label5", "Label6",
                            "Label7",   "GR0",      "gr1",      "gr2",    "gr3",
                            "GR4",      "gr5",      "gr6",      "gr7",    "pc",
                            "sp",       "fr",       "obj",      "Text1",  "Text2"};
    std::vector<QWidget*> controls;
    for (const QString& name : names) {
        QWidget* widget = window.findChild<QWidget*>(name);
        QVERIFY2(widget, qPrintable(name));
        widget->show();
        controls.push_back(widget);
    }
    for (const char* array : {"Label1", "Label3", "Label4"}) {
        for (QLabel* item : window.findChildren<QLabel*>(QString::fromLatin1(array))) {
            item->show();
            controls.push_back(item);
        }
    }
    child<QLabel>(&window, "Label6")->setText(QStringLiteral("300"));
    QApplication::processEvents();
    const QRect area = window.centralWidget()->rect();
    for (QWidget* widget : controls) {
        const QRect box(widget->mapTo(window.centralWidget(), QPoint(0, 0)), widget->size());
        QVERIFY2(area.contains(box), qPrintable(widget->objectName()));
        QVERIFY2(widget->width() >= widget->minimumSizeHint().width(),
                 qPrintable(widget->objectName()));
        QVERIFY2(widget->height() >= widget->minimumSizeHint().height(),
                 qPrintable(widget->objectName()));
        if (auto* label = qobject_cast<QLabel*>(widget)) {
            const int needed = label->fontMetrics().horizontalAdvance(label->text());
            QVERIFY2(label->contentsRect().width() >= needed, qPrintable(widget->objectName()));
        }
    }
    for (std::size_t i = 0; i < controls.size(); ++i) {
        for (std::size_t k = i + 1; k < controls.size(); ++k) {
            const QRect a(controls[i]->mapTo(&window, QPoint(0, 0)), controls[i]->size());
            const QRect b(controls[k]->mapTo(&window, QPoint(0, 0)), controls[k]->size());
            QVERIFY2(!a.intersects(b),
                     qPrintable(controls[i]->objectName() + QStringLiteral(" / ") +
                                controls[k]->objectName()));
        }
    }
}

void WindowStateTest::fixedPitchTextsUseTheJapaneseGothic() {
    Form1 window;
    for (const char* name : {"source", "Text1", "Text2", "GR0", "pc", "obj"}) {
        auto* widget = window.findChild<QWidget*>(QString::fromLatin1(name));
        const QFontInfo info(widget->font());
        QVERIFY2(
            info.family().contains(QStringLiteral("Gothic")) ||
                info.family().contains(QStringLiteral("CJK")),
            qPrintable(QStringLiteral("%1: %2").arg(QString::fromLatin1(name), info.family())));
        // The dumps are laid out in columns: a full-width character takes two half-width ones.
        const QFontMetrics metrics(widget->font());
        QCOMPARE(metrics.horizontalAdvance(QStringLiteral("進")),
                 2 * metrics.horizontalAdvance(QLatin1Char('0')));
        QCOMPARE(metrics.horizontalAdvance(QLatin1Char(' ')),
                 metrics.horizontalAdvance(QLatin1Char('F')));
    }
}

void WindowStateTest::standardButtonsAreJapanese() {
    QMessageBox box(QMessageBox::NoIcon, QString(), QString(), QMessageBox::Yes | QMessageBox::No);
    QVERIFY2(box.button(QMessageBox::Yes)->text().contains(QStringLiteral("はい")),
             qPrintable(box.button(QMessageBox::Yes)->text()));
    QVERIFY(box.button(QMessageBox::No)->text().contains(QStringLiteral("いいえ")));
}

QTEST_MAIN(WindowStateTest)
#include "window_state_test.moc"
