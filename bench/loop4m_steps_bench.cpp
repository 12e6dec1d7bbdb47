// Steps per second of the loop program, by wall-clock time, as a plain program that builds the
// same natively and in WebAssembly (where node runs it), so the two figures compare directly.
// Every figure is given for the simulator's decoded loop and, in the same run, for the loop it
// replaced (the reference kept with the tests):
//   loop4m_steps_bench [loop4m.cas] [runs]
#include "assembler/assembler.h"
#include "platform/text_codec.h"
#include "quiet_host.h"
#include "simulator/trace_session.h"
#include "tests/simulator/reference/reference_trace_session.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <iterator>
#include <memory>
#include <optional>
#include <string>
#include <utility>

namespace {

struct Figure {
    double stepsPerSecond = 0;
    /// Steps per second of processor time: on a machine shared with other work, closer to
    /// what the loop does than the wall clock.
    double stepsPerCpuSecond = 0;
    std::int64_t steps = 0;
};

/// One run to the end; `breakpoint` 0 presses Next at every step, line 1 (never executed)
/// lets the run go on inside one call. `historyBytes` 0 keeps no steps for 戻る; `explain` keeps
/// the writers and the reads too (the loop before decoding keeps neither). A function of its
/// own, so that a WebAssembly engine moves it to optimised code between runs: inlined into
/// `main`, which never returns, the Next of every step would stay in its first, slow
/// translation, a cost that no page driving the loop has.
template <typename Session>
[[gnu::noinline]] Figure runOnce(casl::ProgramTables& tables, const std::u32string& infoText,
                                 int breakpoint, std::size_t historyBytes, bool explain) {
    casl::MachineState machine;
    casl::bench::QuietHost host;
    const auto start = std::chrono::steady_clock::now();
    const std::clock_t cpuStart = std::clock();
    Session session(tables, machine, infoText,
                    casl::TraceOptions{.breakpointLine = breakpoint,
                                       .historyBytes = historyBytes,
                                       .explain = explain},
                    host);
    session.start();
    while (session.waiting()) {
        session.next();
    }
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
    const double cpuSeconds = static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC;
    if (session.ending() != casl::TraceEnding::ProgramEnded) {
        std::fprintf(stderr, "the loop did not end normally\n");
        std::exit(1);
    }
    const auto steps = static_cast<double>(session.countedSteps());
    return {steps / elapsed.count(), steps / std::max(cpuSeconds, 1e-9), session.countedSteps()};
}

struct Mode {
    const char* name;
    int breakpoint;
    std::size_t historyBytes;
    bool explain = false;
};

} // namespace

int main(int argc, char** argv) {
    const char* path = argc > 1 ? argv[1] : CASL_LOOP4M_PATH;
    const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "cannot read %s\n", path);
        return 2;
    }
    // The program is ASCII, which reads the same as UTF-8 and as CP932.
    const std::u32string text = casl::platform::fromUtf8(
        std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()));

    auto tables = std::make_unique<casl::ProgramTables>();
    const casl::AssemblyResult assembly = casl::assemble(text, *tables);
    if (!assembly.success) {
        std::fprintf(stderr, "%s does not assemble cleanly\n", path);
        return 1;
    }
    constexpr std::size_t history = casl::TraceOptions::defaultHistoryBytes;
    const Mode modes[] = {{"single step (Next at every step)", 0, history},
                          {"run on (to a breakpoint never met)", 1, history},
                          {"run on without history", 1, 0},
                          {"run on, explained (writers, reads)", 1, history, true},
                          // What Next at every step costs in the workbench, whose runs are
                          // explained.
                          {"single step, explained", 0, history, true}};
    for (const Mode& mode : modes) {
        // The two loops take turns, so that a machine busy with other work slows both alike.
        Figure decoded;
        Figure reference;
        for (int run = 0; run < runs; ++run) {
            const Figure d = runOnce<casl::TraceSession>(
                *tables, assembly.infoText, mode.breakpoint, mode.historyBytes, mode.explain);
            const Figure r = runOnce<casl::test::ReferenceTraceSession>(
                *tables, assembly.infoText, mode.breakpoint, mode.historyBytes, mode.explain);
            decoded.stepsPerSecond = std::max(decoded.stepsPerSecond, d.stepsPerSecond);
            decoded.stepsPerCpuSecond = std::max(decoded.stepsPerCpuSecond, d.stepsPerCpuSecond);
            decoded.steps = d.steps;
            reference.stepsPerSecond = std::max(reference.stepsPerSecond, r.stepsPerSecond);
            reference.stepsPerCpuSecond =
                std::max(reference.stepsPerCpuSecond, r.stepsPerCpuSecond);
        }
        std::printf("loop4m %-36s %8.2f million steps/s, before decoding %8.2f (x%.2f); per "
                    "processor second %.2f, before %.2f (best of %d runs of %lld steps)\n",
                    mode.name, decoded.stepsPerSecond / 1e6, reference.stepsPerSecond / 1e6,
                    decoded.stepsPerSecond / reference.stepsPerSecond,
                    decoded.stepsPerCpuSecond / 1e6, reference.stepsPerCpuSecond / 1e6, runs,
                    static_cast<long long>(decoded.steps));
    }
    return 0;
}
