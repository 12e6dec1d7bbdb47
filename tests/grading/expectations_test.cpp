#include "check_test_support.h"

#include <gtest/gtest.h>

namespace casl::check {
namespace {

/// Reads a line, writes it back, and leaves known values behind: with the answer "ABC",
/// GR1 = 3, GR2 = 0 (ZF 1), GR7 = #1234, PR = #0010, SP = #0041, COPY = 3.
const std::string echo = test::program({
    "PROG    START",
    "        IN      BUF,LEN",
    "        OUT     BUF,LEN",
    "        LD      GR1,LEN",
    "        LAD     GR2,-1",
    "        LAD     GR7,#1234",
    "        ADDA    GR2,=1",
    "        ST      GR1,COPY",
    "        RET",
    "BUF     DS      10",
    "LEN     DS      1",
    "COPY    DS      1",
    "TABLE   DC      1,2,-1",
    "        END",
});

struct ExpectationCase {
    std::string name;
    /// The lines of a case after its name; the answer to IN is "ABC" unless they say else.
    std::string body;
    /// The mismatches expected, by "what"; empty when the case passes.
    std::string mismatches;
};

void PrintTo(const ExpectationCase& c, std::ostream* os) {
    *os << c.name;
}

class Expectation : public testing::TestWithParam<ExpectationCase> {};

TEST_P(Expectation, PassesOrNamesWhatDiffers) {
    const std::string toml = "[[case]]\nname = \"c\"\n" + GetParam().body + "\n";
    const ProgramResult result = test::checkSource(echo, toml);
    ASSERT_EQ(result.cases.size(), 1u);
    const CaseResult& c = result.cases[0];
    EXPECT_EQ(test::mismatchNames(c), GetParam().mismatches);
    EXPECT_EQ(c.passed, GetParam().mismatches.empty());
    EXPECT_EQ(c.problem, "");
}

INSTANTIATE_TEST_SUITE_P(
    EveryKind, Expectation,
    testing::Values(
        // Nothing stated: the run must end with Program終了.
        ExpectationCase{"EndsByDefault", "inputs = [\"ABC\"]", ""},
        ExpectationCase{"EndingByName", "inputs = [\"ABC\"]\nexpect.ending = \"program-end\"", ""},
        ExpectationCase{"EndingByText", "inputs = [\"ABC\"]\nexpect.ending = \"Program終了\"", ""},
        ExpectationCase{"EndingWrong", "inputs = [\"ABC\"]\nexpect.ending = \"stack-overflow\"",
                        "ending"},
        ExpectationCase{
            "EndingTextWrong",
            "inputs = [\"ABC\"]\nexpect.ending = \"Stack Overflow（スタックオーバーフロー）\"",
            "ending"},
        ExpectationCase{"Output", "inputs = [\"ABC\"]\nexpect.output = \"ABC\"", ""},
        ExpectationCase{"OutputAsLines", "inputs = [\"ABC\"]\nexpect.output = [\"ABC\"]", ""},
        ExpectationCase{"OutputWrong", "inputs = [\"ABC\"]\nexpect.output = \"ABD\"", "output"},
        ExpectationCase{"OutputOneLineTooMany", "inputs = [\"ABC\"]\nexpect.output = \"ABC\\n\\n\"",
                        "output"},
        // No input left: the box is cancelled, so the length is 0 and OUT writes an empty line.
        ExpectationCase{"CancelledInput", "expect = { output = [\"\"], GR1 = 0 }", ""},
        ExpectationCase{"NoOutputIsNotAnEmptyLine", "expect.output = []", "output"},
        ExpectationCase{
            "Registers",
            "inputs = [\"ABC\"]\nexpect = { GR0 = 0, GR1 = 3, GR2 = 0, GR7 = \"#1234\" }", ""},
        ExpectationCase{"RegisterInDecimal", "inputs = [\"ABC\"]\nexpect.GR7 = 4660", ""},
        ExpectationCase{"RegisterWrong", "inputs = [\"ABC\"]\nexpect = { GR1 = 4, GR7 = 1234 }",
                        "GR1, GR7"},
        ExpectationCase{"Flags", "inputs = [\"ABC\"]\nexpect = { OF = 0, SF = 0, ZF = 1 }", ""},
        ExpectationCase{"FlagsAsBooleans",
                        "inputs = [\"ABC\"]\nexpect = { OF = false, SF = false, ZF = true }", ""},
        ExpectationCase{"FlagsWrong", "inputs = [\"ABC\"]\nexpect = { OF = 1, SF = 1, ZF = 0 }",
                        "OF, SF, ZF"},
        ExpectationCase{"ProgramRegister", "inputs = [\"ABC\"]\nexpect.PR = \"#0010\"", ""},
        ExpectationCase{"ProgramRegisterWrong", "inputs = [\"ABC\"]\nexpect.PR = 14", "PR"},
        ExpectationCase{"StackPointer", "inputs = [\"ABC\"]\nexpect.SP = 65", ""},
        ExpectationCase{"StackPointerWrong", "inputs = [\"ABC\"]\nexpect.SP = \"#0040\"", "SP"},
        ExpectationCase{"DataWord",
                        "inputs = [\"ABC\"]\nexpect.data = { LEN = 3, COPY = \"#0003\" }", ""},
        ExpectationCase{"DataWordWrong", "inputs = [\"ABC\"]\nexpect.data = { COPY = 4 }",
                        "data COPY"},
        // -1, 65535 and #FFFF are one word.
        ExpectationCase{"DataList", "inputs = [\"ABC\"]\nexpect.data.TABLE = [1, 2, 65535]", ""},
        ExpectationCase{"DataListHex", "inputs = [\"ABC\"]\nexpect.data.TABLE = [1, 2, \"#FFFF\"]",
                        ""},
        ExpectationCase{"DataListWrong", "inputs = [\"ABC\"]\nexpect.data.TABLE = [1, 3, -1]",
                        "data TABLE+1"},
        // The words after TABLE: the literal =1, then the end of the data words.
        ExpectationCase{"DataListIntoTheNextWords",
                        "inputs = [\"ABC\"]\nexpect.data.TABLE = [1, 2, -1, 1]", ""},
        ExpectationCase{"DataListPastTheEnd",
                        "inputs = [\"ABC\"]\nexpect.data.TABLE = [1, 2, -1, 1, 0]", "data TABLE+4"},
        ExpectationCase{"DataText", "inputs = [\"ABC\"]\nexpect.data.BUF = \"ABC\"", ""},
        ExpectationCase{"DataTextTable", "inputs = [\"ABC\"]\nexpect.data.BUF = { text = \"AB\" }",
                        ""},
        ExpectationCase{"DataTextWrong", "inputs = [\"ABC\"]\nexpect.data.BUF = \"ABD\"",
                        "data BUF"},
        ExpectationCase{"DataTextJapanese", "inputs = [\"あ\"]\nexpect.data.BUF = \"あ\"", ""},
        ExpectationCase{"DataNoSuchLabel", "inputs = [\"ABC\"]\nexpect.data.NONE = 0", "data NONE"},
        // Every kind at once, each wrong: all are reported, in a fixed order.
        ExpectationCase{
            "EverythingWrong",
            "inputs = [\"ABC\"]\n[case.expect]\nending = \"step-limit\"\noutput = \"x\"\n"
            "GR3 = 1\nPR = 0\nSP = 0\nOF = 1\nSF = 1\nZF = 0\ndata = { LEN = 0 }",
            "ending, output, GR3, PR, SP, OF, SF, ZF, data LEN"}),
    testing::PrintToStringParamName());

TEST(Expectation, ShowsExpectedAndActualSideBySide) {
    const ProgramResult result = test::checkSource(
        echo,
        "[[case]]\nname = \"c\"\ninputs = [\"ABC\"]\n"
        "expect = { GR1 = 65535, output = \"AB\", data = { BUF = \"AX\", TABLE = [1, 5] } }\n");
    ASSERT_EQ(result.cases.size(), 1u);
    const auto& m = result.cases[0].mismatches;
    ASSERT_EQ(m.size(), 4u);
    EXPECT_EQ(m[0].what, "output");
    EXPECT_EQ(m[0].expected, "\"AB\"");
    EXPECT_EQ(m[0].actual, "\"ABC\"");
    EXPECT_EQ(m[1].expected, "65535 (#FFFF)");
    EXPECT_EQ(m[1].actual, "3 (#0003)");
    EXPECT_EQ(m[2].expected, "\"AX\"");
    EXPECT_EQ(m[2].actual, "\"AB\"");
    EXPECT_EQ(m[3].what, "data TABLE+1");
    EXPECT_EQ(m[3].expected, "5 (#0005)");
    EXPECT_EQ(m[3].actual, "2 (#0002)");
}

TEST(Expectation, EveryCaseStartsFromTheDataAsAssembled) {
    // Each case counts once in COUNT; a case that found the store of the one before would
    // count 2.
    const std::string counter = test::program({
        "PROG    START",
        "        LD      GR1,COUNT",
        "        LAD     GR1,1,GR1",
        "        ST      GR1,COUNT",
        "        RET",
        "COUNT   DC      0",
        "        END",
    });
    const ProgramResult result = test::checkSource(counter, R"(
[[case]]
name = "first"
expect = { GR1 = 1, data.COUNT = 1 }
[[case]]
name = "second"
expect = { GR1 = 1, data.COUNT = 1 }
)");
    ASSERT_EQ(result.cases.size(), 2u);
    EXPECT_TRUE(result.cases[0].passed) << test::mismatchNames(result.cases[0]);
    EXPECT_TRUE(result.cases[1].passed) << test::mismatchNames(result.cases[1]);
}

TEST(Expectation, InputsAreGivenInOrder) {
    const std::string twice = test::program({
        "PROG    START",
        "        IN      A,N",
        "        IN      B,M",
        "        OUT     B,M",
        "        OUT     A,N",
        "        RET",
        "A       DS      5",
        "N       DS      1",
        "B       DS      5",
        "M       DS      1",
        "        END",
    });
    const ProgramResult result = test::checkSource(
        twice,
        "[[case]]\nname = \"c\"\ninputs = [\"ONE\", \"TWO\"]\nexpect.output = \"TWO\\nONE\"\n");
    EXPECT_TRUE(result.cases[0].passed) << test::mismatchNames(result.cases[0]);
    EXPECT_EQ(result.cases[0].output, "TWO\nONE\n");
}

} // namespace
} // namespace casl::check
