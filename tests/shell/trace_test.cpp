// Tracing in the window: the run start, the displays after each step, Next, End, Clear, a
// breakpoint, IN and OUT through their boxes, the step question, the run's end, and closing the
// window during a run.

#include "modal_answerer.h"
#include "platform/temp_folder.h"
#include "shell/form1.h"
#include "shell/source_editor.h"
#include "shell_test_support.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QInputDialog>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <variant>

using namespace casl;
using namespace casl::test;

namespace {

const QString echoProgram = QStringLiteral("ECHO\tSTART\n"    // 1
                                           "\tIN\tBUF,LEN\n"  // 2
                                           "\tOUT\tBUF,LEN\n" // 3
                                           "\tLD\tGR1,LEN\n"  // 4
                                           "\tRET\n"          // 5
                                           "BUF\tDS\t10\n"    // 6
                                           "LEN\tDS\t1\n"     // 7
                                           "\tEND\n");        // 8

const QString loopProgram = QStringLiteral("P\tSTART\n"            // 1
                                           "\tLAD\tGR1,0\n"        // 2
                                           "LOOP\tADDA\tGR1,ONE\n" // 3
                                           "\tCPA\tGR1,TEN\n"      // 4
                                           "\tJMI\tLOOP\n"         // 5
                                           "\tRET\n"               // 6
                                           "ONE\tDC\t1\n"          // 7
                                           "TEN\tDC\t10\n"         // 8
                                           "\tEND\n");             // 9

const QString endlessProgram = QStringLiteral("P\tSTART\n"   // 1
                                              "L\tJUMP\tL\n" // 2
                                              "\tRET\n"      // 3: never reached
                                              "\tEND\n");

QString programTextPath() {
    auto path = platform::temporaryFilePath("temp.temp");
    return QString::fromStdString(std::get<std::filesystem::path>(path).string());
}

QString caption(const Form1& window, const char* name) {
    return child<QLabel>(&window, name)->text();
}

} // namespace

class TraceTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { setUpApplication(); }

    void wholeRunWithInAndOut();
    void openedExampleRunsToItsEnd();
    void endDuringAWaitRestoresTheProgramText();
    void breakpointRunsOnAndClearSingleSteps();
    void stepQuestionStopsAnEndlessLoop();
    void enterPressesNext();
    void enterPressesTheFocusedButton();
    void simpleDisplayFoldsLongAreas();
    void theLockedEditorKeepsTheListing();
    void overwriteSaveReturnsWithTheFileName();
    void closingDuringARunSavesTheProgramsOwnText();
    void programTextSurvivesAVanishedScratchFile();
};

