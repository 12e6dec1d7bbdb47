// `casl2 check --explain CASE`: one case's run as `casl2 run --trace` prints it, then the case's
// verdict in the words of the text report.
#include "check_test_support.h"
#include "cli/check/check_command.h"
#include "cli/commands.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sstream>

namespace casl::check {
namespace {

namespace fs = std::filesystem;

const fs::path exercises = CASL_EXERCISES_DIR;

struct Casl2Run {
    int status;
    std::string out;
    std::string err;
};

Casl2Run casl2(const std::vector<std::string>& args) {
    std::ostringstream out, err;
    const int status = cli::casl2Main(args, cli::Console{out, err, false, false});
    return {status, out.str(), err.str()};
}

std::string testsOf(const std::string& exercise) {
    return (exercises / exercise / "tests.toml").string();
}

std::string programOf(const std::string& exercise, const std::string& file) {
    return (exercises / exercise / file).string();
}

/// A case of a shipped exercise, and the `casl2 run` arguments that give its run.
struct ShippedCase {
    std::string name;
    std::string exercise;
    std::string program;
    std::string caseName;
    /// `--input` and `--max-steps` as the case gives them.
    std::vector<std::string> runArgs;
    int status;
    /// The verdict after the run, without the program's name at its start.
    std::string verdict;
};

void PrintTo(const ShippedCase& c, std::ostream* os) {
    *os << c.name;
}

class ExplainShippedCase : public testing::TestWithParam<ShippedCase> {};

TEST_P(ExplainShippedCase, PrintsTheRunAsRunTracePrintsItThenTheVerdict) {
    const ShippedCase& c = GetParam();
    const std::string program = programOf(c.exercise, c.program);
    const Casl2Run explained =
        casl2({"check", testsOf(c.exercise), program, "--explain", c.caseName});
    std::vector<std::string> runArgs{"run", program, "--trace"};
    runArgs.insert(runArgs.end(), c.runArgs.begin(), c.runArgs.end());
    const Casl2Run traced = casl2(runArgs);

    EXPECT_EQ(explained.status, c.status) << explained.err;
    EXPECT_EQ(explained.err, "");
    ASSERT_FALSE(traced.out.empty()) << traced.err;
    ASSERT_TRUE(explained.out.starts_with(traced.out)) << "the run differs from casl2 run --trace";
    EXPECT_EQ(explained.out.substr(traced.out.size()), "\n" + program + c.verdict);
}

INSTANTIATE_TEST_SUITE_P(
    Exercises, ExplainShippedCase,
    testing::Values(
        ShippedCase{"APassingCase",
                    "count-digits",
                    "wrong.cas",
                    "digits among letters",
                    {"--input", "A1B2C3", "--max-steps", "5000"},
                    everyCasePassed,
                    "  1/1  passed\n\n1 of 1 program passed every case; 1 of 1 case passed\n"},
        ShippedCase{"AFailingCase",
                    "count-digits",
                    "wrong.cas",
                    "nine counts too",
                    {"--input", "9 LIVES", "--max-steps", "5000"},
                    someCaseFailed,
                    "  0/1  FAILED\n"
                    "    case \"nine counts too\", inputs \"9 LIVES\":\n"
                    "      GR0: expected 1 (#0001) | got 0 (#0000)\n"
                    "      data COUNT: expected 1 (#0001) | got 0 (#0000)\n"
                    "\n0 of 1 program passed every case; 0 of 1 case passed\n"},
        // The OUT box and its text are part of the run.
        ShippedCase{"AFailingCaseWithOutput",
                    "reverse",
                    "wrong.cas",
                    "one letter",
                    {"--input", "A", "--max-steps", "5000"},
                    someCaseFailed,
                    "  0/1  FAILED\n"
                    "    case \"one letter\", inputs \"A\":\n"
                    "      output: expected \"A\" | got \"□\"\n"
                    "\n0 of 1 program passed every case; 0 of 1 case passed\n"}),
    testing::PrintToStringParamName());

TEST(ExplainCase, TheDataAreaShowsTheWordsOfTheCaseSetUpBeforeTheFirstStep) {
    const Casl2Run r = casl2({"check", testsOf("table-max"), programOf("table-max", "solution.cas"),
                              "--explain", "every word negative"});
    EXPECT_EQ(r.status, everyCasePassed) << r.err;
    // The first wait, before any instruction ran, already holds N = 3 and -5, -2, -9.
    const std::string firstWait = r.out.substr(0, r.out.find("\nline ", 1));
    EXPECT_NE(firstWait.find("N         0019   0003 (3)\n"
                             "TABLE     001A   FFFB (-5)\n"
                             "          001B   FFFE (-2)\n"
                             "          001C   FFF7 (-9)\n"),
              std::string::npos)
        << firstWait;
}

/// GR0 = GR1 + GR2; the main program would leave 99 in GR0.
const std::string sumProgram = test::program({
    "PROG    START",
    "        LAD     GR0,99",
    "        RET",
    "SUM     LD      GR0,GR1",
    "        ADDA    GR0,GR2",
    "        RET",
    "        END",
});

TEST(ExplainCase, ASubroutineCaseStartsAtItsLabelWithTheCaseRegisters) {
    const test::ScratchFolder folder;
    const fs::path program = folder.write("sum.cas", sumProgram);
    const fs::path tests = folder.write("tests.toml", "[[case]]\nname = \"three and four\"\n"
                                                      "call = \"SUM\"\n"
                                                      "registers = { GR1 = 3, GR2 = 4 }\n"
                                                      "expect.GR0 = 7\n");
    const Casl2Run r =
        casl2({"check", tests.string(), program.string(), "--explain", "three and four"});
    EXPECT_EQ(r.status, everyCasePassed) << r.err;
    EXPECT_TRUE(r.out.starts_with("line 4: >>>>>> \tSUM")) << r.out.substr(0, 200);
    EXPECT_NE(r.out.find("GR1 [0000 0000 0000 0011] 0003 (     3)\n"
                         "GR2 [0000 0000 0000 0100] 0004 (     4)\n"),
              std::string::npos);
    // The steps of the main program never ran.
    EXPECT_EQ(r.out.find("line 2:"), std::string::npos);
    EXPECT_NE(r.out.find("1 of 1 case passed"), std::string::npos) << r.out;
}

TEST(ExplainCase, AProgramThatDoesNotAssembleShowsNoRunAndSaysWhy) {
    const test::ScratchFolder folder;
    const fs::path program = folder.write(
        "broken.cas",
        test::program({"PROG    START", "        LD      GR9,0", "        RET", "        END"}));
    const Casl2Run r = casl2(
        {"check", testsOf("count-digits"), program.string(), "--explain", "digits among letters"});
    EXPECT_EQ(r.status, someCaseFailed);
    EXPECT_TRUE(r.out.starts_with("\n" + program.string() + "  0/1  FAILED\n    does not assemble"))
        << r.out;
}

struct RefusedExplanation {
    std::string name;
    /// The arguments after "check", where TESTS and PROGRAM stand for a test file with a hidden
    /// case and a program.
    std::vector<std::string> args;
    std::string message;
};

void PrintTo(const RefusedExplanation& c, std::ostream* os) {
    *os << c.name;
}

class RefusedExplain : public testing::TestWithParam<RefusedExplanation> {};

TEST_P(RefusedExplain, PrintsNothingAndSaysWhy) {
    const test::ScratchFolder folder;
    const fs::path program = folder.write("sum.cas", sumProgram);
    folder.write("more/other.cas", sumProgram);
    folder.write("more/another.cas", sumProgram);
    const fs::path tests =
        folder.write("tests.toml", "[[case]]\nname = \"open\"\ncall = \"SUM\"\n"
                                   "[[case]]\nname = \"secret\"\nhidden = true\ncall = \"SUM\"\n"
                                   "registers = { GR1 = 1234 }\nexpect.GR0 = 1234\n");
    std::vector<std::string> args{"check"};
    for (const std::string& arg : GetParam().args) {
        args.push_back(arg == "TESTS"     ? tests.string()
                       : arg == "PROGRAM" ? program.string()
                       : arg == "FOLDER"  ? (folder.path() / "more").string()
                                          : arg);
    }
    const Casl2Run r = casl2(args);
    EXPECT_EQ(r.status, wrongTestsOrArguments);
    EXPECT_EQ(r.out, "");
    std::string message = GetParam().message;
    if (const std::size_t at = message.find("TESTS"); at != std::string::npos) {
        message.replace(at, 5, tests.string());
    }
    EXPECT_NE(r.err.find(message), std::string::npos) << r.err;
    EXPECT_EQ(r.err.find("1234"), std::string::npos) << "a hidden case shows its registers";
}

INSTANTIATE_TEST_SUITE_P(
    Arguments, RefusedExplain,
    testing::Values(
        RefusedExplanation{"AnUnknownCaseListsTheCases",
                           {"TESTS", "PROGRAM", "--explain", "Open"},
                           "casl2 check: TESTS has no case named 'Open'; its cases: 'open', "
                           "'secret'\n"},
        RefusedExplanation{"AHiddenCase",
                           {"TESTS", "PROGRAM", "--explain", "secret"},
                           "casl2 check: the case 'secret' is hidden: its run is not shown\n"},
        RefusedExplanation{"AFolderOfPrograms",
                           {"TESTS", "FOLDER", "--explain", "open"},
                           "casl2 check: --explain shows the run of one program, not 2\n"},
        RefusedExplanation{"TwoPrograms",
                           {"TESTS", "PROGRAM", "PROGRAM", "--explain", "open"},
                           "casl2 check: --explain shows the run of one program, not 2\n"},
        RefusedExplanation{"AReportFormat",
                           {"TESTS", "PROGRAM", "--explain", "open", "-f", "json"},
                           "--format excludes --explain"},
        RefusedExplanation{"ACaseList",
                           {"TESTS", "PROGRAM", "--explain", "open", "--case", "open"},
                           "excludes --explain"}),
    testing::PrintToStringParamName());

} // namespace
} // namespace casl::check
