// Zooming the editor, the listing and the trace displays together, and opening the shipped
// example programs as new programs.

#include "modal_answerer.h"
#include "programs.h"
#include "shell/examples_menu.h"
#include "shell/form1.h"
#include "shell/form2.h"
#include "shell/source_editor.h"
#include "shell/zoom.h"
#include "shell_test_support.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFontInfo>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <QWheelEvent>

using namespace casl;
using namespace casl::test;

namespace {

const QString examplesFolder = QStringLiteral(CASL_SOURCE_DIR "/examples");

/// The widgets that zoom together: the editor, the listing, the dumps and a register row.
QList<QWidget*> zoomed(const Form1& window) {
    return {window.editor(),
            child<QPlainTextEdit>(window.listingWindow(), "Text1"),
            child<QPlainTextEdit>(&window, "Text1"),
            child<QPlainTextEdit>(&window, "Text2"),
            child<QLabel>(&window, "GR0"),
            child<QLabel>(&window, "obj")};
}

QList<int> pixelSizes(const QList<QWidget*>& widgets) {
    QList<int> sizes;
    for (QWidget* widget : widgets) {
        sizes.append(QFontInfo(widget->font()).pixelSize());
    }
    return sizes;
}

QList<int> all(int size, qsizetype count) {
    return QList<int>(count, size);
}

void sendWheel(QWidget* widget, int delta, Qt::KeyboardModifiers modifiers) {
    const QPointF at(widget->width() / 2.0, widget->height() / 2.0);
    QWheelEvent wheel(at, widget->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton,
                      modifiers, Qt::NoScrollPhase, false);
    QApplication::sendEvent(widget, &wheel);
}

QAction* exampleItem(ExamplesMenu& menu, const QString& fileName) {
    menu.fill();
    for (QAction* item : menu.actions()) {
        if (item->text().startsWith(fileName)) {
            return item;
        }
    }
    return nullptr;
}

QString fileText(const QString& path) {
    return QString::fromUtf8(readBytes(path)).remove(QLatin1Char('\r'));
}

} // namespace

class ZoomExamplesTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { setUpApplication(); }

    void zoomKeysScaleEverythingTogether();
    void columnsStayAlignedAtEverySize();
    void ctrlWheelZoomsAndTheWheelAloneScrolls();
    void zoomKeepsTheWindowsSizeAndTheDumpsRows();
    void examplesMenuListsTheShippedPrograms();
    void exampleOpensAsANewUnnamedProgram();
    void exampleKeepsTheProgramWhenItsSaveFails();
    void noExampleDuringARun();
    void examplesFolderIsFoundBesideTheProgramOrInstalled();
};

void ZoomExamplesTest::zoomKeysScaleEverythingTogether() {
    Form1 window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    pasteIntoEditor(window, addProgram);
    child<QPushButton>(&window, "Assemble")->click();
    QVERIFY(child<QPushButton>(&window, "Trace")->isEnabled());
    const QList<QWidget*> widgets = zoomed(window);
    QList<QFont> normal;
    for (QWidget* widget : widgets) {
        normal.append(widget->font());
    }
    const int size = pixelSizes(widgets).front();
    QCOMPARE(pixelSizes(widgets), all(size, widgets.size()));

    window.activateWindow();
    QTRY_VERIFY(window.isActiveWindow());
    window.editor()->setFocus();
    QTest::keyClick(window.editor(), Qt::Key_Plus, Qt::ControlModifier);
    const int larger = pixelSizes(widgets).front();
    QVERIFY(larger > size);
    QCOMPARE(pixelSizes(widgets), all(larger, widgets.size()));
    QTest::keyClick(window.editor(), Qt::Key_Equal, Qt::ControlModifier);
    QVERIFY(pixelSizes(widgets).front() > larger);
    // The keys change no text (their Ctrl went down in the editor, though, which leaves the
    // Assembled state as any key does there).
    QCOMPARE(window.editor()->toPlainText(), addProgram);

    for (int i = 0; i < 3; ++i) {
        QTest::keyClick(window.editor(), Qt::Key_Minus, Qt::ControlModifier);
    }
    const int smaller = pixelSizes(widgets).front();
    QVERIFY(smaller < size);
    QCOMPARE(pixelSizes(widgets), all(smaller, widgets.size()));

    // The keys work in the listing window too; Ctrl+0 gives back the fonts as they were.
    Form2* listing = window.listingWindow();
    listing->activateWindow();
    QTRY_VERIFY(listing->isActiveWindow());
    QTest::keyClick(child<QPlainTextEdit>(listing, "Text1"), Qt::Key_0, Qt::ControlModifier);
    for (qsizetype i = 0; i < widgets.size(); ++i) {
        QCOMPARE(widgets[i]->font(), normal[i]);
    }
}

