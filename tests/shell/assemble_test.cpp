// Assemble in the window: the rewritten editor, the listing window with its result line, the
// info file, the trace controls, and the listing window's Print and Back.

#include "modal_answerer.h"
#include "platform/temp_folder.h"
#include "programs.h"
#include "shell/editor_colours.h"
#include "shell/form1.h"
#include "shell/form2.h"
#include "shell/source_editor.h"
#include "shell_test_support.h"

#include <QApplication>
#include <QFontInfo>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <utility>
#include <variant>

using namespace casl;
using namespace casl::test;

namespace {

const QString listingHeader =
    QStringLiteral("Address Object-Code     Label    Mnemonic  Gr, Op, Xr\n") +
    QString(61, QLatin1Char('-')) + QLatin1Char('\n');

QString infoFilePath() {
    auto path = platform::temporaryFilePath("info.tmp");
    return QString::fromStdString(std::get<std::filesystem::path>(path).string());
}

QColor resultColour(Form2& listing) {
    return child<QLabel>(&listing, "Label1")->palette().color(QPalette::WindowText);
}

} // namespace

class AssembleTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { setUpApplication(); }
    void init() { QFile::remove(infoFilePath()); }

    void cleanProgramShowsGreenResultAndEnablesTrace();
    void faultyProgramListsItsErrorsInRed();
    void resultLineIsLegibleOnItsBackground_data();
    void resultLineIsLegibleOnItsBackground();
    void emptyLinesDisappearFromTheEditor();
    void blankTextDoesNothing();
    void oneCleanLineShowsNoListing();
    void breakpointIsShownAgainAfterAssembly();
    void printCancelledPrintsNothingAndSaysNothing();
    void printWritesTheListing();
    void backRaisesTheMainWindow();
    void backRestoresAMinimisedMainWindow();
    void assemblesAgainAfterACleanerRemovedTheTemporaryFolder();
};

void AssembleTest::cleanProgramShowsGreenResultAndEnablesTrace() {
    Form1 window;
    pasteIntoEditor(window, addProgram);
    child<QPushButton>(&window, "Assemble")->click();
    Form2* listing = window.listingWindow();
    QVERIFY(listing && listing->isVisible());
    QCOMPARE(listing->windowTitle(), QStringLiteral("Assemble Result"));
    const QString text = child<QPlainTextEdit>(listing, "Text1")->toPlainText();
    QVERIFY2(text.startsWith(listingHeader), qPrintable(text));
    QCOMPARE(text.count(QLatin1Char('\n')), 2 + 9);
    QVERIFY(text.contains(QStringLiteral("0000\t         \tPGM      START   ")));
    auto* label1 = child<QLabel>(listing, "Label1");
    QCOMPARE(label1->text(), QStringLiteral("Assemble Error: 0"));
    QCOMPARE(resultColour(*listing), QColor(0, 255, 0));
    QCOMPARE(label1->font().pointSizeF(), 14.0);
    QVERIFY(QFontInfo(label1->font()).family().contains(QStringLiteral("Gothic")));
    QVERIFY(child<QPushButton>(&window, "Trace")->isEnabled());
    // The listing buffer is emptied once the listing window shows the listing.
    QCOMPARE(child<QPlainTextEdit>(&window, "Text1")->toPlainText(), QString());

    const QByteArray info = readBytes(infoFilePath());
    QVERIFY(info.startsWith("PGM       START   \r\n          LD      GR1,A\r\n"));
    QVERIFY(info.endsWith("          END     \r\n\r\n"));
    QCOMPARE(info.count("\r\n"), 10);
}