void TraceTest::wholeRunWithInAndOut() {
    Form1 window;
    assembleAndShow(window, echoProgram);
    const std::u32string program = window.editor()->editorText();
    ModalAnswerer answers;

    child<QPushButton>(&window, "Trace")->click();
    // The Tracing state.
    QVERIFY(window.traceActive());
    QVERIFY(!child<QPushButton>(&window, "Assemble")->isEnabled());
    QVERIFY(!child<QPushButton>(&window, "Trace")->isEnabled());
    auto* next = child<QPushButton>(&window, "Command1");
    QVERIFY(next->isVisible() && next->isEnabled() && next->isDefault());
    QCOMPARE(window.focusWidget(), next);
    QVERIFY(child<QPushButton>(&window, "Command2")->isVisible());
    QVERIFY(!child<QMenu>(&window, "mnuFILE")->menuAction()->isEnabled());
    for (const char* item : {"mnuSinki", "mnuOPEN", "mnuSAVE", "mnuEXIT", "mnuUwagaki"}) {
        QVERIFY2(!child<QAction>(&window, item)->isEnabled(), item); // their shortcuts too
    }
    QVERIFY(window.editor()->isReadOnly());
    QVERIFY(child<QPlainTextEdit>(&window, "Text1")->isVisible());
    QVERIFY(child<QPlainTextEdit>(&window, "Text2")->isVisible());
    for (QLabel* item : window.findChildren<QLabel*>(QStringLiteral("Label4"))) {
        QVERIFY(item->isVisible());
    }
    QCOMPARE(readBytes(programTextPath()),
             QString::fromStdU32String(program + U"\r\n").toLocal8Bit());

    // Step 1 executed START.
    QCOMPARE(caption(window, "pc"), QStringLiteral("PR:0002"));
    QCOMPARE(caption(window, "obj"), QStringLiteral("OBJ-Code:         "));
    QCOMPARE(caption(window, "fr"), QStringLiteral("OF:0 SF:0 ZF:0"));
    QCOMPARE(caption(window, "gr1"), QStringLiteral("[0000 0000 0000 0000] 0000 (     0)"));
    QCOMPARE(markedEditorLine(window), 1);
    QVERIFY(window.editor()->toPlainText().startsWith(QStringLiteral(">>>>>> \tECHO      START")));
    QVERIFY(child<QPlainTextEdit>(&window, "Text2")
                ->toPlainText()
                .startsWith(QStringLiteral("Address Value\n--------------\n")));
    QVERIFY(child<QPlainTextEdit>(&window, "Text1")
                ->toPlainText()
                .startsWith(QStringLiteral("Label Address   Value\n--------------------------\n")));

    // Step 2: IN, answered "hi" in the input box at 10, 10 twips.
    QPoint inputPosition;
    answers.then([&inputPosition](QWidget* box) {
        inputPosition = box->pos();
        auto* input = qobject_cast<QInputDialog*>(box);
        input->setTextValue(QStringLiteral("hi"));
        input->accept();
    });
    next->click();
    // The run's boxes open without waiting: the answer comes from the event loop.
    QTRY_VERIFY(answers.done());
    QCOMPARE(answers.seen().back().kind, QStringLiteral("input"));
    QCOMPARE(answers.seen().back().title, QStringLiteral("IN command"));
    QCOMPARE(answers.seen().back().text, QStringLiteral("Input"));
    QCOMPARE(inputPosition, QPoint(1, 1));
    QCOMPARE(markedEditorLine(window), 2);
    const QString data = child<QPlainTextEdit>(&window, "Text1")->toPlainText();
    QVERIFY2(data.contains(
                 QRegularExpression(QStringLiteral("\nBUF       [0-9A-F]{4}   0068 \\(104\\)h\n"))),
             qPrintable(data));
    QVERIFY2(data.contains(
                 QRegularExpression(QStringLiteral("\nLEN       [0-9A-F]{4}   0002 \\(2\\)\n"))),
             qPrintable(data));

    // Step 3: OUT shows everything written so far.
    answers.press(QMessageBox::Ok);
    next->click();
    QTRY_VERIFY(answers.done());
    QCOMPARE(answers.seen().back().title, QStringLiteral("OUT command"));
    QCOMPARE(answers.seen().back().text, QStringLiteral("\nhi"));

    // Step 4: LD GR1,LEN.
    next->click();
    QCOMPARE(caption(window, "gr1"), QStringLiteral("[0000 0000 0000 0010] 0002 (     2)"));
    QVERIFY(caption(window, "obj").startsWith(QStringLiteral("OBJ-Code:1010 ")));
    QCOMPARE(markedEditorLine(window), 4);

    // Step 5: RET on the empty stack ends the program.
    answers.press(QMessageBox::Ok);
    next->click();
    QTRY_VERIFY(answers.done());
    QCOMPARE(answers.seen().back().text, QStringLiteral("Program終了"));
    QCOMPARE(answers.seen().back().title, QStringLiteral("Program Terminated"));
    QCOMPARE(answers.unexpected(), 0);

    // endTrace.
    QVERIFY(!window.traceActive());
    QCOMPARE(window.editor()->editorText(), program);
    QVERIFY(!window.editor()->isReadOnly());
    QVERIFY(next->isHidden() && !next->isEnabled());
    QVERIFY(child<QPushButton>(&window, "Command2")->isHidden());
    QVERIFY(child<QPushButton>(&window, "Assemble")->isEnabled());
    QVERIFY(child<QPushButton>(&window, "Trace")->isEnabled());
    QVERIFY(child<QMenu>(&window, "mnuFILE")->menuAction()->isEnabled());
    QVERIFY(child<QAction>(&window, "mnuOPEN")->isEnabled());
    QVERIFY(!child<QAction>(&window, "mnuUwagaki")->isEnabled()); // no file name yet
    QVERIFY(!QFile::exists(programTextPath()));
    // The displays keep their last texts.
    QCOMPARE(caption(window, "gr1"), QStringLiteral("[0000 0000 0000 0010] 0002 (     2)"));
    QVERIFY(child<QPlainTextEdit>(&window, "Text1")->isVisible());

    // A second run starts again from the first line.
    answers.press(QMessageBox::Ok).type(QStringLiteral("x")).press(QMessageBox::Ok);
    child<QPushButton>(&window, "Trace")->click();
    QCOMPARE(markedEditorLine(window), 1);
    child<QPushButton>(&window, "Command2")->click();
    QCOMPARE(window.editor()->editorText(), program);
}