void ZoomExamplesTest::columnsStayAlignedAtEverySize() {
    Form1 window;
    Zoom* zoom = window.findChild<Zoom*>();
    const QList<QWidget*> widgets{window.editor(), child<QPlainTextEdit>(&window, "Text1")};
    for (int i = 0; i < 4; ++i) {
        zoom->zoomOut();
    }
    for (int step = 0; step < 12; ++step) {
        for (QWidget* widget : widgets) {
            const QFontMetricsF metrics(widget->font());
            QCOMPARE(metrics.horizontalAdvance(QStringLiteral("進")),
                     2 * metrics.horizontalAdvance(QLatin1Char('0')));
            // A tab still reaches the eighth column.
            QCOMPARE(qobject_cast<QPlainTextEdit*>(widget)->tabStopDistance(),
                     8 * metrics.horizontalAdvance(QLatin1Char(' ')));
        }
        zoom->zoomIn();
    }
    QVERIFY(!zoom->zoomInAction()->isEnabled());
}

void ZoomExamplesTest::ctrlWheelZoomsAndTheWheelAloneScrolls() {
    Form1 window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    Zoom* zoom = window.findChild<Zoom*>();
    QWidget* viewport = window.editor()->viewport();
    sendWheel(viewport, 120, Qt::ControlModifier);
    QCOMPARE(zoom->factor(), 1.15);
    sendWheel(child<QPlainTextEdit>(&window, "Text1")->viewport(), -240, Qt::ControlModifier);
    QCOMPARE(zoom->factor(), 0.85);
    // Half notches add up.
    sendWheel(viewport, 60, Qt::ControlModifier);
    QCOMPARE(zoom->factor(), 0.85);
    sendWheel(viewport, 60, Qt::ControlModifier);
    QCOMPARE(zoom->factor(), 1.0);
    sendWheel(viewport, 120, Qt::NoModifier);
    QCOMPARE(zoom->factor(), 1.0);
}

/// How many whole rows of text a dump shows.
int rowsShown(const QPlainTextEdit& dump) {
    return dump.viewport()->height() / QFontMetrics(dump.font()).lineSpacing();
}

void ZoomExamplesTest::zoomKeepsTheWindowsSizeAndTheDumpsRows() {
    Form1 window;
    window.resize(1000, 700);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    pasteIntoEditor(window, addProgram);
    child<QPushButton>(&window, "Assemble")->click();
    child<QPushButton>(&window, "Trace")->click();
    QVERIFY(window.traceActive());
    QApplication::processEvents();
    const QSize size = window.size();
    const auto* data = child<QPlainTextEdit>(&window, "Text1");
    const auto* stack = child<QPlainTextEdit>(&window, "Text2");
    const int rows = rowsShown(*data);
    QVERIFY(rows >= 6);
    // At the normal size everything of the trace side is in view.
    const auto* pane = child<QScrollArea>(&window, "machineScroll");
    QVERIFY(!pane->horizontalScrollBar()->isVisible());
    QVERIFY(!pane->verticalScrollBar()->isVisible());

    window.activateWindow();
    QTRY_VERIFY(window.isActiveWindow());
    for (int i = 0; i < 6; ++i) {
        QTest::keyClick(window.editor(), Qt::Key_Plus, Qt::ControlModifier);
        QApplication::processEvents();
        QCOMPARE(window.size(), size);
        QVERIFY(window.minimumSizeHint().width() <= size.width());
        QVERIFY(window.minimumSizeHint().height() <= size.height());
        // The dumps keep their rows (the trace side scrolls instead).
        QVERIFY2(rowsShown(*data) >= 6, qPrintable(QString::number(rowsShown(*data))));
        QVERIFY(rowsShown(*stack) >= 6);
    }
    QVERIFY(window.findChild<Zoom*>()->factor() > 2);

    QTest::keyClick(window.editor(), Qt::Key_0, Qt::ControlModifier);
    QApplication::processEvents();
    QCOMPARE(window.size(), size);
    QTRY_COMPARE(rowsShown(*data), rows);
    QTRY_VERIFY(!pane->horizontalScrollBar()->isVisible());
    QTRY_VERIFY(!pane->verticalScrollBar()->isVisible());
    child<QPushButton>(&window, "Command2")->click();
}

