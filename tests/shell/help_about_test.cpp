// The Help menu: the help window with its contents page (F1), the version dialog and its
// system-information button, and the splash window.

#include "modal_answerer.h"
#include "platform/qt/help_viewer.h"
#include "shell/form1.h"
#include "shell/form3.h"
#include "shell/frm_about.h"
#include "shell_test_support.h"

#include <QAction>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>

using namespace casl;
using namespace casl::test;

namespace {

const QString sourceHelp = QStringLiteral(CASL_SOURCE_DIR "/help");

} // namespace

class HelpAboutTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { setUpApplication(); }

    void helpFolderIsFoundBesideOrUnderTheProgram();
    void contentsOpensTheContentsPage();
    void missingHelpSaysSo();
    void versionDialogShowsItsTexts();
    void systemInformationIsNotAvailable();
    void splashShowsTheNameThenHandsOver();
};

void HelpAboutTest::helpFolderIsFoundBesideOrUnderTheProgram() {
    QTemporaryDir root;
    QDir(root.path()).mkpath(QStringLiteral("bin"));
    QCOMPARE(platform::qt::findHelpFolder(root.filePath(QStringLiteral("bin"))), QString());
    QDir(root.path()).mkpath(QStringLiteral("share/varnic/help"));
    writeBytes(root.filePath(QStringLiteral("share/varnic/help/index.html")), "<html></html>");
    QCOMPARE(platform::qt::findHelpFolder(root.filePath(QStringLiteral("bin"))),
             root.filePath(QStringLiteral("share/varnic/help")));
    QDir(root.path()).mkpath(QStringLiteral("bin/help"));
    writeBytes(root.filePath(QStringLiteral("bin/help/index.html")), "<html></html>");
    QCOMPARE(platform::qt::findHelpFolder(root.filePath(QStringLiteral("bin"))),
             root.filePath(QStringLiteral("bin/help")));
}

void HelpAboutTest::contentsOpensTheContentsPage() {
    Form1 window;
    window.setHelpFolder(sourceHelp);
    child<QAction>(&window, "mnuMokuji")->trigger();
    platform::qt::HelpViewer* viewer = nullptr;
    for (QWidget* top : QApplication::topLevelWidgets()) {
        if (auto* candidate = qobject_cast<platform::qt::HelpViewer*>(top)) {
            viewer = candidate;
        }
    }
    QVERIFY(viewer);
    QVERIFY(viewer->isVisible());
    QTextBrowser* browser = viewer->browser();
    QCOMPARE(browser->source().fileName(), QStringLiteral("index.html"));
    QVERIFY(!browser->toPlainText().trimmed().isEmpty());
    // Every link of the contents page leads to a page that exists.
    const QString html = QString::fromUtf8(readBytes(sourceHelp + QStringLiteral("/index.html")));
    static const QRegularExpression link(QStringLiteral("href=\"([^\"#:]+)(#[^\"]*)?\""));
    for (auto match = link.globalMatch(html); match.hasNext();) {
        const QString page = match.next().captured(1);
        QVERIFY2(QFile::exists(sourceHelp + QLatin1Char('/') + page), qPrintable(page));
    }
}

void HelpAboutTest::missingHelpSaysSo() {
    Form1 window;
    window.setHelpFolder(QString());
    ModalAnswerer answers;
    answers.press(QMessageBox::Ok);
    child<QAction>(&window, "mnuMokuji")->trigger();
    QCOMPARE(answers.seen().size(), std::size_t{1});
    QCOMPARE(answers.seen().at(0).kind, QStringLiteral("message"));
}

void HelpAboutTest::versionDialogShowsItsTexts() {
    Form1 window;
    child<QAction>(&window, "mnuVer")->trigger();
    FrmAbout* about = nullptr;
    for (QWidget* top : QApplication::topLevelWidgets()) {
        if (auto* candidate = qobject_cast<FrmAbout*>(top); candidate && candidate->isVisible()) {
            about = candidate;
        }
    }
    QVERIFY(about);
    QVERIFY(!about->isModal());
    QCOMPARE(about->windowTitle(), QStringLiteral("Varnicのﾊﾞｰｼﾞｮﾝ情報"));
    QCOMPARE(child<QLabel>(about, "lblVersion")->text(), QStringLiteral("ver. 2.0.9  2003/03/24"));
    QCOMPARE(child<QLabel>(about, "lblTitle")->text(),
             QStringLiteral("COMET II & CASL II Simulator"));
    const QStringList description = child<QLabel>(about, "lblDescription")->text().split('\n');
    QCOMPARE(description.size(), 2);
    QVERIFY(description.at(1).startsWith(QStringLiteral("E-mail:")));
    QVERIFY(!child<QLabel>(about, "picIcon")->pixmap().isNull());
    QVERIFY(!child<QLabel>(about, "lblDisclaimer")->text().isEmpty());
    QCOMPARE(child<QPushButton>(about, "cmdOK")->text(), QStringLiteral("OK"));
    QCOMPARE(child<QPushButton>(about, "cmdSysInfo")->text(), QStringLiteral("ｼｽﾃﾑ情報(&S)..."));
    child<QPushButton>(about, "cmdOK")->click();
    QVERIFY(!about->isVisible());
}

void HelpAboutTest::systemInformationIsNotAvailable() {
    FrmAbout about;
    ModalAnswerer answers;
    answers.press(QMessageBox::Ok);
    child<QPushButton>(&about, "cmdSysInfo")->click();
    QCOMPARE(answers.seen().size(), std::size_t{1});
    QCOMPARE(answers.seen().at(0).text, QStringLiteral("現時点ではｼｽﾃﾑ情報を使用できません"));
}

void HelpAboutTest::splashShowsTheNameThenHandsOver() {
    Form3 splash;
    QCOMPARE(splash.windowTitle(), QStringLiteral("Opening"));
    QCOMPARE(child<QLabel>(&splash, "Label1")->text(), QStringLiteral("Varnic"));
    bool handedOver = false;
    splash.showFor(10, [&handedOver] { handedOver = true; });
    QVERIFY(splash.isVisible());
    QVERIFY(!handedOver);
    QTRY_VERIFY(handedOver);
    QVERIFY(!splash.isVisible());
}

QTEST_MAIN(HelpAboutTest)
#include "help_about_test.moc"
