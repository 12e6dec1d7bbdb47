// Steps per second of the loop program, by wall-clock time, as a plain program that builds the
// same natively and in WebAssembly (where node runs it), so the two figures compare directly:
//   loop4m_steps_bench [loop4m.cas] [runs]
#include "assembler/assembler.h"
#include "platform/text_codec.h"
#include "quiet_host.h"
#include "simulator/trace_session.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <memory>
#include <optional>
#include <string>
#include <utility>

namespace {

struct Figure {
    double stepsPerSecond = 0;
    std::int64_t steps = 0;
};

/// One run to the end; `breakpoint` 0 presses Next at every step, line 1 (never executed)
/// lets the run go on inside one call.
Figure runOnce(casl::ProgramTables& tables, const std::u32string& infoText, int breakpoint) {
    casl::MachineState machine;
    casl::bench::QuietHost host;
    const auto start = std::chrono::steady_clock::now();
    casl::TraceSession session(tables, machine, infoText, casl::TraceOptions{breakpoint, false},
                               host);
    session.start();
    while (session.waiting()) {
        session.next();
    }
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
    if (session.ending() != casl::TraceEnding::ProgramEnded) {
        std::fprintf(stderr, "the loop did not end normally\n");
        std::exit(1);
    }
    return {static_cast<double>(session.countedSteps()) / elapsed.count(), session.countedSteps()};
}

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
    for (const auto& [name, breakpoint] : {std::pair{"single step (Next at every step)", 0},
                                           std::pair{"run on (to a breakpoint never met)", 1}}) {
        Figure best;
        for (int run = 0; run < runs; ++run) {
            const Figure figure = runOnce(*tables, assembly.infoText, breakpoint);
            if (figure.stepsPerSecond > best.stepsPerSecond) {
                best = figure;
            }
        }
        std::printf("loop4m %-36s %8.2f million steps/s (best of %d runs of %lld steps)\n", name,
                    best.stepsPerSecond / 1e6, runs, static_cast<long long>(best.steps));
    }
    return 0;
}