void AssembleTest::faultyProgramListsItsErrorsInRed() {
    Form1 window;
    pasteIntoEditor(window, faultyProgram);
    child<QPushButton>(&window, "Assemble")->click();
    Form2* listing = window.listingWindow();
    QVERIFY(listing && listing->isVisible());
    const QStringList lines =
        child<QPlainTextEdit>(listing, "Text1")->toPlainText().split(QLatin1Char('\n'));
    const auto after = [&lines](const QString& start) {
        for (qsizetype i = 0; i + 1 < lines.size(); ++i) {
            if (lines[i].contains(start)) {
                return lines[i + 1];
            }
        }
        return QString();
    };
    QCOMPARE(after(QStringLiteral("LDX")), QStringLiteral("ニーモニック "));
    QCOMPARE(after(QStringLiteral("A        DC      1")), QStringLiteral("ラベルの重複 "));
    QCOMPARE(child<QLabel>(listing, "Label1")->text(), QStringLiteral("Assemble Error: 2"));
    QCOMPARE(resultColour(*listing), QColor(255, 0, 0));
    QVERIFY(!child<QPushButton>(&window, "Trace")->isEnabled());
    QVERIFY(!child<QPushButton>(&window, "Command4")->isEnabled());
    QVERIFY(child<QLabel>(&window, "Label5")->isHidden());
    QVERIFY(!QFile::exists(infoFilePath()));

    // Fixing the program turns the same window green.
    pasteIntoEditor(window, addProgram);
    child<QPushButton>(&window, "Assemble")->click();
    QCOMPARE(resultColour(*listing), QColor(0, 255, 0));
}

void AssembleTest::resultLineIsLegibleOnItsBackground_data() {
    QTest::addColumn<QPalette>("palette");
    QTest::newRow("light") << lightPalette();
    QTest::newRow("dark") << darkPalette();
}

// The result keeps its pure green or red; what the label paints behind it makes it legible.
void AssembleTest::resultLineIsLegibleOnItsBackground() {
    QFETCH(QPalette, palette);
    const QPalette before = QApplication::palette();
    QApplication::setPalette(palette);
    {
        Form1 window;
        for (const auto& [program, colour] : {std::pair{addProgram, QColor(0, 255, 0)},
                                              std::pair{faultyProgram, QColor(255, 0, 0)}}) {
            pasteIntoEditor(window, program);
            child<QPushButton>(&window, "Assemble")->click();
            Form2* listing = window.listingWindow();
            QCOMPARE(resultColour(*listing), colour);
            const QImage shown = child<QLabel>(listing, "Label1")->grab().toImage();
            const QColor background = shown.pixelColor(1, 1);
            QVERIFY2(contrastRatio(colour, background) >= 4.5,
                     qPrintable(colour.name() + QStringLiteral(" on ") + background.name()));
        }
    }
    QApplication::setPalette(before);
}

void AssembleTest::emptyLinesDisappearFromTheEditor() {
    Form1 window;
    pasteIntoEditor(window, QStringLiteral("P\tSTART\n\n\n\tRET\n   \n\tEND"));
    child<QPushButton>(&window, "Assemble")->click();
    QCOMPARE(window.editor()->editorText(),
             std::u32string(U"P\tSTART\r\n\tRET\r\n   \r\n\tEND\r\n"));
    QVERIFY(window.modifiedMark());
}

void AssembleTest::blankTextDoesNothing() {
    Form1 window;
    pasteIntoEditor(window, QStringLiteral("   "));
    child<QPushButton>(&window, "Assemble")->click();
    QCOMPARE(window.listingWindow(), nullptr);
    QCOMPARE(window.editor()->toPlainText(), QStringLiteral("   "));
}

void AssembleTest::oneCleanLineShowsNoListing() {
    Form1 window;
    pasteIntoEditor(window, QStringLiteral("\tNOP"));
    child<QPushButton>(&window, "Assemble")->click();
    QVERIFY(!window.listingWindow() || !window.listingWindow()->isVisible());
    QVERIFY(!child<QPushButton>(&window, "Trace")->isEnabled());
    QVERIFY(child<QPlainTextEdit>(&window, "Text1")->toPlainText().contains(QStringLiteral("NOP")));
}

