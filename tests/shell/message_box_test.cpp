// The message and input boxes of the workbench are wide enough for their whole titles, so that
// the window frame does not cut them.

#include "modal_answerer.h"
#include "platform/qt/input_box.h"
#include "platform/qt/message_box.h"
#include "shell_test_support.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QStyle>
#include <QTest>

using namespace casl;
using namespace casl::test;

namespace {

enum class BoxKind { Ok, YesNo, Input };

} // namespace

Q_DECLARE_METATYPE(BoxKind)

class MessageBoxTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { setUpApplication(); }

    void theWholeTitleFits_data();
    void theWholeTitleFits();
};

void MessageBoxTest::theWholeTitleFits_data() {
    QTest::addColumn<BoxKind>("kind");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("text");
    QTest::newRow("OUT") << BoxKind::Ok << QStringLiteral("OUT command") << QStringLiteral("\nA");
    QTest::newRow("ERROR") << BoxKind::Ok << QStringLiteral("ERROR") << QStringLiteral("!");
    QTest::newRow("warning") << BoxKind::YesNo << QStringLiteral("プログラム実行中のWarning")
                             << QStringLiteral("?");
    QTest::newRow("save question") << BoxKind::YesNo << QStringLiteral("保存しますか?")
                                   << QStringLiteral("ソースプログラムを保存しますか?");
    QTest::newRow("long title") << BoxKind::Ok
                                << QStringLiteral("A title far longer than the text of its box")
                                << QStringLiteral("ok");
    QTest::newRow("IN") << BoxKind::Input << QStringLiteral("IN command")
                        << QStringLiteral("Input");
    QTest::newRow("long input title")
        << BoxKind::Input << QStringLiteral("An input box whose title is longer than its prompt")
        << QStringLiteral("?");
}

void MessageBoxTest::theWholeTitleFits() {
    QFETCH(BoxKind, kind);
    QFETCH(QString, title);
    QFETCH(QString, text);
    QWidget parent;
    int width = 0;
    int titleBarHeight = 0;
    ModalAnswerer answers;
    answers.then([&](QWidget* box) {
        width = box->width();
        titleBarHeight = box->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, box);
        box->close();
    });
    if (kind == BoxKind::Input) {
        platform::qt::showInputBox(&parent, text, title, QString(), QPoint(10, 10));
    } else {
        platform::qt::showMessageBox(
            &parent, text, title, kind == BoxKind::Ok ? MessageButtons::Ok : MessageButtons::YesNo);
    }
    QCOMPARE(answers.unexpected(), 0);
    QVERIFY(answers.done());
    // The title in the title bar's font, and room for at least the frame's three buttons.
    const QFontMetrics titleFont(QFontDatabase::systemFont(QFontDatabase::TitleFont));
    const int needed = titleFont.horizontalAdvance(title) + 3 * titleBarHeight;
    QVERIFY2(width >= needed, qPrintable(QStringLiteral("%1 < %2").arg(width).arg(needed)));
}

QTEST_MAIN(MessageBoxTest)
#include "message_box_test.moc"
