// Step latency of the window: the time from a press of Next to the finished refresh of every
// display (registers, flags, dumps, the marked listing) for a program at the table limits:
// 300 lines and 2000 data words. Runs offscreen; one frame (16 ms) is the goal.

#include "shell/form1.h"
#include "shell/japanese_setup.h"
#include "shell/source_editor.h"

#include <QApplication>
#include <QPlainTextEdit>
#include <QPushButton>
#include <benchmark/benchmark.h>
#include <cstdlib>

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

BENCHMARK(nextToRefreshedDisplays)
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MinTime(2.0);

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
