// The decoded step loop against the loop it replaced: the examples, the loop benchmark, the
// fuzz corpus, random programs and random tables, each run by both loops with the same commands
// and answers, and compared at every wait, box and end.
#include "assembler/assembler.h"
#include "assembler/instruction_table.h"
#include "lockstep_run.h"
#include "platform/source_file.h"
#include "random_program.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <iterator>
#include <memory>
#include <set>
#include <string>
#include <variant>
#include <vector>

namespace casl::test {
namespace {

namespace fs = std::filesystem;

struct Assembled {
    std::unique_ptr<ProgramTables> tables = std::make_unique<ProgramTables>();
    AssemblyResult result;
};

Assembled assembleText(const std::u32string& text) {
    Assembled a;
    a.result = assemble(text, *a.tables);
    return a;
}

Assembled assembleFile(const fs::path& path) {
    const auto source = platform::readSourceFile(path);
    const auto* text = std::get_if<platform::SourceText>(&source);
    if (text == nullptr) {
        ADD_FAILURE() << "cannot read " << path;
        return {};
    }
    return assembleText(text->text);
}

std::vector<fs::path> filesIn(const fs::path& folder, std::string_view extension) {
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(folder)) {
        if (entry.is_regular_file() && entry.path().extension() == extension) {
            files.push_back(entry.path());
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

/// The ways the examples are run: each with a few seeds of commands and answers.
std::vector<LockstepPlan> examplePlans() {
    std::vector<LockstepPlan> plans;
    for (std::uint32_t seed = 1; seed <= 5; ++seed) {
        LockstepPlan plan;
        plan.seed = seed;
        plan.options.breakpointLine = seed == 2 ? 5 : 0;
        plan.options.simpleDisplay = seed == 3;
        // A small history, so that the oldest steps are dropped as the run goes on; and none,
        // as a run that nobody steps back through keeps.
        plan.options.historyBytes = seed == 4   ? 16 * 1024
                                    : seed == 5 ? 0
                                                : TraceOptions::defaultHistoryBytes;
        plans.push_back(plan);
    }
    return plans;
}

TEST(LoopsAgree, OnTheExamples) {
    const auto files = filesIn(CASL_EXAMPLES_DIR, ".cas");
    ASSERT_GE(files.size(), 5u);
    for (const fs::path& file : files) {
        SCOPED_TRACE(file.filename().string());
        const Assembled a = assembleFile(file);
        ASSERT_TRUE(a.result.success);
        for (const LockstepPlan& plan : examplePlans()) {
            const LockstepOutcome outcome = runLockstep(*a.tables, a.result.infoText, plan);
            ASSERT_FALSE(outcome.differed) << "seed " << plan.seed;
            EXPECT_GT(outcome.waits, 0);
        }
    }
}

TEST(LoopsAgree, OnTheLoopBenchmarkWaitingAtEveryCall) {
    const Assembled a = assembleFile(CASL_LOOP4M_PATH);
    ASSERT_TRUE(a.result.success);
    int callLine = 0;
    for (int n = 1; n <= a.tables->lineCount(); ++n) {
        if (a.tables->lineFields[static_cast<std::size_t>(n)][labelColumn] == U"OLOOP") {
            callLine = n;
        }
    }
    ASSERT_NE(callLine, 0);
    LockstepPlan plan;
    plan.options.breakpointLine = callLine;
    plan.stepBudget = 5000000;
    // Every wait and every step question that the host leaves open is a command.
    plan.commands = 100000;
    plan.varyCommands = false;
    const LockstepOutcome outcome = runLockstep(*a.tables, a.result.infoText, plan);
    EXPECT_FALSE(outcome.differed);
    // The whole program: a thousand waits at the CALL, and its end.
    EXPECT_EQ(outcome.ending, TraceEnding::ProgramEnded);
    EXPECT_EQ(outcome.countedSteps, 4006006);
}

/// The inputs of the trace fuzz target: an options byte (breakpoint line times two, plus one
/// for "簡易表示"), the length of an answer script, the script, then the source bytes.
TEST(LoopsAgree, OnTheFuzzCorpus) {
    std::vector<fs::path> inputs = filesIn(CASL_TRACE_REGRESSIONS_DIR, ".bin");
    const std::vector<fs::path> seeds = filesIn(CASL_TRACE_SEEDS_DIR, ".bin");
    inputs.insert(inputs.end(), seeds.begin(), seeds.end());
    ASSERT_GE(seeds.size(), 20u) << "the seeds are made by the fuzz_seeds target";
    int traced = 0;
    for (const fs::path& input : inputs) {
        SCOPED_TRACE(input.filename().string());
        std::ifstream in(input, std::ios::binary);
        const std::string bytes((std::istreambuf_iterator<char>(in)),
                                std::istreambuf_iterator<char>());
        ASSERT_GE(bytes.size(), 2u);
        const auto options = static_cast<unsigned char>(bytes[0]);
        const std::size_t scriptLength =
            std::min<std::size_t>(static_cast<unsigned char>(bytes[1]) & 0x3F, bytes.size() - 2);
        const auto source = platform::decodeSourceBytes(bytes.substr(2 + scriptLength));
        const auto* text = std::get_if<platform::SourceText>(&source);
        if (text == nullptr) {
            continue;
        }
        const Assembled a = assembleText(text->text);
        if (!a.result.success) {
            continue;
        }
        LockstepPlan plan;
        plan.options.breakpointLine = static_cast<int>(options >> 1) % 40;
        plan.options.simpleDisplay = (options & 1) != 0;
        plan.seed = static_cast<std::uint32_t>(std::hash<std::string>{}(bytes));
        ASSERT_FALSE(runLockstep(*a.tables, a.result.infoText, plan).differed);
        ++traced;
    }
    EXPECT_GE(traced, 20);
}

/// A chunk of random programs, so that the chunks run side by side.
struct RandomChunk {
    std::uint32_t first = 0;
    int count = 0;
};

void PrintTo(const RandomChunk& chunk, std::ostream* out) {
    *out << "seeds " << chunk.first << " to " << chunk.first + chunk.count - 1;
}

class LoopsAgreeOnRandomPrograms : public ::testing::TestWithParam<RandomChunk> {};

TEST_P(LoopsAgreeOnRandomPrograms, WithRandomCommandsAndAnswers) {
    for (int i = 0; i < GetParam().count; ++i) {
        const std::uint32_t seed = GetParam().first + static_cast<std::uint32_t>(i);
        SCOPED_TRACE("random program " + std::to_string(seed));
        std::mt19937 random(seed);
        const Assembled a = assembleText(randomProgram(random));
        ASSERT_TRUE(a.result.success) << "the generator writes clean programs";
        LockstepPlan plan;
        plan.seed = seed;
        plan.options.breakpointLine = random() % 3 == 0 ? static_cast<int>(random() % 40) : 0;
        plan.options.simpleDisplay = random() % 2 == 0;
        plan.options.historyBytes = random() % 4 == 0 ? 0 : TraceOptions::defaultHistoryBytes;
        plan.commands = 400;
        ASSERT_FALSE(runLockstep(*a.tables, a.result.infoText, plan).differed);
    }
}

INSTANTIATE_TEST_SUITE_P(Seeds, LoopsAgreeOnRandomPrograms,
                         ::testing::Values(RandomChunk{1, 500}, RandomChunk{1001, 500},
                                           RandomChunk{2001, 500}, RandomChunk{3001, 500}),
                         [](const ::testing::TestParamInfo<RandomChunk>& info) {
                             return "From" + std::to_string(info.param.first);
                         });

TEST(LoopsAgree, OnTablesNoAssemblyMakes) {
    for (std::uint32_t seed = 1; seed <= 2000; ++seed) {
        SCOPED_TRACE("random tables " + std::to_string(seed));
        std::mt19937 random(seed);
        const auto tables = randomTables(random);
        LockstepPlan plan;
        plan.seed = seed;
        plan.commands = 200;
        for (auto& r : plan.machine.generalRegisters) {
            r = static_cast<std::int16_t>(random());
        }
        ASSERT_FALSE(runLockstep(*tables, U"", plan).differed);
    }
}

TEST(RandomPrograms, UseEveryMnemonic) {
    std::set<std::u32string> used;
    for (std::uint32_t seed = 1; seed <= 150; ++seed) {
        std::mt19937 random(seed);
        const Assembled a = assembleText(randomProgram(random));
        for (int n = 1; n <= a.tables->lineCount(); ++n) {
            used.insert(a.tables->lineFields[static_cast<std::size_t>(n)][mnemonicColumn]);
        }
    }
    for (const InstructionRow& row : instructionTable) {
        EXPECT_TRUE(used.contains(std::u32string(row.mnemonic)))
            << "no random program uses " << std::string(row.mnemonic.begin(), row.mnemonic.end());
    }
}

} // namespace
} // namespace casl::test
