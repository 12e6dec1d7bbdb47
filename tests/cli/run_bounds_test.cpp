// A run of casl2 is bounded in what it prints and in how long it takes: every OUT box shows
// the whole output so far, so a printing loop would otherwise print with the square of its
// steps, gigabytes within the default step budget.
#include "cli_fixture.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

namespace casl::cli {
namespace {

using test::CommandRun;

constexpr int programEnded = 0;
constexpr int outputBoundReached = 6;
constexpr int timeLimitReached = 7;

/// Writes HELLO for ever.
const std::string printingLoop =
    "P START\r\nL OUT M,N\r\n JUMP L\r\nM DC 'HELLO'\r\nN DC 5\r\n END\r\n";
/// Goes round for ever without a word.
const std::string silentLoop = "F START\r\nL LAD GR1,1,GR1\r\n JUMP L\r\n END\r\n";

class RunBounds : public test::FileFolder {
protected:
    CommandRun run(const std::string& source, std::vector<std::string> options) {
        options.insert(options.begin(), write("program.cas", source).string());
        return test::casl2("run", options);
    }
};

/// The boxes a run printed: everything before its final display block.
std::string boxesOf(const std::string& out) {
    return out.substr(0, out.rfind("GR0 ["));
}

class OutputBound : public RunBounds, public testing::WithParamInterface<long> {};

TEST_P(OutputBound, StopsThePrintingLoopBeforeTheBoxThatWouldPassIt) {
    const long bound = GetParam();
    const CommandRun r =
        run(printingLoop, {"--max-steps", "1000000000", "--max-output", std::to_string(bound)});
    EXPECT_EQ(r.status, outputBoundReached);
    EXPECT_EQ(r.err, "casl2 run: the run was stopped: its output reached the bound of " +
                         std::to_string(bound) + " bytes (--max-output)\n");
    const std::string boxes = boxesOf(r.out);
    EXPECT_LE(static_cast<long>(boxes.size()), bound);
    // Whole boxes only, and the next one, a line longer than the last, would not have fitted.
    ASSERT_TRUE(boxes.ends_with("HELLO\n")) << boxes.substr(boxes.size() - 40);
    const std::size_t lastBox = boxes.rfind("[OUT command]\n");
    ASSERT_NE(lastBox, std::string::npos);
    EXPECT_GT(static_cast<long>(boxes.size() + (boxes.size() - lastBox) + 6), bound);
    // The displays of the end of the run follow.
    EXPECT_TRUE(r.out.ends_with("Data Area\nLabel Address   Value\n--------------------------\n"
                                "M         0006   0048 (72)H\n"
                                "          0007   0045 (69)E\n"
                                "          0008   004C (76)L\n"
                                "          0009   004C (76)L\n"
                                "          000A   004F (79)O\n"
                                "N         000B   0005 (5)\n"));
}

INSTANTIATE_TEST_SUITE_P(Bytes, OutputBound, testing::Values(1000, 250000),
                         [](const auto& info) { return std::to_string(info.param); });

TEST_F(RunBounds, TheDefaultBoundStopsAPrintingLoopLongBeforeItsStepBudget) {
    const CommandRun r = run(printingLoop, {});
    EXPECT_EQ(r.status, outputBoundReached);
    EXPECT_NE(r.err.find("the bound of 16777216 bytes"), std::string::npos) << r.err;
    EXPECT_LE(boxesOf(r.out).size(), std::size_t{16} << 20);
    EXPECT_GT(boxesOf(r.out).size(), std::size_t{16} << 19);
}

TEST_F(RunBounds, JsonCountsTheTextsOfTheBoxes) {
    const CommandRun r =
        run(printingLoop, {"--json", "--max-steps", "1000000000", "--max-output", "5000"});
    EXPECT_EQ(r.status, outputBoundReached);
    const auto json = nlohmann::json::parse(r.out);
    EXPECT_EQ(json["run"]["ending"], "output-limit");
    std::size_t bytes = 0;
    for (const auto& box : json["run"]["boxes"]) {
        bytes += box["title"].get<std::string>().size() + box["text"].get<std::string>().size();
    }
    EXPECT_LE(bytes, 5000u);
    EXPECT_GT(bytes, 4000u);
}

struct EndlessCase {
    std::string name;
    std::vector<std::string> options;
};

void PrintTo(const EndlessCase& c, std::ostream* os) {
    *os << c.name;
}

class TimeLimit : public RunBounds, public testing::WithParamInterface<EndlessCase> {};

TEST_P(TimeLimit, StopsAnEndlessLoop) {
    std::vector<std::string> options{"--max-steps", "1000000000", "--time-limit", "0.3"};
    options.insert(options.end(), GetParam().options.begin(), GetParam().options.end());
    const CommandRun r = run(silentLoop, options);
    EXPECT_EQ(r.status, timeLimitReached);
    EXPECT_EQ(r.err, "casl2 run: the run was stopped: it took longer than its time limit of 0.3 "
                     "seconds (--time-limit)\n");
    // The displays of the end of the run follow what the run printed.
    EXPECT_TRUE(r.out.ends_with("Data Area\nLabel Address   Value\n--------------------------\n"))
        << r.out.substr(r.out.size() - 200);
}

INSTANTIATE_TEST_SUITE_P(
    Runs, TimeLimit,
    testing::Values(EndlessCase{"EveryStepWaits", {}},
                    // Running on towards a breakpoint that never comes: only the step question
                    // gives the run back.
                    EndlessCase{"RunningOnTowardsABreakpoint", {"--breakpoint", "4"}},
                    EndlessCase{"Traced", {"--trace", "--max-output", "1099511627776"}}),
    testing::PrintToStringParamName());

TEST_F(RunBounds, ARunWithinItsBoundsPrintsWhatItAlwaysPrinted) {
    const std::string program = "P START\r\n OUT M,N\r\n RET\r\nM DC 'HI'\r\nN DC 2\r\n END\r\n";
    const CommandRun plain = run(program, {});
    const CommandRun bounded = run(program, {"--max-output", "1000", "--time-limit", "100"});
    EXPECT_EQ(plain.status, programEnded);
    EXPECT_EQ(bounded.status, programEnded);
    EXPECT_EQ(bounded.out, plain.out);
    EXPECT_EQ(bounded.err, "");
}

} // namespace
} // namespace casl::cli
