// Each wait of a run is said to a screen reader: the status bar's announcement shows the core's
// words for it and tells assistive tools that it changed, the same words again too.

#include "platform/qt/qt_text.h"
#include "shell/announcement_label.h"
#include "shell/form1.h"
#include "shell_test_support.h"

#include <QAccessible>
#include <QApplication>
#include <QInputDialog>
#include <QLabel>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>
#include <algorithm>
#include <vector>

using namespace casl;
using namespace casl::test;

namespace {

/// Hears what the announcement line tells assistive tools. (Qt drops the events themselves
/// while no tool listens, as on the offscreen desktop of the tests.)
class Listener {
public:
    explicit Listener(AnnouncementLabel& label) {
        label.setNotifier([this, &label](QAccessibleEvent& event) {
            QVERIFY(event.object() == &label);
            heard_.push_back(event.type());
        });
    }

    /// How many events of `type` came since the last `forget()`.
    int count(QAccessible::Event type) const {
        return static_cast<int>(std::count(heard_.begin(), heard_.end(), type));
    }
    void forget() { heard_.clear(); }

private:
    std::vector<QAccessible::Event> heard_;
};

QString accessibleName(QWidget* widget) {
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(widget);
    return face ? face->text(QAccessible::Name) : QString();
}

QString coreAnnouncement(const Form1& window) {
    return platform::qt::toQString(window.workbench().view().announcement);
}

} // namespace

class AnnouncementTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { setUpApplication(); }

    void eachWaitIsShownAndAnnounced();
    void theSameWordsAgainAreAnnouncedAgain();
    void aBoxSaysItselfWhatItSays();
};

void AnnouncementTest::eachWaitIsShownAndAnnounced() {
    Form1 window;
    auto* label = child<AnnouncementLabel>(&window, "announcement");
    QVERIFY(label);
    QCOMPARE(label->parentWidget(), window.statusBar());
    QCOMPARE(label->text(), QString());
    QCOMPARE(accessibleName(label), QStringLiteral("トレースの読み上げ"));
    assembleAndShow(window, QStringLiteral("P\tSTART\n\tLAD\tGR1,5\n\tLAD\tGR2,7\n\tRET\n\tEND\n"));

    Listener listener(*label);
    child<QPushButton>(&window, "Trace")->click();
    QCOMPARE(label->text(), QStringLiteral("1行目 P START。変化なし"));
    // New words are a new name, which Qt itself tells the tools of; the alert is the label's.
    QCOMPARE(accessibleName(label), label->text());
    QCOMPARE(listener.count(QAccessible::NameChanged), 0);
    QCOMPARE(listener.count(QAccessible::Alert), 1);
    listener.forget();

    auto* next = child<QPushButton>(&window, "Command1");
    next->click();
    QVERIFY(label->text().startsWith(QStringLiteral("2行目 LAD GR1,5。変化: GR1 0005 (5)、PR:")));
    QCOMPARE(label->text(), coreAnnouncement(window));
    QCOMPARE(listener.count(QAccessible::Alert), 1);
    listener.forget();

    next->click();
    QVERIFY(label->text().startsWith(QStringLiteral("3行目 LAD GR2,7。変化: GR2 0007 (7)、PR:")));
    QCOMPARE(label->text(), coreAnnouncement(window));
    QCOMPARE(accessibleName(label), label->text());
    QCOMPARE(listener.count(QAccessible::Alert), 1);
    listener.forget();

    child<QPushButton>(&window, "Command2")->click();
    QCOMPARE(label->text(), QStringLiteral("トレースが終わりました"));
    QCOMPARE(listener.count(QAccessible::Alert), 1);
    listener.forget();

    // Nothing is said outside a run: a new assembly leaves the status line empty.
    child<QPushButton>(&window, "Assemble")->click();
    QCOMPARE(label->text(), QString());
    QCOMPARE(accessibleName(label), QStringLiteral("トレースの読み上げ"));
    QCOMPARE(listener.count(QAccessible::Alert), 0);
}

void AnnouncementTest::theSameWordsAgainAreAnnouncedAgain() {
    Form1 window;
    assembleAndShow(window, QStringLiteral("P\tSTART\nL\tJUMP\tL\n\tEND\n"));
    auto* label = child<AnnouncementLabel>(&window, "announcement");
    auto* next = child<QPushButton>(&window, "Command1");
    child<QPushButton>(&window, "Trace")->click();
    next->click();
    const QString said = label->text();
    QVERIFY(said.startsWith(QStringLiteral("2行目 ")));

    Listener listener(*label);
    next->click();
    QCOMPARE(label->text(), said);
    QCOMPARE(listener.count(QAccessible::NameChanged), 1);
    QCOMPARE(listener.count(QAccessible::Alert), 1);
    listener.forget();
    next->click();
    QCOMPARE(label->text(), said);
    QCOMPARE(listener.count(QAccessible::NameChanged), 1);
    QCOMPARE(listener.count(QAccessible::Alert), 1);
    child<QPushButton>(&window, "Command2")->click();
}

void AnnouncementTest::aBoxSaysItselfWhatItSays() {
    Form1 window;
    assembleAndShow(window, QStringLiteral("P\tSTART\n\tIN\tB,L\n\tRET\nB\tDS\t3\nL\tDS\t1\n"
                                           "\tEND\n"));
    auto* label = child<AnnouncementLabel>(&window, "announcement");
    child<QPushButton>(&window, "Trace")->click();
    Listener listener(*label);
    child<QPushButton>(&window, "Command1")->click();
    auto* input = qobject_cast<QInputDialog*>(QApplication::activeModalWidget());
    QVERIFY(input);
    QCOMPARE(label->text(), QString());
    QCOMPARE(listener.count(QAccessible::Alert), 0);
    input->reject();
    QVERIFY(label->text().startsWith(QStringLiteral("2行目 ")));
    QCOMPARE(listener.count(QAccessible::Alert), 1);
    listener.forget();
    child<QPushButton>(&window, "Command2")->click();
}

QTEST_MAIN(AnnouncementTest)
#include "announcement_test.moc"
