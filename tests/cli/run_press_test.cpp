// `casl2 run --press`: the buttons pressed at the waits, 戻る among them.
#include "cli/commands.h"
#include "cli_fixture.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

namespace casl::cli {
namespace {

namespace fs = std::filesystem;

using test::CommandRun;

constexpr int programEnded = 0;
constexpr int wrongArguments = 2;
constexpr int endedByEndButton = 5;

std::string example(const std::string& name) {
    return (fs::path(CASL_EXAMPLES_DIR) / (name + ".cas")).string();
}

/// The waits that `--trace` printed, each from its "line L:" line (or from GR0 where no line
/// is marked) to the next; the final display block is the last entry.
std::vector<std::string> printedWaits(const std::string& out) {
    std::vector<std::string> waits;
    std::istringstream lines(out);
    std::string line;
    bool afterLineMark = false;
    while (std::getline(lines, line)) {
        const bool startsWait =
            line.starts_with("line ") || (line.starts_with("GR0 ") && !afterLineMark);
        if (startsWait || waits.empty()) {
            waits.emplace_back();
        }
        waits.back() += line + '\n';
        afterLineMark = line.starts_with("line ");
    }
    return waits;
}

CommandRun runExample(const std::string& name, std::vector<std::string> options) {
    options.insert(options.begin(), example(name));
    return test::casl2("run", options);
}

struct PressCase {
    const char* name;
    std::string presses;
    /// For each printed wait, which wait of a run with Next only it shows (0-based).
    std::vector<std::size_t> shows;
};

void PrintTo(const PressCase& c, std::ostream* out) {
    *out << c.name;
}

class Presses : public ::testing::TestWithParam<PressCase> {};

TEST_P(Presses, AStepBackShowsTheWaitBefore) {
    const CommandRun plain = runExample("loop", {"--trace"});
    const CommandRun pressed = runExample("loop", {"--trace", "--press", GetParam().presses});
    ASSERT_EQ(plain.status, programEnded);
    ASSERT_EQ(pressed.status, programEnded) << pressed.err;
    const auto expected = printedWaits(plain.out);
    const auto waits = printedWaits(pressed.out);
    ASSERT_GE(waits.size(), GetParam().shows.size());
    for (std::size_t i = 0; i < GetParam().shows.size(); ++i) {
        EXPECT_EQ(waits[i], expected[GetParam().shows[i]]) << "printed wait " << i;
    }
    // After the presses, Next at every wait runs the program to the same end.
    EXPECT_EQ(waits.back(), expected.back());
}

INSTANTIATE_TEST_SUITE_P(
    Loop, Presses,
    ::testing::Values(PressCase{"NextThenBack", "n,b", {0, 1, 0, 1, 2}},
                      PressCase{"TwiceNextThenBack", "n,n,b", {0, 1, 2, 1, 2}},
                      PressCase{"BackToTheStart", "n,n,n,b,b,b,b", {0, 1, 2, 3, 2, 1, 0, 1}},
                      PressCase{"BackWhereNothingCanBeUndone", "b,n", {0, 1, 2}}),
    [](const ::testing::TestParamInfo<PressCase>& info) { return std::string(info.param.name); });

TEST(Presses, BackWalksThroughTheStepsRunOnTowardsTheBreakpoint) {
    // Line 7 is ADDA: the first wait comes after START and both LADs ran on.
    const CommandRun plain = runExample("loop", {"--trace"});
    const CommandRun pressed =
        runExample("loop", {"--trace", "--breakpoint", "7", "--press", "b,b,b"});
    const auto expected = printedWaits(plain.out);
    const auto waits = printedWaits(pressed.out);
    ASSERT_GE(waits.size(), 4u);
    EXPECT_EQ(waits[0], expected[3]);
    EXPECT_EQ(waits[1], expected[2]);
    EXPECT_EQ(waits[2], expected[1]);
    EXPECT_EQ(waits[3], expected[0]);
}

TEST(Presses, EndEndsTheRunWithItsOwnStatus) {
    const CommandRun r = runExample("loop", {"--press", "n,e"});
    EXPECT_EQ(r.status, endedByEndButton);
    EXPECT_NE(r.out.find("GR1 [0000 0000 0000 0000]"), std::string::npos);
}

TEST(Presses, AnUnknownButtonIsRefused) {
    for (const char* presses : {"n,x", "", "n,,b", "next"}) {
        const CommandRun r = runExample("loop", {"--press", presses});
        EXPECT_EQ(r.status, wrongArguments) << presses;
        EXPECT_NE(r.err.find("--press takes buttons n, b and e"), std::string::npos) << presses;
    }
}

} // namespace
} // namespace casl::cli
