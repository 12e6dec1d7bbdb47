// Latencies of the window for a program at the table limits (300 lines, 2000 data words),
// offscreen, each until the repaint is done:
// - Next until every display is refreshed (registers, flags, dumps, the marked listing with
//   its executed line and gutter, and the marks of what the step changed); one frame (16 ms)
//   is the goal;
// - 戻る until every display is refreshed: one frame (16 ms) is the goal; 1,000 of them in a
//   row, each painted, within 1 s;
// - one typed character in the coloured editor with its gutter; the goal is 2 ms;
// - opening the program: reading the file, colouring and showing it; the goal is 50 ms.

#include "maximal_program.h"
#include "platform/source_file.h"
#include "shell/form1.h"
#include "shell/japanese_setup.h"
#include "shell/source_editor.h"

#include <QApplication>
#include <QFile>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdlib>
#include <variant>

namespace {

/// A program that loops forever over 294 instruction lines, with 2000 data words:
/// 1 START + 294 instructions + 1 JUMP + 3 data lines + 1 END = 300 lines. With
/// `storeEveryStep`, every step in the loop changes a data word (the dump must be rebuilt);
/// otherwise every other step does.
QString maximalProgram(bool storeEveryStep) {
    QString text = QStringLiteral("PGM\tSTART\n");
    for (int r = 1; r <= 7; ++r) {
        text += QStringLiteral("\tLAD\tGR%1,%1\n").arg(r);
    }
    text += QStringLiteral("LOOP\tLD\tGR0,D0\n");
    for (int i = 8; i < 294; ++i) {
        if (storeEveryStep) {
            text += QStringLiteral("\tST\tGR%1,D1\n").arg(i % 7 + 1);
        } else {
            text += i % 2 ? QStringLiteral("\tADDA\tGR1,D2\n") : QStringLiteral("\tST\tGR1,D1\n");
        }
    }
    text += QStringLiteral("\tJUMP\tLOOP\n");
    text += QStringLiteral("D0\tDS\t1000\n");
    text += QStringLiteral("D1\tDS\t990\n");
    text += QStringLiteral("D2\tDC\t1,2,3,4,5,6,7,8,9,10\n");
    text += QStringLiteral("\tEND\n");
    return text;
}

void startTrace(casl::Form1& window) {
    window.findChild<QPushButton*>(QStringLiteral("Trace"))->click();
}

void nextToRefreshedDisplays(benchmark::State& state) {
    casl::Form1 window;
    window.show();
    window.editor()->setPlainText(maximalProgram(state.range(0) != 0));
    window.assembleProgram();
    if (!window.findChild<QPushButton*>(QStringLiteral("Trace"))->isEnabled()) {
        state.SkipWithError("the benchmark program does not assemble");
        return;
    }
    QApplication::processEvents();
    auto* next = window.findChild<QPushButton*>(QStringLiteral("Command1"));
    auto* end = window.findChild<QPushButton*>(QStringLiteral("Command2"));
    startTrace(window);
    // Two header lines and one row per data word: the dump really holds 2000 words.
    const auto* dataArea = window.findChild<QPlainTextEdit*>(QStringLiteral("Text1"));
    if (dataArea->document()->blockCount() < 2002) {
        state.SkipWithError("the data dump does not hold 2000 words");
        return;
    }
    int steps = 0;
    for (auto _ : state) {
        next->click();
        QCoreApplication::sendPostedEvents();
        window.repaint();
        // The run asks whether to go on at its 101st Next; start a fresh run before that.
        if (++steps == 100) {
            state.PauseTiming();
            end->click();
            startTrace(window);
            steps = 0;
            state.ResumeTiming();
        }
    }
    end->click();
}

/// Counts the paintings of a widget, to make sure that a measured step really repainted.
class PaintCounter : public QObject {
public:
    explicit PaintCounter(QWidget* widget) { widget->installEventFilter(this); }
    int count = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        count += event->type() == QEvent::Paint ? 1 : 0;
        return QObject::eventFilter(watched, event);
    }
};

/// Answers the run's step question Yes if it is open; returns whether it was.
bool answerStepQuestion() {
    auto* question = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!question || !question->button(QMessageBox::Yes)) {
        return false;
    }
    question->button(QMessageBox::Yes)->click();
    return true;
}

/// Next, and Yes to the step question when it comes.
void pressNext(casl::Form1& window) {
    window.findChild<QPushButton*>(QStringLiteral("Command1"))->click();
    while (answerStepQuestion()) {
    }
}

void paint(casl::Form1& window) {
    QCoreApplication::sendPostedEvents();
    window.repaint();
}

/// One step back in the program at every table limit with 100 literal lines, each step back
/// painted; 150 steps are walked forward again whenever none is left to undo.
void stepBackToRefreshedDisplays(benchmark::State& state) {
    casl::Form1 window;
    window.show();
    window.editor()->setEditorText(casl::bench::maximalProgram());
    window.assembleProgram();
    if (!window.findChild<QPushButton*>(QStringLiteral("Trace"))->isEnabled()) {
        state.SkipWithError("the benchmark program does not assemble");
        return;
    }
    QApplication::processEvents();
    auto* back = window.findChild<QPushButton*>(QStringLiteral("stepBack"));
    startTrace(window);
    for (auto _ : state) {
        if (!back->isEnabled()) {
            state.PauseTiming();
            for (int i = 0; i < 150; ++i) {
                pressNext(window);
            }
            paint(window);
            state.ResumeTiming();
        }
        back->click();
        paint(window);
    }
    window.findChild<QPushButton*>(QStringLiteral("Command2"))->click();
}