void AssembleTest::breakpointIsShownAgainAfterAssembly() {
    Form1 window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    pasteIntoEditor(window, addProgram);
    child<QPushButton>(&window, "Assemble")->click();
    clickOnLine(window, 4);
    QCOMPARE(window.breakpointLine(), 4);
    child<QPushButton>(&window, "Assemble")->click();
    QCOMPARE(child<QLabel>(&window, "Label6")->text(), QStringLiteral("4"));
    QVERIFY(!child<QLabel>(&window, "Label6")->isHidden());
}

void AssembleTest::printCancelledPrintsNothingAndSaysNothing() {
    QTemporaryDir folder;
    Form1 window;
    pasteIntoEditor(window, addProgram);
    child<QPushButton>(&window, "Assemble")->click();
    Form2* listing = window.listingWindow();
    listing->printer().setOutputFormat(QPrinter::PdfFormat);
    listing->printer().setOutputFileName(folder.filePath(QStringLiteral("cancel.pdf")));
    ModalAnswerer answers;
    answers.cancel();
    child<QPushButton>(listing, "Command1")->click();
    QCOMPARE(answers.seen().size(), std::size_t{1});
    QCOMPARE(answers.seen().at(0).kind, QStringLiteral("print"));
    QCOMPARE(answers.unexpected(), 0);
    QVERIFY(!QFile::exists(folder.filePath(QStringLiteral("cancel.pdf"))));
}

void AssembleTest::printWritesTheListing() {
    QTemporaryDir folder;
    Form1 window;
    pasteIntoEditor(window, addProgram);
    child<QPushButton>(&window, "Assemble")->click();
    Form2* listing = window.listingWindow();
    const QString pdf = folder.filePath(QStringLiteral("listing.pdf"));
    listing->printer().setOutputFormat(QPrinter::PdfFormat);
    listing->printer().setOutputFileName(pdf);
    ModalAnswerer answers;
    answers.accept();
    child<QPushButton>(listing, "Command1")->click();
    QCOMPARE(answers.unexpected(), 0);
    const QByteArray bytes = readBytes(pdf);
    QVERIFY(bytes.startsWith("%PDF"));
    QVERIFY(bytes.size() > 1000);
}

void AssembleTest::backRaisesTheMainWindow() {
    Form1 window;
    pasteIntoEditor(window, addProgram);
    child<QPushButton>(&window, "Assemble")->click();
    QVERIFY(!window.isVisible());
    child<QPushButton>(window.listingWindow(), "Command2")->click();
    QVERIFY(window.isVisible());
    QVERIFY(window.listingWindow()->isVisible());
}

void AssembleTest::backRestoresAMinimisedMainWindow() {
    Form1 window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    pasteIntoEditor(window, addProgram);
    child<QPushButton>(&window, "Assemble")->click();
    window.showMinimized();
    QVERIFY(window.isMinimized());
    child<QPushButton>(window.listingWindow(), "Command2")->click();
    QVERIFY(!window.isMinimized());
    QVERIFY(window.isVisible());
    QTRY_COMPARE(QApplication::activeWindow(), &window);
}

void AssembleTest::assemblesAgainAfterACleanerRemovedTheTemporaryFolder() {
    Form1 window;
    pasteIntoEditor(window, addProgram);
    child<QPushButton>(&window, "Assemble")->click();
    QVERIFY(child<QPushButton>(&window, "Trace")->isEnabled());
    const auto folder = std::get<std::filesystem::path>(platform::temporaryFolder());
    std::filesystem::remove_all(folder);

    ModalAnswerer answers;
    child<QPushButton>(&window, "Assemble")->click();
    QCOMPARE(answers.seen().size(), std::size_t{0});
    QVERIFY(child<QPushButton>(&window, "Trace")->isEnabled());
    QVERIFY(readBytes(infoFilePath()).startsWith("PGM       START   \r\n"));
}

QTEST_MAIN(AssembleTest)
#include "assemble_test.moc"
