// Generated cases answered by a reference: a program passes where it answers as the reference
// does and fails for the inputs where it does not; a reference that cannot answer is a fault
// of the test file; a failed case's fixed form gives the same verdict.
#include "check_test_support.h"
#include "grading/generated_cases.h"
#include "grading/program_check.h"
#include "platform/text_codec.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <tuple>

namespace casl::check {
namespace {

/// SUM and GR0 = the sum of the N words from T on.
const std::string sumReference = test::program({
    "PROG    START",
    "        LAD     GR0,0",
    "        LAD     GR1,0",
    "LOOP    CPA     GR1,N",
    "        JZE     FIN",
    "        ADDA    GR0,T,GR1",
    "        LAD     GR1,1,GR1",
    "        JUMP    LOOP",
    "FIN     ST      GR0,SUM",
    "        RET",
    "N       DS      1",
    "T       DS      10",
    "SUM     DS      1",
    "        END",
});

/// The same sum, leaving out the negative words: right exactly when no word is negative.
const std::string skipsNegatives = test::program({
    "PROG    START",
    "        LAD     GR0,0",
    "        LAD     GR1,0",
    "LOOP    CPA     GR1,N",
    "        JZE     FIN",
    "        LD      GR2,T,GR1",
    "        JMI     NEXT",
    "        ADDA    GR0,GR2",
    "NEXT    LAD     GR1,1,GR1",
    "        JUMP    LOOP",
    "FIN     ST      GR0,SUM",
    "        RET",
    "N       DS      1",
    "T       DS      10",
    "SUM     DS      1",
    "        END",
});

const std::string sumTests = R"([[generate]]
name = "sum"
count = 40
seed = 11
data = { label = "T", count = [0, 4], min = -20, max = 20, count_label = "N" }
compare = ["data:SUM", "GR0"]
)";

/// Shows the line it reads.
const std::string echoReference = test::program({
    "ECHO    START",
    "        IN      BUF,LEN",
    "        OUT     BUF,LEN",
    "        RET",
    "BUF     DS      80",
    "LEN     DS      1",
    "        END",
});

/// Shows nothing for an empty line, where the reference shows an empty line.
const std::string skipsEmptyLines = test::program({
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

const std::string echoTests = R"([[generate]]
name = "echo"
count = 30
seed = 3
in = [{ alphabet = "AB\"", length = [0, 2] }]
)";

/// The test file of `toml` with its generated cases answered by `reference`.
TestFile answered(std::string_view toml, const std::string& reference) {
    TestFile file = test::testFile(toml);
    addGeneratedCases(file);
    const std::vector<std::string> faults =
        expectFromReference(file, "ref.cas", platform::fromUtf8(reference));
    EXPECT_TRUE(faults.empty()) << faults.front();
    return file;
}

ProgramResult checked(const std::string& program, const TestFile& file) {
    return checkProgramText("student.cas", platform::fromUtf8(program), file);
}

bool anyNegative(const CheckCase& c) {
    const std::vector<ExpectedWord>& words = c.setup.back().words;
    return std::any_of(words.begin(), words.end(),
                       [](const ExpectedWord& w) { return w.written.starts_with('-'); });
}

TEST(GeneratedCases, TheReferenceItselfAndACorrectProgramPassEveryCase) {
    const TestFile file = answered(sumTests, sumReference);
    ASSERT_EQ(file.cases.size(), 40u);
    EXPECT_EQ(checked(sumReference, file).passedCount(), 40);
    // Another correct program: the same sum counted down from the end of the table.
    const std::string backwards = test::program({
        "PROG    START",
        "        LAD     GR0,0",
        "        LD      GR1,N",
        "LOOP    JZE     FIN",
        "        LAD     GR1,-1,GR1",
        "        ADDA    GR0,T,GR1",
        "        LD      GR1,GR1",
        "        JUMP    LOOP",
        "FIN     ST      GR0,SUM",
        "        RET",
        "N       DS      1",
        "T       DS      10",
        "SUM     DS      1",
        "        END",
    });
    const ProgramResult result = checked(backwards, file);
    EXPECT_TRUE(result.passed()) << test::failureOf(*result.firstFailure());
}

TEST(GeneratedCases, AProgramWrongOnNegativeWordsFailsExactlyTheCasesThatHaveOne) {
    const TestFile file = answered(sumTests, sumReference);
    const ProgramResult result = checked(skipsNegatives, file);
    int failed = 0;
    for (std::size_t i = 0; i < file.cases.size(); ++i) {
        const CaseResult& r = result.cases[i];
        EXPECT_EQ(r.passed, !anyNegative(file.cases[i])) << r.name << ": " << test::failureOf(r);
        if (!r.passed) {
            ++failed;
            EXPECT_EQ(test::mismatchNames(r), "GR0, data SUM");
            EXPECT_TRUE(r.given.starts_with("N = ")) << r.given;
            EXPECT_NE(r.given.find("-"), std::string::npos) << r.given;
        } else {
            EXPECT_EQ(r.given, "") << "a passed case needs no inputs shown";
        }
    }
    EXPECT_GT(failed, 0);
    EXPECT_LT(failed, 40);
}

TEST(GeneratedCases, AProgramWrongOnEmptyLinesFailsExactlyThoseAndShowsTheInput) {
    const TestFile file = answered(echoTests, echoReference);
    const ProgramResult result = checked(skipsEmptyLines, file);
    int failed = 0;
    for (std::size_t i = 0; i < file.cases.size(); ++i) {
        const CaseResult& r = result.cases[i];
        const bool empty = file.cases[i].inputs.at(0).empty();
        EXPECT_EQ(r.passed, !empty) << r.name;
        if (empty) {
            ++failed;
            EXPECT_EQ(r.given, "inputs \"\"");
            EXPECT_EQ(test::failureOf(r), "output: expected \"\" | got nothing (no OUT)");
        }
    }
    EXPECT_GT(failed, 0);
}

TEST(GeneratedCases, ShowTheirInputsWhenTheProgramRanOrCouldNotBeSetUpOnly) {
    const TestFile file = answered(sumTests, sumReference);
    // The echo program has no table to set up: each case fails before its run.
    const CaseResult unset = checked(echoReference, file).cases[0];
    EXPECT_EQ(unset.problem, "setup.data.N: no DC or DS line has the label N");
    EXPECT_TRUE(unset.given.starts_with("N = ")) << unset.given;
    EXPECT_FALSE(unset.fixedCase.empty());
    const std::string broken = test::program(
        {"PROG    START", "        LD      GR9,N", "N       DS      1", "        END"});
    for (const CaseResult& r : checked(broken, file).cases) {
        EXPECT_EQ(r.given, "") << r.name << ": every case fails alike when nothing assembles";
        EXPECT_EQ(r.fixedCase, "") << r.name;
    }
}

TEST(GeneratedCases, TheFixedFormOfAFailedCaseGivesTheSameVerdict) {
    for (const auto& [tests, reference, student] :
         {std::tuple{sumTests, sumReference, skipsNegatives},
          std::tuple{echoTests, echoReference, skipsEmptyLines}}) {
        const TestFile file = answered(tests, reference);
        const ProgramResult result = checked(student, file);
        const CaseResult* failure = result.firstFailure();
        ASSERT_NE(failure, nullptr);
        ASSERT_FALSE(failure->fixedCase.empty());
        const TestFile fixed = test::testFile(failure->fixedCase);
        ASSERT_EQ(fixed.cases.size(), 1u) << failure->fixedCase;
        EXPECT_FALSE(fixed.cases[0].compare) << "the fixed form is a fixed case";
        const ProgramResult again = checked(student, fixed);
        EXPECT_EQ(test::failureOf(again.cases[0]), test::failureOf(*failure)) << failure->fixedCase;
        EXPECT_TRUE(checked(reference, fixed).passed()) << failure->fixedCase;
    }
}

TEST(GeneratedCases, TheFixedFormKeepsTheCallAndWhatItMustKeep) {
    const std::string keeps = test::program({
        "PROG    START",
        "        RET",
        "SUM     LD      GR0,GR1",
        "        ADDA    GR0,GR2",
        "        RET",
        "        END",
    });
    const std::string clobbers = test::program({
        "PROG    START",
        "        RET",
        "SUM     ADDA    GR2,GR1",
        "        LD      GR0,GR2",
        "        RET",
        "        END",
    });
    const TestFile file = answered(R"([[generate]]
name = "call"
count = 5
call = "SUM"
registers = { GR1 = [1, 100], GR2 = [1, 100] }
preserves = ["GR2"]
compare = ["GR0"]
points = 2.5
)",
                                   keeps);
    const ProgramResult result = checked(clobbers, file);
    const CaseResult* failure = result.firstFailure();
    ASSERT_NE(failure, nullptr);
    EXPECT_EQ(test::mismatchNames(*failure), "GR2 kept from the call");
    const TestFile fixed = test::testFile(failure->fixedCase);
    ASSERT_EQ(fixed.cases.size(), 1u);
    EXPECT_EQ(fixed.cases[0].points, 2.5);
    ASSERT_TRUE(fixed.cases[0].call);
    EXPECT_EQ(fixed.cases[0].call->registers, file.cases[0].call->registers);
    EXPECT_EQ(test::failureOf(checked(clobbers, fixed).cases[0]), test::failureOf(*failure));
}

struct BrokenReference {
    std::string name;
    std::string reference;
    /// The section's lines after its name.
    std::string body;
    /// A part of the first fault.
    std::string fault;
};

void PrintTo(const BrokenReference& c, std::ostream* os) {
    *os << c.name;
}

class BrokenReferences : public testing::TestWithParam<BrokenReference> {};

TEST_P(BrokenReferences, AreFaultsOfTheTestFileWithTheCaseInputs) {
    const BrokenReference& c = GetParam();
    TestFile file = test::testFile("[[generate]]\nname = \"g\"\ncount = 2\n" + c.body + "\n");
    addGeneratedCases(file);
    const std::vector<std::string> faults =
        expectFromReference(file, "ref.cas", platform::fromUtf8(c.reference));
    ASSERT_FALSE(faults.empty());
    EXPECT_NE(faults.front().find(c.fault), std::string::npos) << faults.front();
    EXPECT_NE(faults.front().find("the reference ref.cas"), std::string::npos) << faults.front();
}

INSTANTIATE_TEST_SUITE_P(
    References, BrokenReferences,
    testing::Values(
        BrokenReference{"Endless",
                        test::program({"P       START", "LOOP    JUMP    LOOP", "        END"}),
                        "max_steps = 50\nin = [{ min = 7, max = 7 }]",
                        "generated case \"g#1\" (inputs \"7\"): the reference ref.cas gives no "
                        "answer: the run was stopped (step-limit)"},
        BrokenReference{
            "EndsInErrorWithoutTheEndingCompared",
            test::program({"P       START", "        POP     GR1", "        RET", "        END"}),
            "", "ended with stack-underflow and 'compare' does not take the ending"},
        BrokenReference{"HasNoComparedLabel", sumReference, "compare = [\"data:TOTAL\"]",
                        "'compare' takes data:TOTAL, and no DC or DS line"},
        BrokenReference{"HasNoSetUpLabel", echoReference,
                        "data = { label = \"T\", min = 0, max = 1 }",
                        "cannot run it: setup.data.T: no DC or DS line has the label T"},
        BrokenReference{"DoesNotAssemble",
                        test::program({"P       START", "        LD      GR9,X", "        END"}),
                        "", "does not assemble"},
        BrokenReference{"LosesAKeptRegister",
                        test::program({"P       START", "        RET", "SUB     LAD     GR2,1",
                                       "        RET", "        END"}),
                        "call = \"SUB\"\nregisters = { GR2 = 5 }\npreserves = [\"GR2\"]",
                        "fails it: GR2 kept from the call: expected 5"}),
    testing::PrintToStringParamName());

TEST(GeneratedCases, AReferenceThatAnswersNothingIsNotAskedEveryCase) {
    TestFile file = test::testFile("[[generate]]\nname = \"g\"\ncount = 1000\nmax_steps = 10\n");
    addGeneratedCases(file);
    const std::vector<std::string> faults =
        expectFromReference(file, "ref.cas",
                            platform::fromUtf8(test::program(
                                {"P       START", "LOOP    JUMP    LOOP", "        END"})));
    ASSERT_EQ(faults.size(), 11u);
    EXPECT_NE(faults[9].find("\"g#10\""), std::string::npos) << faults[9];
    EXPECT_EQ(faults[10], "the generated cases after these were not tried");
}

TEST(GeneratedCases, AnErrorEndingIsTheAnswerWhenTheEndingIsCompared) {
    const std::string underflows =
        test::program({"P       START", "        POP     GR1", "        RET", "        END"});
    const TestFile file =
        answered("[[generate]]\nname = \"g\"\ncompare = [\"ending\"]\n", underflows);
    EXPECT_TRUE(checked(underflows, file).passed());
    const ProgramResult ends = checked(echoReference, file);
    EXPECT_EQ(test::mismatchNames(ends.cases[0]), "ending");
}

} // namespace
} // namespace casl::check