/// 1,000 steps back in a row in the looping program at the table limits that stores at every
/// step, every display brought up to date at each step back. With argument 0 the window paints
/// once, after the row, as the event loop does when presses come faster than it paints; with 1
/// it paints what changed after each step back (the posted update requests). The steps are
/// walked forward first (untimed): the run goes on to the loop's JUMP line, 288 steps a round,
/// four times.
void thousandStepsBack(benchmark::State& state) {
    const bool paintEach = state.range(0) != 0;
    casl::Form1 window;
    window.show();
    window.editor()->setPlainText(maximalProgram(true));
    window.assembleProgram();
    if (!window.findChild<QPushButton*>(QStringLiteral("Trace"))->isEnabled()) {
        state.SkipWithError("the benchmark program does not assemble");
        return;
    }
    constexpr int jumpLine = 296;
    window.editor()->moveCaretToLine(jumpLine);
    emit window.editor()->clicked();
    if (window.breakpointLine() != jumpLine) {
        state.SkipWithError("the breakpoint is not on the JUMP line");
        return;
    }
    QApplication::processEvents();
    auto* back = window.findChild<QPushButton*>(QStringLiteral("stepBack"));
    auto* end = window.findChild<QPushButton*>(QStringLiteral("Command2"));
    PaintCounter paints(window.findChild<QPlainTextEdit*>(QStringLiteral("Text1"))->viewport());
    for (auto _ : state) {
        state.PauseTiming();
        startTrace(window);
        while (answerStepQuestion()) {
        }
        for (int round = 1; round < 4; ++round) {
            pressNext(window);
        }
        paint(window);
        state.ResumeTiming();
        for (int i = 0; i < 1000; ++i) {
            if (!back->isEnabled()) {
                state.SkipWithError("fewer than 1,000 steps to undo");
                return;
            }
            back->click();
            if (paintEach) {
                QCoreApplication::sendPostedEvents();
            }
        }
        QCoreApplication::sendPostedEvents();
        state.PauseTiming();
        end->click();
        state.ResumeTiming();
    }
    // Two steps a round (the loop's LD and JUMP) store nothing and leave the dump unpainted.
    if (paintEach && paints.count < 990 * state.iterations()) {
        state.SkipWithError("the data dump was not painted after the step backs");
    }
}

void typedCharacterToRepaint(benchmark::State& state) {
    casl::Form1 window;
    window.show();
    casl::SourceEditor* editor = window.editor();
    editor->setPlainText(maximalProgram(false));
    editor->moveCaretToLine(150);
    editor->moveCursor(QTextCursor::EndOfLine);
    editor->setFocus();
    QApplication::processEvents();
    PaintCounter paints(editor->viewport());
    int typed = 0;
    for (auto _ : state) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
        QApplication::sendEvent(editor, &press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
        QApplication::sendEvent(editor, &release);
        // The posted update requests paint what changed: the line, its gutter row.
        QCoreApplication::sendPostedEvents();
        // Keep the line short, as a program's lines are.
        if (++typed == 20) {
            state.PauseTiming();
            for (; typed > 0; --typed) {
                QKeyEvent back(QEvent::KeyPress, Qt::Key_Backspace, Qt::NoModifier);
                QApplication::sendEvent(editor, &back);
            }
            QCoreApplication::sendPostedEvents();
            state.ResumeTiming();
        }
    }
    if (paints.count < state.iterations()) {
        state.SkipWithError("the editor was not repainted after each character");
    }
}

void openingTheMaximalProgram(benchmark::State& state) {
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("maximal.cas"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(
            maximalProgram(false).replace(QLatin1Char('\n'), QStringLiteral("\r\n")).toUtf8()) <
            0) {
        state.SkipWithError("cannot write the program");
        return;
    }
    file.close();
    casl::Form1 window;
    window.show();
    QApplication::processEvents();
    for (auto _ : state) {
        // What Open does after its dialog: read the whole file, then show it.
        auto source = casl::platform::readSourceFile(QFile::encodeName(path).toStdString());
        const auto* text = std::get_if<casl::platform::SourceText>(&source);
        if (!text) {
            state.SkipWithError("cannot read the program");
            return;
        }
        window.editor()->setEditorText(text->text);
        QCoreApplication::sendPostedEvents();
        window.repaint();
        state.PauseTiming();
        window.editor()->setEditorText(U"");
        QCoreApplication::sendPostedEvents();
        state.ResumeTiming();
    }
}

BENCHMARK(typedCharacterToRepaint)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK(openingTheMaximalProgram)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);

BENCHMARK(nextToRefreshedDisplays)
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MinTime(2.0);
BENCHMARK(stepBackToRefreshedDisplays)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK(thousandStepsBack)
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(3);

} // namespace

int main(int argc, char** argv) {
    if (!std::getenv("QT_QPA_PLATFORM")) {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    }
    QApplication application(argc, argv);
    casl::installJapaneseSetup(application);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
