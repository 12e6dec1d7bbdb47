// The command line of casl2: the subcommands, their help, the version, and what a wrong
// argument is told.
#include "cli_fixture.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace casl::cli {
namespace {

namespace fs = std::filesystem;

using test::CommandRun;

std::string example(const std::string& name) {
    return (fs::path(CASL_EXAMPLES_DIR) / (name + ".cas")).string();
}

struct HelpCase {
    std::string name;
    std::vector<std::string> args;
    /// What the help names.
    std::vector<std::string> shows;
};

void PrintTo(const HelpCase& c, std::ostream* os) {
    *os << c.name;
}

class Help : public testing::TestWithParam<HelpCase> {};

TEST_P(Help, NamesEveryOption) {
    const CommandRun r = test::casl2(GetParam().args);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "");
    for (const std::string& part : GetParam().shows) {
        EXPECT_NE(r.out.find(part), std::string::npos) << part << "\n" << r.out;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Commands, Help,
    testing::Values(
        HelpCase{"Casl2",
                 {"--help"},
                 {"Usage: casl2 [OPTIONS] SUBCOMMAND", "assemble", "run", "check", "--version",
                  "Exit status:", "  9  the output could not be written"}},
        HelpCase{"Assemble", {"assemble", "--help"}, {"Usage: casl2 assemble", "FILE", "--json"}},
        HelpCase{"Run",
                 {"run", "-h"},
                 {"Usage: casl2 run", "--input TEXT", "--answer yes|no", "--breakpoint N",
                  "--max-steps N", "--max-output BYTES", "--time-limit SECONDS", "--press SEQ",
                  "--simple", "--trace", "--json", "--table csv|markdown", "--columns LIST",
                  "default 100000", "default 16777216"}},
        HelpCase{"Check",
                 {"check", "--help"},
                 {"Usage: casl2 check", "TESTS.toml", "PROGRAM_OR_FOLDER", "--format", "--verbose",
                  "--output", "--jobs", "--time-limit"}}),
    testing::PrintToStringParamName());

TEST(CommandLine, VersionIsTheProgramsVersion) {
    const CommandRun r = test::casl2({"--version"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, std::string("casl2 ") + CASL2_VERSION + "\n");
}

struct WrongCase {
    std::string name;
    std::vector<std::string> args;
    /// The message, after "casl2 " and the subcommand.
    std::string says;
};

void PrintTo(const WrongCase& c, std::ostream* os) {
    *os << c.name;
}

class WrongArguments : public testing::TestWithParam<WrongCase> {};

TEST_P(WrongArguments, NameWhatIsWrong) {
    std::vector<std::string> args = GetParam().args;
    for (std::string& arg : args) {
        if (arg == "@") {
            arg = example("hello");
        }
    }
    const CommandRun r = test::casl2(args);
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.out, "");
    EXPECT_TRUE(r.err.starts_with(GetParam().says + "\n")) << r.err;
    EXPECT_NE(r.err.find("--help' for the options.\n"), std::string::npos) << r.err;
}

INSTANTIATE_TEST_SUITE_P(
    Arguments, WrongArguments,
    testing::Values(
        WrongCase{"NoCommand", {}, "casl2: a command is required: assemble, run, check or similar"},
        WrongCase{"UnknownCommand", {"trace", "@"}, "casl2: unknown command 'trace'"},
        WrongCase{"UnknownTopOption", {"--fast"}, "casl2: unknown option '--fast'"},
        WrongCase{"NoFile", {"run"}, "casl2 run: FILE is required"},
        WrongCase{"TwoFiles",
                  {"assemble", "a.cas", "b.cas"},
                  "casl2 assemble: unexpected argument 'b.cas'"},
        WrongCase{"OptionOfAnotherCommand",
                  {"assemble", "--trace", "@"},
                  "casl2 assemble: unknown option '--trace'"},
        WrongCase{"UnknownRunOption", {"run", "@", "--fast"}, "casl2 run: unknown option '--fast'"},
        WrongCase{"MissingValue",
                  {"run", "@", "--input"},
                  "casl2 run: --input: 1 required TEXT "
                  "missing"},
        WrongCase{"StepsPastTheirBound",
                  {"run", "@", "--max-steps", "1000000001"},
                  "casl2 run: --max-steps takes a number of steps from 0 to 1000000000, not "
                  "'1000000001'"},
        WrongCase{"StepsNotANumber",
                  {"run", "@", "--max-steps", "ten"},
                  "casl2 run: --max-steps takes a number of steps from 0 to 1000000000, not "
                  "'ten'"},
        WrongCase{"NegativeOutputBound",
                  {"run", "@", "--max-output", "-1"},
                  "casl2 run: --max-output takes a number of bytes from 0 to 1099511627776, not "
                  "'-1'"},
        WrongCase{"NoTime",
                  {"run", "@", "--time-limit", "0"},
                  "casl2 run: --time-limit takes a number of seconds above 0 and at most "
                  "1000000, not '0'"},
        WrongCase{"Answer",
                  {"run", "@", "--answer", "maybe"},
                  "casl2 run: --answer takes yes or no, not 'maybe'"},
        WrongCase{"BreakpointZero",
                  {"run", "@", "--breakpoint", "0"},
                  "casl2 run: --breakpoint takes a line number from 1 to 2147483647, not '0'"},
        WrongCase{"JsonAndTrace",
                  {"run", "@", "--json", "--trace"},
                  "casl2 run: --json excludes "
                  "--trace"},
        WrongCase{"Format",
                  {"check", "@", "@", "--format", "xml"},
                  "casl2 check: --format takes text, json, junit, tap, html, gradescope, "
                  "prairielearn, vpl or coderunner, not 'xml'"}),
    testing::PrintToStringParamName());

TEST(CommandLine, TheStepBoundItselfIsAccepted) {
    const CommandRun r = test::casl2({"run", example("hello"), "--max-steps", "1000000000"});
    EXPECT_EQ(r.status, 0) << r.err;
}

TEST(CommandLine, RepeatedOptionsKeepTheirOrderAndOptionsMayComeFirst) {
    const CommandRun r =
        test::casl2({"run", "--input", "first", "--input", "-second", example("echo")});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(r.out.starts_with("[IN command]\nInput\n> first\n")) << r.out;
}

} // namespace
} // namespace casl::cli
