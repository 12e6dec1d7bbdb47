#include "assembler/assembler.h"
#include "maximal_program.h"
#include "platform/source_file.h"
#include "quiet_host.h"
#include "simulator/trace_session.h"
#include "tests/simulator/reference/reference_trace_session.h"

#include <benchmark/benchmark.h>
#include <memory>
#include <stdexcept>
#include <variant>

namespace {

struct Assembled {
    std::unique_ptr<casl::ProgramTables> tables = std::make_unique<casl::ProgramTables>();
    casl::AssemblyResult result;
};

Assembled assembleText(const std::u32string& text) {
    Assembled a;
    a.result = casl::assemble(text, *a.tables);
    if (!a.result.success) {
        throw std::runtime_error("the benchmark program must assemble cleanly");
    }
    return a;
}

Assembled loop4m() {
    auto source = casl::platform::readSourceFile(CASL_LOOP4M_PATH);
    if (!std::holds_alternative<casl::platform::SourceText>(source)) {
        throw std::runtime_error("cannot read " CASL_LOOP4M_PATH);
    }
    return assembleText(std::get<casl::platform::SourceText>(source).text);
}

/// The loop program run to its end; `breakpoint` 0 presses Next at every step, a line that
/// is never executed lets it run on. `historyBytes` 0 keeps no steps for 戻る. `Session` is the
/// simulator's loop, or the loop it replaced, for comparison.
template <typename Session = casl::TraceSession>
void runLoop4m(benchmark::State& state, int breakpoint,
               std::size_t historyBytes = casl::TraceOptions::defaultHistoryBytes) {
    const Assembled program = loop4m();
    std::int64_t steps = 0;
    for (auto _ : state) {
        casl::MachineState machine;
        casl::bench::QuietHost host;
        Session session(*program.tables, machine, program.result.infoText,
                        casl::TraceOptions{breakpoint, false, historyBytes}, host);
        session.start();
        while (session.waiting()) {
            session.next();
        }
        if (session.ending() != casl::TraceEnding::ProgramEnded) {
            state.SkipWithError("the loop did not end normally");
        }
        steps += session.countedSteps();
        benchmark::DoNotOptimize(machine.generalRegisters);
    }
    state.SetItemsProcessed(steps);
}

void loop4mSingleStep(benchmark::State& state) {
    runLoop4m(state, 0);
}
void loop4mRunOn(benchmark::State& state) {
    runLoop4m(state, 1);
}
void loop4mRunOnWithoutHistory(benchmark::State& state) {
    runLoop4m(state, 1, 0);
}
BENCHMARK(loop4mSingleStep)->Unit(benchmark::kMillisecond);
BENCHMARK(loop4mRunOn)->Unit(benchmark::kMillisecond);
BENCHMARK(loop4mRunOnWithoutHistory)->Unit(benchmark::kMillisecond);

using Reference = casl::test::ReferenceTraceSession;
void loop4mSingleStepBeforeDecoding(benchmark::State& state) {
    runLoop4m<Reference>(state, 0);
}
void loop4mRunOnBeforeDecoding(benchmark::State& state) {
    runLoop4m<Reference>(state, 1);
}
void loop4mRunOnWithoutHistoryBeforeDecoding(benchmark::State& state) {
    runLoop4m<Reference>(state, 1, 0);
}
BENCHMARK(loop4mSingleStepBeforeDecoding)->Unit(benchmark::kMillisecond);
BENCHMARK(loop4mRunOnBeforeDecoding)->Unit(benchmark::kMillisecond);
BENCHMARK(loop4mRunOnWithoutHistoryBeforeDecoding)->Unit(benchmark::kMillisecond);

/// The memory the history of 100,000 steps of the loop program takes (a counter, in MB).
void historyOf100000Steps(benchmark::State& state) {
    const Assembled program = loop4m();
    double megabytes = 0;
    std::size_t stepsBack = 0;
    for (auto _ : state) {
        casl::MachineState machine;
        casl::bench::QuietHost host;
        casl::TraceSession session(*program.tables, machine, program.result.infoText,
                                   casl::TraceOptions{0, false}, host);
        session.start();
        for (int i = 1; i < 100000 && session.waiting(); ++i) {
            session.next();
        }
        megabytes = static_cast<double>(session.historyBytes()) / (1 << 20);
        stepsBack = session.stepsBack();
    }
    state.counters["historyMB"] = megabytes;
    state.counters["stepsBack"] = static_cast<double>(stepsBack);
}
BENCHMARK(historyOf100000Steps)->Unit(benchmark::kMillisecond)->Iterations(1);

/// Every display text of one step of a program at every table limit.
void displayTextsOfMaximalProgram(benchmark::State& state) {
    const Assembled program = assembleText(casl::bench::maximalProgram());
    casl::MachineState machine;
    casl::bench::QuietHost host;
    casl::TraceSession session(*program.tables, machine, program.result.infoText, {}, host);
    session.start();
    session.next();
    for (auto _ : state) {
        casl::DisplayTexts texts = session.displays().texts();
        benchmark::DoNotOptimize(texts);
    }
}
BENCHMARK(displayTextsOfMaximalProgram)->Unit(benchmark::kMicrosecond);

/// One step of the maximal program with every display text built, as the window does it.
void stepWithDisplaysOfMaximalProgram(benchmark::State& state) {
    const Assembled program = assembleText(casl::bench::maximalProgram());
    casl::MachineState machine;
    casl::bench::QuietHost host;
    auto session = std::make_unique<casl::TraceSession>(
        *program.tables, machine, program.result.infoText, casl::TraceOptions{}, host);
    session->start();
    for (auto _ : state) {
        if (!session->waiting()) {
            session = std::make_unique<casl::TraceSession>(
                *program.tables, machine, program.result.infoText, casl::TraceOptions{}, host);
            session->start();
        }
        session->next();
        casl::DisplayTexts texts = session->displays().texts();
        benchmark::DoNotOptimize(texts);
    }
}
BENCHMARK(stepWithDisplaysOfMaximalProgram)->Unit(benchmark::kMicrosecond);

/// 1,000 steps of the loop program walked back one by one, every display text built after
/// each step back, as the window shows them.
void thousandStepsBackWithDisplays(benchmark::State& state) {
    const Assembled program = loop4m();
    for (auto _ : state) {
        state.PauseTiming();
        casl::MachineState machine;
        casl::bench::QuietHost host;
        casl::TraceSession session(*program.tables, machine, program.result.infoText,
                                   casl::TraceOptions{}, host);
        session.start();
        for (int i = 0; i < 1000; ++i) {
            session.next();
        }
        state.ResumeTiming();
        for (int i = 0; i < 1000; ++i) {
            session.back();
            casl::DisplayTexts texts = session.displays().texts();
            benchmark::DoNotOptimize(texts);
        }
    }
}
BENCHMARK(thousandStepsBackWithDisplays)->Unit(benchmark::kMillisecond);

/// One step back in the maximal program with every display text built.
void stepBackWithDisplaysOfMaximalProgram(benchmark::State& state) {
    const Assembled program = assembleText(casl::bench::maximalProgram());
    casl::MachineState machine;
    casl::bench::QuietHost host;
    casl::TraceSession session(*program.tables, machine, program.result.infoText,
                               casl::TraceOptions{}, host);
    session.start();
    for (int i = 0; i < 150; ++i) {
        session.next();
    }
    for (auto _ : state) {
        if (session.stepsBack() == 0) {
            state.PauseTiming();
            for (int i = 0; i < 150; ++i) {
                session.next();
            }
            state.ResumeTiming();
        }
        session.back();
        casl::DisplayTexts texts = session.displays().texts();
        benchmark::DoNotOptimize(texts);
    }
}
BENCHMARK(stepBackWithDisplaysOfMaximalProgram)->Unit(benchmark::kMicrosecond);

} // namespace
