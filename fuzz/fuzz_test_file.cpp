// Arbitrary bytes as the test file of `casl2 check`: read, and when they make a test file, each
// of its first cases run on a small program (its bounds kept small) and compared.
#include "assembler/assembler.h"
#include "grading/assembly_check.h"
#include "grading/case_runner.h"
#include "grading/run_check.h"
#include "grading/test_file_reader.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <set>
#include <string_view>
#include <variant>

namespace {

constexpr std::size_t casesRun = 4;
constexpr std::int64_t stepBudget = 3000;
constexpr std::int64_t outputBudget = 2000;

void require(bool condition) {
    if (!condition) {
        __builtin_trap();
    }
}

/// Echoes a line and keeps its length in GR1: IN, OUT, data labels and a register to compare.
constexpr std::u32string_view echoProgram = U"ECHO    START\r\n"
                                            U"        IN      BUF,LEN\r\n"
                                            U"        OUT     BUF,LEN\r\n"
                                            U"        LD      GR1,LEN\r\n"
                                            U"        RET\r\n"
                                            U"BUF     DS      80\r\n"
                                            U"LEN     DS      1\r\n"
                                            U"        END\r\n";

struct Assembled {
    casl::ProgramTables tables;
    casl::AssemblyResult result;
};

const Assembled& echo() {
    static const auto assembled = [] {
        auto a = std::make_unique<Assembled>();
        a->result = casl::assemble(echoProgram, a->tables);
        require(a->result.success);
        return a;
    }();
    return *assembled;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    auto read = casl::check::parseTestFile(bytes, "tests.toml");
    if (const auto* error = std::get_if<casl::check::TestFileError>(&read)) {
        // Every refusal names the file, line and column or the file alone.
        require(error->message.starts_with("tests.toml:"));
        return 0;
    }
    const casl::check::TestFile& file = std::get<casl::check::TestFile>(read);
    require(!file.cases.empty());
    std::set<std::string> names;
    for (const casl::check::CheckCase& c : file.cases) {
        require(!c.name.empty() && names.insert(c.name).second);
        require(c.maxSteps >= 0 && c.maxOutput >= 0);
        if (c.errors) {
            for (const auto& [line, numbers] : *c.errors) {
                require(line >= 1 && line <= 300 && !numbers.empty());
                require(std::is_sorted(numbers.begin(), numbers.end()));
                require(numbers.front() >= 1 && numbers.back() <= 9);
            }
        }
    }
    static const auto work = std::make_unique<casl::ProgramTables>();
    const Assembled& program = echo();
    for (std::size_t i = 0; i < std::min(casesRun, file.cases.size()); ++i) {
        casl::check::CheckCase c = file.cases[i];
        c.maxSteps = std::min(c.maxSteps, stepBudget);
        c.maxOutput = std::min(c.maxOutput, outputBudget);
        if (!c.assembles) {
            // The program assembles, so such a case always fails with one mismatch.
            require(casl::check::compareAssembly(program.tables, program.result, c).size() == 1);
            continue;
        }
        *work = program.tables;
        const casl::check::RunRecord run = casl::check::runCase(*work, program.result.infoText, c);
        require(run.steps >= 0 && run.steps <= stepBudget + 101);
        for (const casl::check::Mismatch& m : casl::check::compareRun(run, *work, c)) {
            require(!m.what.empty() && m.expected != m.actual);
        }
    }
    return 0;
}
