#include "check_test_support.h"

#include <gtest/gtest.h>

namespace casl::check {
namespace {

/// Line 2 has a register error (5), line 3 an operand error (8): the empty line is not counted,
/// as Assemble drops it.
const std::string faulty = test::program({
    "PROG    START",
    "        LD      GR9,A",
    "",
    "        ADDA    GR1",
    "A       DC      3",
    "        RET",
    "        END",
});

const std::string clean = test::program({"PROG START", " RET", " END"});

struct AssemblyCase {
    std::string name;
    const std::string* source;
    std::string body;
    std::string mismatches;
};

void PrintTo(const AssemblyCase& c, std::ostream* os) {
    *os << c.name;
}

class AssemblyExpectation : public testing::TestWithParam<AssemblyCase> {};

TEST_P(AssemblyExpectation, ComparesTheErrorsOfEveryLine) {
    const ProgramResult result = test::checkSource(
        *GetParam().source, "[[case]]\nname = \"c\"\nassembles = false\n" + GetParam().body + "\n");
    ASSERT_EQ(result.cases.size(), 1u);
    EXPECT_EQ(test::mismatchNames(result.cases[0]), GetParam().mismatches);
    EXPECT_EQ(result.cases[0].passed, GetParam().mismatches.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Lines, AssemblyExpectation,
    testing::Values(
        AssemblyCase{"AnyErrors", &faulty, "", ""},
        AssemblyCase{"ExactErrors", &faulty, "errors = { 2 = 5, 3 = [8] }", ""},
        AssemblyCase{"RepeatsAndOrderDoNotCount", &faulty, "errors = { 2 = [5, 5], 3 = 8 }", ""},
        AssemblyCase{"WrongNumber", &faulty, "errors = { 2 = 6, 3 = 8 }", "errors on line 2"},
        AssemblyCase{"MissingLine", &faulty, "errors = { 2 = 5 }", "errors on line 3"},
        AssemblyCase{"ExtraLine", &faulty, "errors = { 2 = 5, 3 = 8, 4 = 1 }", "errors on line 4"},
        AssemblyCase{"LineCountedWithTheEmptyLine", &faulty, "errors = { 2 = 5, 4 = 8 }",
                     "errors on line 3, errors on line 4"},
        AssemblyCase{"CleanProgram", &clean, "", "assembly"},
        AssemblyCase{"CleanProgramWithErrors", &clean, "errors = { 2 = 5 }", "assembly"}),
    testing::PrintToStringParamName());

TEST(AssemblyExpectation, ShowsTheErrorNumbersWithTheirMessages) {
    const ProgramResult result = test::checkSource(
        faulty, "[[case]]\nname = \"c\"\nassembles = false\nerrors = { 2 = [5, 9] }\n");
    const auto& m = result.cases[0].mismatches;
    ASSERT_EQ(m.size(), 2u);
    EXPECT_EQ(m[0].expected, "5 <GR>レジスタ, 9 オペランドのラベルが見つからない");
    EXPECT_EQ(m[0].actual, "5 <GR>レジスタ");
    EXPECT_EQ(m[1].expected, "no error");
    EXPECT_EQ(m[1].actual, "8 オペランド");
}

TEST(AssemblyExpectation, AProgramThatDoesNotAssembleFailsTheCasesThatRunIt) {
    const ProgramResult result = test::checkSource(faulty, R"(
[[case]]
name = "runs"
[[case]]
name = "finds the errors"
assembles = false
errors = { 2 = 5, 3 = 8 }
)");
    EXPECT_EQ(result.problem,
              "does not assemble (Assemble Error: 2); line 2: error 5 <GR>レジスタ");
    ASSERT_EQ(result.cases.size(), 2u);
    EXPECT_FALSE(result.cases[0].passed);
    EXPECT_EQ(result.cases[0].problem, result.problem);
    EXPECT_TRUE(result.cases[1].passed);
    EXPECT_EQ(result.passedCount(), 1);
}

TEST(AssemblyExpectation, AOneLineProgramCannotBeTraced) {
    const ProgramResult result =
        test::checkSource(test::program({" RET"}), "[[case]]\nname = \"c\"\n");
    EXPECT_FALSE(result.cases[0].passed);
    EXPECT_EQ(result.cases[0].problem, "cannot be traced: a program needs at least two lines");
}

TEST(AssemblyExpectation, AnEmptyProgramFailsEveryCase) {
    const ProgramResult result = test::checkSource(
        "   ", "[[case]]\nname = \"runs\"\n[[case]]\nname = \"e\"\nassembles = false\n");
    EXPECT_EQ(result.problem, "the program is empty");
    EXPECT_EQ(result.passedCount(), 0);
}

} // namespace
} // namespace casl::check
