#include "assembler/assembler.h"
#include "maximal_program.h"

#include <benchmark/benchmark.h>
#include <memory>
#include <stdexcept>

namespace {

void assembleMaximalProgram(benchmark::State& state) {
    const std::u32string source = casl::bench::maximalProgram();
    auto tables = std::make_unique<casl::ProgramTables>();
    const casl::AssemblyResult check = casl::assemble(source, *tables);
    if (!check.success || tables->lineCounter != 301 || tables->dataWordCounter != 2001) {
        throw std::runtime_error("the maximal program must fill every table exactly");
    }
    for (auto _ : state) {
        casl::AssemblyResult result = casl::assemble(source, *tables);
        benchmark::DoNotOptimize(result);
    }
}
BENCHMARK(assembleMaximalProgram)->Unit(benchmark::kMicrosecond);

} // namespace
