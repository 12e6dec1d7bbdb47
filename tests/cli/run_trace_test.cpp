// `casl2 run` as the tool that checks a run: breakpoints, the traced waits, the step budget
// and programs that cannot be traced.
#include "cli/commands.h"
#include "cli_fixture.h"

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <gtest/gtest.h>
#include <ostream>
#include <string>
#include <vector>

namespace casl::cli {
namespace {

namespace fs = std::filesystem;

using test::CommandRun;

constexpr int programEnded = 0;
constexpr int cannotTrace = 1;
constexpr int wrongArguments = 2;
constexpr int endedByStepQuestion = 4;

class RunTrace : public test::FileFolder {
protected:
    CommandRun run(const std::string& source, std::vector<std::string> options = {}) {
        options.insert(options.begin(), write("program.cas", source).string());
        return test::casl2("run", options);
    }
};

std::string example(const std::string& name) {
    return (fs::path(CASL_EXAMPLES_DIR) / (name + ".cas")).string();
}

std::string program(const std::string& name) {
    return (fs::path(CASL_RUN_PROGRAMS_DIR) / (name + ".cas")).string();
}

std::size_t occurrences(const std::string& text, const std::string& part) {
    std::size_t count = 0;
    for (std::size_t at = text.find(part); at != std::string::npos;
         at = text.find(part, at + part.size())) {
        ++count;
    }
    return count;
}

/// The registers the display block shows for GR`index` holding `value` (0 to 0x7FFF).
std::string registerRow(int index, int value) {
    std::string bits;
    for (int bit = 15; bit >= 0; --bit) {
        bits += (value >> bit & 1) ? '1' : '0';
        if (bit % 4 == 0 && bit > 0) {
            bits += ' ';
        }
    }
    char hex[5];
    std::snprintf(hex, sizeof hex, "%04X", value);
    char decimal[7];
    std::snprintf(decimal, sizeof decimal, "%6d", value);
    return "GR" + std::to_string(index) + " [" + bits + "] " + hex + " (" + decimal + ")\n";
}

TEST_F(RunTrace, TheTraceNamesTheMarkedLineAndNothingWhereNoneIsMarked) {
    const CommandRun r = run("P START BEGIN\r\n"
                             "BEGIN CALL SUB\r\n"
                             " RET\r\n"
                             "SUB RET\r\n"
                             " END\r\n",
                             {"--trace"});
    EXPECT_EQ(r.status, programEnded);
    // START with an operand marks no line.
    EXPECT_TRUE(r.out.starts_with("GR0 ")) << r.out;
    const std::size_t call = r.out.find("line 2: >>>>>> \tBEGIN     CALL    SUB\nGR0 ");
    const std::size_t inner = r.out.find("line 4: >>>>>> \tSUB       RET     \nGR0 ");
    EXPECT_NE(call, std::string::npos);
    EXPECT_NE(inner, std::string::npos);
    EXPECT_LT(call, inner);
    // The last RET ends the run with its message; its displays are the final ones.
    EXPECT_EQ(r.out.find("line 3:"), std::string::npos);
    EXPECT_EQ(occurrences(r.out, "Data Area\n"), 3u + 1u);
    EXPECT_NE(r.out.find("[Program Terminated]\nProgram終了\nGR0 "), std::string::npos);
}

struct BreakpointCase {
    const char* name;
    int line;
    /// The traced waits, all on the breakpoint line.
    std::size_t waits;
    std::vector<std::string> rows;
};

void PrintTo(const BreakpointCase& c, std::ostream* out) {
    *out << c.name;
}

class Breakpoints : public ::testing::TestWithParam<BreakpointCase> {};

// loop.cas: line 7 NEXT ADDA GR1,GR2; line 10 JPL DONE (at #000B); line 12 DONE ST (at #000F);
// line 13 RET.
TEST_P(Breakpoints, TheRunWaitsOnlyAfterItsLine) {
    const BreakpointCase& c = GetParam();
    const CommandRun r =
        test::casl2("run", {example("loop"), "--trace", "--breakpoint", std::to_string(c.line)});
    EXPECT_EQ(r.status, programEnded);
    EXPECT_EQ(occurrences(r.out, ": >>>>>> "), c.waits);
    EXPECT_EQ(occurrences(r.out, "line " + std::to_string(c.line) + ": >>>>>> "), c.waits);
    for (const std::string& row : c.rows) {
        EXPECT_NE(r.out.find(row), std::string::npos) << row;
    }
}

INSTANTIATE_TEST_SUITE_P(
    LoopExample, Breakpoints,
    ::testing::Values(
        // After each ADDA the sum so far: 1, 3, ..., 55.
        BreakpointCase{"Add", 7, 10, {registerRow(1, 1) + registerRow(2, 1), registerRow(1, 55)}},
        // A jump waits whether or not it jumped: nine times on, the tenth to DONE.
        BreakpointCase{"JumpTakenOrNot", 10, 10, {"PR:000D\n", "PR:000F\n"}},
        BreakpointCase{"Store", 12, 1, {registerRow(1, 55)}},
        // The RET that ends the program never waits.
        BreakpointCase{"ProgramEnd", 13, 0, {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(RunBreakpoint, WithoutTraceTheRunEndsAsWithoutBreakpoint) {
    const CommandRun stepped = test::casl2("run", {example("loop")});
    const CommandRun onwards = test::casl2("run", {example("loop"), "--breakpoint", "7"});
    EXPECT_EQ(onwards.status, programEnded);
    EXPECT_EQ(onwards.out, stepped.out);
}

TEST(RunBreakpoint, ALineNeverExecutedRunsOnToTheStepQuestion) {
    // forever.cas: line 4 JUMP L, line 5 END. The first question comes at 101 steps.
    const CommandRun never = test::casl2(
        "run", {program("forever"), "--breakpoint", "5", "--trace", "--max-steps", "150"});
    EXPECT_EQ(never.status, endedByStepQuestion);
    EXPECT_TRUE(never.out.starts_with("[確認]\n100ステップ実行されました。\n"
                                      "現在のブレークポイントは5行目です。\n"))
        << never.out;
    EXPECT_EQ(occurrences(never.out, "[確認]"), 1u);

    // Each JUMP waits and Next goes on; the 101st step is the 50th JUMP.
    const CommandRun jumps = test::casl2(
        "run", {program("forever"), "--breakpoint", "4", "--trace", "--max-steps", "0"});
    EXPECT_EQ(jumps.status, endedByStepQuestion);
    EXPECT_EQ(occurrences(jumps.out, "line 4: >>>>>> \t          JUMP    L\n"), 50u);
}

TEST_F(RunTrace, StepsThatStayOnTheirLineCountAsTheLineAbove) {
    // START BEGIN moves to line 3 without passing it: the step counts as line 2 (the DC).
    const CommandRun start = run("P START BEGIN\r\nX DC 1\r\nBEGIN LAD GR1,1\r\n RET\r\n END\r\n",
                                 {"--trace", "--breakpoint", "2"});
    EXPECT_EQ(start.status, programEnded);
    EXPECT_TRUE(start.out.starts_with("GR0 ")) << start.out;
    EXPECT_EQ(occurrences(start.out, "Data Area\n"), 1u + 1u);

    // Run into the DC: every further step executes it, stays there, and counts as line 2.
    const CommandRun data = run("P START\r\n LAD GR1,1\r\nX DC 1\r\n END\r\n",
                                {"--trace", "--breakpoint", "2", "--max-steps", "0"});
    EXPECT_EQ(data.status, endedByStepQuestion);
    EXPECT_EQ(occurrences(data.out, "line 2: >>>>>> \t          LAD     GR1,1\n"), 100u);
}

struct StepBudgetCase {
    std::int64_t maxSteps;
    /// GR1 counts the LAD steps: the run has made twice as many steps, and START.
    int laps;
};

void PrintTo(const StepBudgetCase& c, std::ostream* out) {
    *out << "--max-steps " << c.maxSteps;
}

class StepBudget : public ::testing::TestWithParam<StepBudgetCase> {};

TEST_P(StepBudget, TheRunEndsAtTheFirstQuestionAtOrAfterTheBudget) {
    const CommandRun r = test::casl2(
        "run", {program("forever"), "--max-steps", std::to_string(GetParam().maxSteps)});
    EXPECT_EQ(r.status, endedByStepQuestion);
    EXPECT_EQ(occurrences(r.out, "[確認]"), 1u);
    EXPECT_NE(r.out.find(registerRow(1, GetParam().laps)), std::string::npos) << r.out;
}

// The questions come at 101, 202, 303, ... counted steps.
INSTANTIATE_TEST_SUITE_P(Forever, StepBudget,
                         ::testing::Values(StepBudgetCase{0, 50}, StepBudgetCase{101, 50},
                                           StepBudgetCase{102, 101}, StepBudgetCase{202, 101},
                                           StepBudgetCase{203, 151}),
                         [](const auto& info) {
                             return "MaxSteps" + std::to_string(info.param.maxSteps);
                         });

TEST_F(RunTrace, AProgramThatCannotBeTracedSaysWhy) {
    const CommandRun one = run(" RET\r\n");
    EXPECT_EQ(one.status, cannotTrace);
    EXPECT_NE(one.err.find("one line"), std::string::npos) << one.err;
    EXPECT_NE(one.out.find("Assemble Error: 0\n"), std::string::npos);

    const CommandRun blank = run("");
    EXPECT_EQ(blank.status, cannotTrace);
    EXPECT_EQ(blank.out, "");
    EXPECT_NE(blank.err.find("nothing to assemble"), std::string::npos) << blank.err;
    // Empty lines are dropped: nothing is left either.
    const CommandRun empty = run("\r\n\r\n");
    EXPECT_EQ(empty.status, cannotTrace);
    EXPECT_NE(empty.err.find("no program"), std::string::npos) << empty.err;

    // A listing with errors says why by itself.
    const CommandRun faulty = run("P START\r\n FOO\r\n END\r\n");
    EXPECT_EQ(faulty.status, cannotTrace);
    EXPECT_EQ(faulty.err, "");
}

TEST_F(RunTrace, BreakpointArguments) {
    const std::string source = "P START\r\n RET\r\n END\r\n";
    for (const char* value : {"0", "-1", "x", "2x", "99999999999"}) {
        const CommandRun r = run(source, {"--breakpoint", value});
        EXPECT_EQ(r.status, wrongArguments) << value;
        EXPECT_EQ(r.out, "");
        EXPECT_NE(r.err.find("--breakpoint"), std::string::npos) << value;
    }
    EXPECT_EQ(run(source, {"--breakpoint"}).status, wrongArguments);
    const CommandRun past = run(source, {"--breakpoint", "4"});
    EXPECT_EQ(past.status, wrongArguments);
    EXPECT_NE(past.err.find("3 lines"), std::string::npos) << past.err;
    EXPECT_EQ(run(source, {"--breakpoint", "3"}).status, programEnded);
}

} // namespace
} // namespace casl::cli