void TraceTest::openedExampleRunsToItsEnd() {
    Form1 window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    ModalAnswerer answers;
    answers.choose(QStringLiteral(CASL_SOURCE_DIR "/examples/echo.cas"));
    child<QAction>(&window, "mnuOPEN")->trigger();
    child<QPushButton>(&window, "Assemble")->click();
    QVERIFY(child<QPushButton>(&window, "Trace")->isEnabled());
    answers.type(QStringLiteral("ｶﾅ ok")).press(QMessageBox::Ok).press(QMessageBox::Ok);
    child<QPushButton>(&window, "Trace")->click();
    for (int press = 0; press < 20 && window.traceActive(); ++press) {
        child<QPushButton>(&window, "Command1")->click();
        QTRY_VERIFY(!QApplication::activeModalWidget());
    }
    QVERIFY(!window.traceActive());
    QCOMPARE(answers.unexpected(), 0);
    QCOMPARE(answers.seen().size(), std::size_t{4});
    QCOMPARE(answers.seen().at(2).title, QStringLiteral("OUT command"));
    QCOMPARE(answers.seen().at(2).text, QStringLiteral("\nｶﾅ ok"));
    QCOMPARE(answers.seen().at(3).text, QStringLiteral("Program終了"));
}

void TraceTest::endDuringAWaitRestoresTheProgramText() {
    Form1 window;
    assembleAndShow(window, loopProgram);
    const std::u32string program = window.editor()->editorText();
    ModalAnswerer answers;
    child<QPushButton>(&window, "Trace")->click();
    child<QPushButton>(&window, "Command1")->click();
    QCOMPARE(markedEditorLine(window), 2);
    child<QPushButton>(&window, "Command2")->click();
    QCOMPARE(answers.seen().size(), std::size_t{0});
    QVERIFY(!window.traceActive());
    QCOMPARE(window.editor()->editorText(), program);
    QVERIFY(window.editor()->editorText().ends_with(U"\tEND\r\n"));
}

void TraceTest::breakpointRunsOnAndClearSingleSteps() {
    Form1 window;
    assembleAndShow(window, loopProgram);
    clickOnLine(window, 5);
    QCOMPARE(window.breakpointLine(), 5);
    child<QPushButton>(&window, "Trace")->click();
    // The run went on by itself to the first JMI.
    QCOMPARE(markedEditorLine(window), 5);
    QCOMPARE(caption(window, "gr1"), QStringLiteral("[0000 0000 0000 0001] 0001 (     1)"));
    child<QPushButton>(&window, "Command1")->click();
    QCOMPARE(markedEditorLine(window), 5);
    QCOMPARE(caption(window, "gr1"), QStringLiteral("[0000 0000 0000 0010] 0002 (     2)"));
    QCOMPARE(caption(window, "fr"), QStringLiteral("OF:0 SF:1 ZF:0"));

    child<QPushButton>(&window, "Command4")->click();
    QCOMPARE(window.breakpointLine(), 0);
    child<QPushButton>(&window, "Command1")->click();
    QCOMPARE(markedEditorLine(window), 3);
    QCOMPARE(caption(window, "gr1"), QStringLiteral("[0000 0000 0000 0011] 0003 (     3)"));
    child<QPushButton>(&window, "Command2")->click();
}

void TraceTest::stepQuestionStopsAnEndlessLoop() {
    Form1 window;
    assembleAndShow(window, endlessProgram);
    clickOnLine(window, 3);
    QCOMPARE(window.breakpointLine(), 3);
    const std::u32string program = window.editor()->editorText();
    ModalAnswerer answers;
    answers.press(QMessageBox::Yes).press(QMessageBox::No);
    child<QPushButton>(&window, "Trace")->click();
    QTRY_VERIFY(!window.traceActive());
    QCOMPARE(answers.seen().size(), std::size_t{2});
    const QString question = QStringLiteral("100ステップ実行されました。\n"
                                            "現在のブレークポイントは3行目です。\n"
                                            "トレースを続行しますか?");
    QCOMPARE(answers.seen().at(0).text, question);
    QCOMPARE(answers.seen().at(0).title, QStringLiteral("確認"));
    QCOMPARE(answers.seen().at(1).text, question);
    QVERIFY(!window.traceActive());
    QCOMPARE(window.editor()->editorText(), program);
}

void TraceTest::simpleDisplayFoldsLongAreas() {
    Form1 window;
    assembleAndShow(window, QStringLiteral("P\tSTART\n\tNOP\n\tLD\tGR1,X\n\tRET\n"
                                           "AREA\tDS\t30\nX\tDC\t1\n\tEND\n"));
    auto* data = child<QPlainTextEdit>(&window, "Text1");
    child<QPushButton>(&window, "Trace")->click();
    QCOMPARE(data->document()->blockCount(), 2 + 31 + 1);
    child<QCheckBox>(&window, "Check1")->click();
    child<QPushButton>(&window, "Command1")->click();
    // 20 words of AREA, one ":" line for the other 10, then X.
    QCOMPARE(data->document()->blockCount(), 2 + 20 + 1 + 1 + 1);
    QVERIFY(data->toPlainText().contains(QStringLiteral("\n\t:\n")));
    child<QPushButton>(&window, "Command2")->click();
}

