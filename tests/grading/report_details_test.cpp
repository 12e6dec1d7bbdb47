// What the reports need beyond a verdict: the file's own line numbers, where long outputs
// first differ, the inputs of a case, and what a reference solution says of a test file.
#include "check_test_support.h"
#include "grading/assembly_check.h"
#include "grading/reference_check.h"
#include "grading/source_lines.h"

#include <gtest/gtest.h>

namespace casl::check {
namespace {

struct LinesCase {
    std::string name;
    std::u32string text;
    /// The file line of program lines 1, 2, ...
    std::vector<int> fileLines;
};

void PrintTo(const LinesCase& c, std::ostream* os) {
    *os << c.name;
}

class FileLines : public testing::TestWithParam<LinesCase> {};

TEST_P(FileLines, FollowTheEmptyLinesThatAssembleDrops) {
    const SourceLines lines(GetParam().text);
    for (std::size_t i = 0; i < GetParam().fileLines.size(); ++i) {
        EXPECT_EQ(lines.fileLine(static_cast<int>(i) + 1), GetParam().fileLines[i]) << i + 1;
    }
    // A line past the program (a literal line) is its own number.
    const int past = static_cast<int>(GetParam().fileLines.size()) + 1;
    EXPECT_EQ(lines.fileLine(past), past);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, FileLines,
    testing::Values(LinesCase{"NoEmptyLines", U"A\r\nB\r\nC", {1, 2, 3}},
                    LinesCase{"EmptyLinesBetween", U"A\r\n\r\n\r\nB\r\nC\r\n", {1, 4, 5}},
                    LinesCase{"EmptyLinesFirst", U"\n\nA\nB", {3, 4}},
                    LinesCase{"LoneCarriageReturns", U"A\r\rB\rC", {1, 3, 4}},
                    LinesCase{"MixedLineEnds", U"A\r\n\nB\r\rC\n", {1, 3, 5}},
                    LinesCase{"ALineOfBlanksIsKept", U"A\r\n   \r\nB", {1, 2, 3}}),
    testing::PrintToStringParamName());

TEST(FileLines, NameBothNumbersOnlyWhereTheyDiffer) {
    const SourceLines lines(U"A\r\n\r\nB");
    EXPECT_EQ(lines.name(1), "line 1");
    EXPECT_EQ(lines.name(2), "line 2 (line 3 of the file)");
}

/// A program with empty lines before its faulty line 3 (line 5 of the file).
const std::string spaced = test::program({
    "PROG    START",
    "",
    "        LD      GR1,A",
    "",
    "        LD      GR9,A",
    "        RET",
    "A       DC      1",
    "        END",
});

TEST(FileLines, AreNamedWhereAProgramDoesNotAssemble) {
    const ProgramResult r = test::checkSource(spaced, "[[case]]\nname = \"c\"\n");
    EXPECT_EQ(r.problem, "does not assemble (Assemble Error: 1); line 3 (line 5 of the file): "
                         "error 5 <GR>レジスタ");
    const ProgramResult errors = test::checkSource(
        spaced, "[[case]]\nname = \"c\"\nassembles = false\nerrors = { 3 = 4, 4 = 5 }\n");
    ASSERT_EQ(errors.cases[0].mismatches.size(), 2u);
    EXPECT_EQ(errors.cases[0].mismatches[0].place(), "errors on line 3 (line 5 of the file)");
    EXPECT_EQ(errors.cases[0].mismatches[1].place(), "errors on line 4 (line 6 of the file)");
}

/// Writes its input line twice, then the line "END".
const std::string twice = test::program({
    "PROG    START",
    "        IN      BUF,LEN",
    "        OUT     BUF,LEN",
    "        OUT     BUF,LEN",
    "        OUT     DONE,THREE",
    "        RET",
    "BUF     DS      80",
    "LEN     DS      1",
    "DONE    DC      'END'",
    "THREE   DC      3",
    "        END",
});

struct DifferenceCase {
    std::string name;
    std::string input;
    std::string expectedOutput; ///< a TOML string
    /// Where the output first differs, with the expected and actual excerpts.
    std::string at;
    std::string expected;
    std::string actual;
};

void PrintTo(const DifferenceCase& c, std::ostream* os) {
    *os << c.name;
}

class FirstDifferences : public testing::TestWithParam<DifferenceCase> {};

TEST_P(FirstDifferences, PointAtTheFirstCharacterThatDiffers) {
    const DifferenceCase& d = GetParam();
    const ProgramResult r =
        test::checkSource(twice, "[[case]]\nname = \"c\"\ninputs = [\"" + d.input +
                                     "\"]\nexpect.output = " + d.expectedOutput + "\n");
    ASSERT_EQ(test::mismatchNames(r.cases[0]), "output");
    const Mismatch& m = r.cases[0].mismatches[0];
    ASSERT_TRUE(m.firstDifference);
    EXPECT_EQ(m.firstDifference->at, d.at);
    EXPECT_EQ(m.firstDifference->expected, d.expected);
    EXPECT_EQ(m.firstDifference->actual, d.actual);
}

const std::string longLine = "THE QUICK BROWN FOX JUMPS OVER THE LAZY DOG AND RUNS AWAY";

INSTANTIATE_TEST_SUITE_P(
    Outputs, FirstDifferences,
    testing::Values(DifferenceCase{"InTheSecondLine", "HELLO", "[\"HELLO\", \"HELPO\", \"END\"]",
                                   "line 2, character 4", "\"HELPO\"", "\"HELLO\""},
                    DifferenceCase{"ALineTooFew", "AB", "[\"AB\", \"AB\"]", "line 3",
                                   "no line 3 (2 lines)", "\"END\""},
                    DifferenceCase{"ALineTooMany", "AB", "[\"AB\", \"AB\", \"END\", \"MORE\"]",
                                   "line 4", "\"MORE\"", "no line 4 (3 lines)"},
                    DifferenceCase{"ALongLineShowsAroundTheDifference", longLine,
                                   "[\"" + longLine +
                                       "\", \"THE QUICK BROWN FOX JUMPS OVER THE LAZY CAT\", "
                                       "\"END\"]",
                                   "line 2, character 41", "…\"S OVER THE LAZY CAT\"",
                                   "…\"S OVER THE LAZY DOG AND RUNS AWA\"…"}),
    testing::PrintToStringParamName());

TEST(FirstDifferences, AreLeftOutForShortOutputsOfOneLine) {
    const std::string once =
        test::program({"PROG    START", "        OUT     DONE,THREE", "        RET",
                       "DONE    DC      'END'", "THREE   DC      3", "        END"});
    const ProgramResult r =
        test::checkSource(once, "[[case]]\nname = \"c\"\nexpect.output = \"ENDS\"\n");
    ASSERT_EQ(test::mismatchNames(r.cases[0]), "output");
    EXPECT_FALSE(r.cases[0].mismatches[0].firstDifference);
}

TEST(CaseResults, CarryTheInputsOfTheCase) {
    const ProgramResult r =
        test::checkSource(twice, "[[case]]\nname = \"c\"\ninputs = [\"かな\", \"\"]\n");
    EXPECT_EQ(r.cases[0].inputs, (std::vector<std::string>{"かな", ""}));
}

TEST(ReferenceFaults, NoneWhenTheReferencePassesEveryCase) {
    const ProgramResult r = test::checkSource(
        twice, "[[case]]\nname = \"c\"\ninputs = [\"AB\"]\nexpect.output = [\"AB\", \"AB\", "
               "\"END\"]\nexpect.data.LEN = 2\n");
    EXPECT_EQ(referenceFaults(r), std::vector<std::string>{});
}

TEST(ReferenceFaults, NameTheCaseItFailsAndTheLabelItLacks) {
    const ProgramResult r = test::checkSource(twice, R"([[case]]
name = "right"
inputs = ["AB"]
expect.data.LEN = 2
[[case]]
name = "a typo in the output"
inputs = ["AB"]
expect.output = ["AB", "BA", "END"]
[[case]]
name = "a typo in a label"
inputs = ["AB"]
expect.data.LNE = 2
expect.data.LEN = 2
)");
    const std::vector<std::string> faults = referenceFaults(r);
    ASSERT_EQ(faults.size(), 2u);
    EXPECT_TRUE(faults[0].starts_with("case \"a typo in the output\": the reference prog.cas "
                                      "fails it: output"))
        << faults[0];
    EXPECT_EQ(faults[1], "case \"a typo in a label\": expect.data names the label LNE, which the "
                         "reference prog.cas has no DC or DS line for");
}

TEST(ReferenceFaults, AReferenceThatDoesNotAssembleIsOneFault) {
    const ProgramResult r =
        test::checkSource(spaced, "[[case]]\nname = \"a\"\n[[case]]\nname = \"b\"\n");
    EXPECT_EQ(
        referenceFaults(r),
        std::vector<std::string>{"the reference prog.cas does not assemble (Assemble "
                                 "Error: 1); line 3 (line 5 of the file): error 5 <GR>レジスタ"});
}

} // namespace
} // namespace casl::check
