// The window for screen readers: every control of the main window and of the listing window
// has an accessible name and description, and the register rows are named by their registers.

#include "shell/form1.h"
#include "shell/form2.h"
#include "shell_test_support.h"

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QAccessible>
#include <QAccessibleInterface>
#include <QLabel>
#include <QTest>
#include <array>

using namespace casl;
using namespace casl::test;

namespace {

/// The widgets a user meets: buttons, check boxes, text areas and the captions with names.
bool isControl(const QWidget* widget) {
    return qobject_cast<const QAbstractButton*>(widget) != nullptr ||
           qobject_cast<const QAbstractScrollArea*>(widget) != nullptr ||
           (qobject_cast<const QLabel*>(widget) != nullptr && !widget->objectName().isEmpty());
}

QString accessibleText(QWidget* widget, QAccessible::Text which) {
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(widget);
    return face ? face->text(which) : QString();
}

/// "objectName: what is missing" for every control of `root` without a name or description.
QStringList unnamedControls(QWidget* root) {
    QStringList missing;
    for (QWidget* widget : root->findChildren<QWidget*>()) {
        if (!isControl(widget)) {
            continue;
        }
        const QString id = widget->objectName().isEmpty()
                               ? QString::fromLatin1(widget->metaObject()->className())
                               : widget->objectName();
        if (accessibleText(widget, QAccessible::Name).trimmed().isEmpty()) {
            missing << id + QStringLiteral(": name");
        }
        if (accessibleText(widget, QAccessible::Description).trimmed().isEmpty()) {
            missing << id + QStringLiteral(": description");
        }
    }
    return missing;
}

} // namespace

class AccessibilityTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { setUpApplication(); }

    void everyControlHasANameAndADescription();
    void registerRowsAreNamedByTheirRegisters();
};

void AccessibilityTest::everyControlHasANameAndADescription() {
    Form1 window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const QStringList main = unnamedControls(&window);
    QVERIFY2(main.isEmpty(), qPrintable(main.join(QStringLiteral(", "))));
    assembleAndShow(window, QStringLiteral("P\tSTART\n\tRET\n\tEND\n"));
    const QStringList listing = unnamedControls(window.listingWindow());
    QVERIFY2(listing.isEmpty(), qPrintable(listing.join(QStringLiteral(", "))));
    // A run shows its buttons, and they are named too.
    QTest::keyClick(child<QAbstractButton>(&window, "Trace"), Qt::Key_Space);
    const QStringList running = unnamedControls(&window);
    QVERIFY2(running.isEmpty(), qPrintable(running.join(QStringLiteral(", "))));
}

void AccessibilityTest::registerRowsAreNamedByTheirRegisters() {
    Form1 window;
    static constexpr std::array names{"GR0", "gr1", "gr2", "gr3", "GR4", "gr5", "gr6", "gr7"};
    for (int i = 0; i < 8; ++i) {
        QCOMPARE(accessibleText(child<QLabel>(&window, names[i]), QAccessible::Name),
                 QStringLiteral("GR%1").arg(i));
    }
    QCOMPARE(accessibleText(child<QLabel>(&window, "pc"), QAccessible::Name), QStringLiteral("PR"));
    QCOMPARE(accessibleText(child<QWidget>(&window, "Text1"), QAccessible::Name),
             QStringLiteral("Data Area"));
    QCOMPARE(accessibleText(child<QWidget>(&window, "Text2"), QAccessible::Name),
             QStringLiteral("Stack Area"));
}

QTEST_MAIN(AccessibilityTest)
#include "accessibility_test.moc"