void TraceTest::enterPressesNext() {
    Form1 window;
    assembleAndShow(window, loopProgram);
    child<QPushButton>(&window, "Trace")->click();
    QTest::keyClick(child<QPushButton>(&window, "Command1"), Qt::Key_Return);
    QCOMPARE(markedEditorLine(window), 2);
    // Also with the focus in the locked editor after choosing a breakpoint there.
    window.editor()->setFocus();
    QTest::keyClick(window.editor(), Qt::Key_Return);
    QCOMPARE(markedEditorLine(window), 3);
    child<QPushButton>(&window, "Command2")->click();
}

void TraceTest::enterPressesTheFocusedButton() {
    Form1 window;
    assembleAndShow(window, loopProgram);
    clickOnLine(window, 5);
    child<QPushButton>(&window, "Trace")->click();
    QCOMPARE(markedEditorLine(window), 5);

    auto* clear = child<QPushButton>(&window, "Command4");
    clear->setFocus();
    QTest::keyClick(clear, Qt::Key_Return);
    QCOMPARE(window.breakpointLine(), 0);
    QCOMPARE(markedEditorLine(window), 5);

    // The check box is no button: Enter there is Next.
    auto* simple = child<QCheckBox>(&window, "Check1");
    simple->setFocus();
    QTest::keyClick(simple, Qt::Key_Enter);
    QCOMPARE(markedEditorLine(window), 3);
    QVERIFY(!simple->isChecked());

    auto* end = child<QPushButton>(&window, "Command2");
    end->setFocus();
    QTest::keyClick(end, Qt::Key_Return);
    QVERIFY(!window.traceActive());
}

void TraceTest::theLockedEditorKeepsTheListing() {
    Form1 window;
    assembleAndShow(window, loopProgram);
    child<QPushButton>(&window, "Trace")->click();
    const QString listing = window.editor()->toPlainText();
    QTest::keyClicks(window.editor(), QStringLiteral("xyz"));
    QApplication::clipboard()->setText(QStringLiteral("junk"));
    child<QAction>(&window, "mnuPASTE")->trigger();
    child<QAction>(&window, "mnuKomoji")->trigger();
    QCOMPARE(window.editor()->toPlainText(), listing);
    QVERIFY(child<QPushButton>(&window, "Command4")->isEnabled());
    QVERIFY(!child<QLabel>(&window, "Label6")->isHidden());
    child<QPushButton>(&window, "Command2")->click();
}

void TraceTest::overwriteSaveReturnsWithTheFileName() {
    QTemporaryDir folder;
    Form1 window;
    assembleAndShow(window, loopProgram);
    ModalAnswerer answers;
    answers.choose(folder.filePath(QStringLiteral("loop.cas")));
    child<QAction>(&window, "mnuSAVE")->trigger();
    QVERIFY(child<QAction>(&window, "mnuUwagaki")->isEnabled());
    child<QPushButton>(&window, "Trace")->click();
    QVERIFY(!child<QAction>(&window, "mnuUwagaki")->isEnabled());
    child<QPushButton>(&window, "Command2")->click();
    QVERIFY(child<QAction>(&window, "mnuUwagaki")->isEnabled());
}

void TraceTest::closingDuringARunSavesTheProgramsOwnText() {
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("closed.cas"));
    Form1 window;
    assembleAndShow(window, loopProgram);
    const std::u32string program = window.editor()->editorText();
    QSignalSpy ended(&window, &Form1::programEnded);
    ModalAnswerer answers;
    child<QPushButton>(&window, "Trace")->click();
    child<QPushButton>(&window, "Command1")->click();
    answers.press(QMessageBox::Yes).choose(path);
    QVERIFY(window.close());
    QCOMPARE(answers.seen().at(0).text, QStringLiteral("ソースプログラムを保存しますか?"));
    QCOMPARE(ended.count(), 1);
    QCOMPARE(readBytes(path), QString::fromStdU32String(program + U"\r\n").toUtf8());
    QVERIFY(!readBytes(path).contains(">>>>>>"));
}

void TraceTest::programTextSurvivesAVanishedScratchFile() {
    Form1 window;
    assembleAndShow(window, loopProgram);
    const std::u32string program = window.editor()->editorText();
    child<QPushButton>(&window, "Trace")->click();
    QVERIFY(QFile::remove(programTextPath()));
    child<QPushButton>(&window, "Command2")->click();
    QCOMPARE(window.editor()->editorText(), program);
}

QTEST_MAIN(TraceTest)
#include "trace_test.moc"