void ZoomExamplesTest::examplesMenuListsTheShippedPrograms() {
    Form1 window;
    auto* menu = window.findChild<ExamplesMenu*>();
    QVERIFY(menu);
    QCOMPARE(child<QToolButton>(&window, "examplesButton")->menu(), menu);
    menu->setFolder(examplesFolder);
    menu->fill();
    QStringList captions;
    for (QAction* item : menu->actions()) {
        captions.append(item->text());
    }
    QCOMPARE(captions.size(), QDir(examplesFolder).entryList({QStringLiteral("*.cas")}).size());
    QCOMPARE(captions.front(),
             QStringLiteral("echo.cas — read a line with IN and show it again with OUT."));

    menu->setFolder(QString());
    menu->fill();
    QCOMPARE(menu->actions().size(), qsizetype{1});
    QVERIFY(!menu->actions().front()->isEnabled());
}

void ZoomExamplesTest::exampleOpensAsANewUnnamedProgram() {
    Form1 window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    typeIntoEditor(window, QStringLiteral("a\tnop"));
    auto* menu = window.findChild<ExamplesMenu*>();
    menu->setFolder(examplesFolder);
    QAction* hello = exampleItem(*menu, QStringLiteral("hello.cas"));
    QVERIFY(hello);
    {
        ModalAnswerer answers;
        answers.press(QMessageBox::No);
        hello->trigger();
        QVERIFY(answers.done());
        QCOMPARE(answers.seen().front().text, QStringLiteral("ソースプログラムを保存しますか?"));
    }
    const QString path = examplesFolder + QStringLiteral("/hello.cas");
    QCOMPARE(window.editor()->toPlainText(), fileText(path));
    QCOMPARE(window.currentFileName(), QString());
    QCOMPARE(window.windowTitle(), QStringLiteral("RuzidOV & OzerAR Orozaraz   "));
    QVERIFY(!child<QAction>(&window, "mnuUwagaki")->isEnabled());
    QVERIFY(window.modifiedMark());
    QVERIFY(!child<QPushButton>(&window, "Trace")->isEnabled());
    child<QPushButton>(&window, "Assemble")->click();
    QVERIFY(child<QPushButton>(&window, "Trace")->isEnabled());
}

void ZoomExamplesTest::exampleKeepsTheProgramWhenItsSaveFails() {
    QTemporaryDir folder;
    Form1 window;
    typeIntoEditor(window, QStringLiteral("a\tnop"));
    ModalAnswerer answers;
    answers.press(QMessageBox::Yes)
        .choose(folder.filePath(QStringLiteral("missing/folder/x.cas")))
        .press(QMessageBox::Ok);
    window.openExample(examplesFolder + QStringLiteral("/hello.cas"));
    QVERIFY(answers.done());
    QCOMPARE(window.editor()->toPlainText(), QStringLiteral("A\tNOP"));
}

void ZoomExamplesTest::noExampleDuringARun() {
    Form1 window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    pasteIntoEditor(window, addProgram);
    child<QPushButton>(&window, "Assemble")->click();
    child<QPushButton>(&window, "Trace")->click();
    QVERIFY(window.traceActive());
    const QString listing = window.editor()->toPlainText();
    auto* menu = window.findChild<ExamplesMenu*>();
    menu->setFolder(examplesFolder);
    emit menu->aboutToShow();
    for (QAction* item : menu->actions()) {
        QVERIFY(!item->isEnabled());
    }
    window.openExample(examplesFolder + QStringLiteral("/hello.cas"));
    QVERIFY(window.traceActive());
    QCOMPARE(window.editor()->toPlainText(), listing);
    child<QPushButton>(&window, "Command2")->click();
}

void ZoomExamplesTest::examplesFolderIsFoundBesideTheProgramOrInstalled() {
    QTemporaryDir root;
    const QDir dir(root.path());
    QVERIFY(dir.mkpath(QStringLiteral("build/examples")));
    QVERIFY(dir.mkpath(QStringLiteral("prefix/bin")));
    QVERIFY(dir.mkpath(QStringLiteral("prefix/share/varnic/examples")));
    QCOMPARE(findExamplesFolder(dir.filePath(QStringLiteral("build"))), QString());
    writeBytes(dir.filePath(QStringLiteral("build/examples/a.cas")), "; a.cas -- \r\n");
    writeBytes(dir.filePath(QStringLiteral("prefix/share/varnic/examples/b.cas")), " NOP\r\n");
    QCOMPARE(findExamplesFolder(dir.filePath(QStringLiteral("build"))),
             dir.filePath(QStringLiteral("build/examples")));
    QCOMPARE(findExamplesFolder(dir.filePath(QStringLiteral("prefix/bin"))),
             dir.filePath(QStringLiteral("prefix/share/varnic/examples")));
}

QTEST_MAIN(ZoomExamplesTest)
#include "zoom_examples_test.moc"
