// `casl2 check` with [[generate]] sections: the reference answers the generated cases, a
// failed one shows its inputs and a [[case]] to paste, and --explain replays one.
#include "check_test_support.h"
#include "cli/check/check_command.h"
#include "cli/commands.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <sstream>

namespace casl::check {
namespace {

struct CheckRun {
    int status;
    std::string out;
    std::string err;
};

CheckRun check(std::vector<std::string> args) {
    args.insert(args.begin(), "check");
    std::ostringstream out, err;
    const int status = cli::casl2Main(args, cli::Console{out, err, false, false});
    return {status, out.str(), err.str()};
}

const std::string echo = test::program({
    "ECHO    START",
    "        IN      BUF,LEN",
    "        OUT     BUF,LEN",
    "        RET",
    "BUF     DS      80",
    "LEN     DS      1",
    "        END",
});

/// Wrong only on an empty line, which it does not show.
const std::string skipsEmpty = test::program({
    "ECHO    START",
    "        IN      BUF,LEN",
    "        LD      GR1,LEN",
    "        JZE     FIN",
    "        OUT     BUF,LEN",
    "FIN     RET",
    "BUF     DS      80",
    "LEN     DS      1",
    "        END",
});

const std::string endless = test::program({"ECHO    START", "LOOP    JUMP    LOOP", "        END"});

const std::string section = "[[generate]]\nname = \"echo\"\ncount = 12\nseed = 5\n"
                            "in = [{ alphabet = \"XY\", length = [0, 2] }]\nmax_steps = 100\n";

/// A scratch folder with the echo reference, the student and an endless reference.
class GenerateCommand : public testing::Test {
protected:
    GenerateCommand() {
        folder.write("ref.cas", echo);
        folder.write("endless.cas", endless);
        student = folder.write("student.cas", skipsEmpty).string();
    }
    std::string tests(const std::string& toml) const {
        return folder.write("tests.toml", toml).string();
    }

    test::ScratchFolder folder;
    std::string student;
};

struct Outcome {
    std::string name;
    std::string toml;
    std::vector<std::string> options;
    int status;
    /// A part of standard error; empty: nothing is said there.
    std::string message;
};

void PrintTo(const Outcome& c, std::ostream* os) {
    *os << c.name;
}

class GenerateOutcome : public GenerateCommand, public testing::WithParamInterface<Outcome> {};

TEST_P(GenerateOutcome, DependsOnTheReference) {
    const Outcome& c = GetParam();
    std::vector<std::string> args{tests(c.toml), student};
    for (const std::string& option : c.options) {
        args.push_back(option == "ENDLESS" ? (folder.path() / "endless.cas").string() : option);
    }
    const CheckRun r = check(args);
    EXPECT_EQ(r.status, c.status) << r.err;
    if (c.message.empty()) {
        EXPECT_EQ(r.err, "");
    } else {
        EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
        EXPECT_EQ(r.out, "") << "a broken test file grades nobody";
    }
}

INSTANTIATE_TEST_SUITE_P(
    TestFiles, GenerateOutcome,
    testing::Values(
        Outcome{"AnsweredByTheKey", "reference = \"ref.cas\"\n" + section, {}, someCaseFailed, ""},
        Outcome{"ABrokenReferenceByTheOption",
                section,
                {"--reference", "ENDLESS"},
                wrongTestsOrArguments,
                "generated case \"echo#1\" (inputs \"Y\"): the reference"},
        Outcome{"WithoutAReference",
                section,
                {},
                wrongTestsOrArguments,
                "[[generate]] takes its answers from a reference solution"},
        Outcome{"WithAMissingReference",
                "reference = \"none.cas\"\n" + section,
                {},
                wrongTestsOrArguments,
                "none.cas cannot be read"},
        Outcome{"OnlyTheFixedCasesNamed",
                section + "[[case]]\nname = \"fixed\"\ninputs = [\"A\"]\nexpect.output = \"A\"\n",
                {"--case", "fixed"},
                everyCasePassed,
                ""}),
    testing::PrintToStringParamName());

/// The lines of the first "[[case]]" table the report prints, without their indent.
std::string pastedCase(const std::string& report) {
    const std::size_t from = report.find("        [[case]]\n");
    EXPECT_NE(from, std::string::npos) << report;
    std::istringstream lines(report.substr(from));
    std::string table;
    for (std::string line; std::getline(lines, line) && line.starts_with("        ");) {
        table += line.substr(8) + "\n";
    }
    return table;
}

TEST_F(GenerateCommand, TheReportShowsTheInputsAndACaseThatFailsTheSameWay) {
    const CheckRun r = check({tests("reference = \"ref.cas\"\n" + section), student});
    ASSERT_EQ(r.status, someCaseFailed) << r.err;
    const std::size_t line = r.out.find("    case \"echo#");
    ASSERT_NE(line, std::string::npos) << r.out;
    EXPECT_NE(r.out.find("output: expected \"\" | got nothing (no OUT); generated with\n"
                         "      inputs \"\"\n      to keep it as a fixed case:\n"),
              std::string::npos)
        << r.out;

    const std::string pasted = pastedCase(r.out);
    const CheckRun again = check({tests(pasted), student});
    EXPECT_EQ(again.status, someCaseFailed) << pasted << again.err;
    EXPECT_NE(again.out.find("student.cas  0/1  FAILED\n    case \"echo-"), std::string::npos)
        << again.out;
    EXPECT_NE(again.out.find(": output: expected \"\" | got nothing (no OUT)\n"), std::string::npos)
        << again.out;
}

TEST_F(GenerateCommand, TheJsonReportGivesAFailedCaseItsInputsAndFixedForm) {
    const CheckRun r =
        check({tests("reference = \"ref.cas\"\n" + section), student, "--format", "json"});
    const nlohmann::json report = nlohmann::json::parse(r.out);
    int failed = 0;
    for (const nlohmann::json& c : report["programs"][0]["cases"]) {
        if (c["passed"].get<bool>()) {
            EXPECT_TRUE(c["fixed_case"].is_null());
            continue;
        }
        ++failed;
        EXPECT_EQ(c["given"], "inputs \"\"");
        EXPECT_TRUE(c["fixed_case"].get<std::string>().starts_with("[[case]]\nname = \"echo-"));
    }
    EXPECT_GT(failed, 0);
}

TEST_F(GenerateCommand, ExplainReplaysAGeneratedCase) {
    const std::string file = tests("reference = \"ref.cas\"\n" + section);
    const CheckRun report = check({file, student});
    const std::size_t at = report.out.find("case \"echo#");
    ASSERT_NE(at, std::string::npos) << report.out;
    const std::string name = report.out.substr(at + 6, report.out.find('"', at + 6) - at - 6);

    const CheckRun explained = check({file, student, "--explain", name});
    EXPECT_EQ(explained.status, someCaseFailed) << explained.err;
    EXPECT_NE(explained.out.find("case \"" + name + "\", generated with inputs \"\":\n"),
              std::string::npos)
        << explained.out;
    const CheckRun passes = check({file, (folder.path() / "ref.cas").string(), "--explain", name});
    EXPECT_EQ(passes.status, everyCasePassed) << passes.err;

    const CheckRun unknown = check({file, student, "--explain", "echo#13"});
    EXPECT_EQ(unknown.status, wrongTestsOrArguments);
    EXPECT_NE(unknown.err.find("its cases: 'echo#1' to 'echo#12'"), std::string::npos)
        << unknown.err;
    const CheckRun unanswered = check({tests(section), student, "--explain", name});
    EXPECT_EQ(unanswered.status, wrongTestsOrArguments);
}

} // namespace
} // namespace casl::check
