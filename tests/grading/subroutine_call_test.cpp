// Cases that call a subroutine: the run starts on its label with the case's registers, its RET
// ends the run, and `preserves` compares registers with their values at the call.
#include "check_test_support.h"

#include <gtest/gtest.h>

namespace casl::check {
namespace {

/// GR0 = GR1 + GR2, keeping every other register.
const std::string keeps = test::program({
    "PROG    START",
    "        LAD     GR0,99",
    "        RET",
    "SUM     LD      GR0,GR1",
    "        ADDA    GR0,GR2",
    "        RET",
    "        END",
});

/// The same sum, worked out in GR2 and so losing the caller's GR2.
const std::string clobbers = test::program({
    "PROG    START",
    "        LAD     GR0,99",
    "        RET",
    "SUM     ADDA    GR2,GR1",
    "        LD      GR0,GR2",
    "        RET",
    "        END",
});

/// Keeps GR2 by saving it on the stack around its work, calling a helper on the way.
const std::string saves = test::program({
    "PROG    START",
    "        RET",
    "SUM     PUSH    0,GR2",
    "        CALL    ADD",
    "        LD      GR0,GR2",
    "        POP     GR2",
    "        RET",
    "ADD     ADDA    GR2,GR1",
    "        RET",
    "        END",
});

struct CallCase {
    std::string name;
    std::string program;
    /// The lines of a case after its name.
    std::string body;
    /// The mismatches expected, by "what"; empty when the case passes.
    std::string mismatches;
    std::string problem;
};

void PrintTo(const CallCase& c, std::ostream* os) {
    *os << c.name;
}

class SubroutineCall : public testing::TestWithParam<CallCase> {};

TEST_P(SubroutineCall, StartsAtTheLabelAndComparesWhatItKept) {
    const CallCase& c = GetParam();
    const ProgramResult result =
        test::checkSource(c.program, "[[case]]\nname = \"c\"\n" + c.body + "\n");
    ASSERT_EQ(result.cases.size(), 1u);
    const CaseResult& r = result.cases[0];
    EXPECT_EQ(test::mismatchNames(r), c.mismatches) << test::failureOf(r);
    EXPECT_EQ(r.problem, c.problem);
    EXPECT_EQ(r.passed, c.mismatches.empty() && c.problem.empty());
}

const std::string sumCall = "call = \"SUM\"\nregisters = { GR1 = 3, GR2 = \"#0004\", GR7 = -1 }\n"
                            "preserves = [\"GR1\", \"GR2\", \"GR7\"]\nexpect.GR0 = 7\n";

INSTANTIATE_TEST_SUITE_P(
    Programs, SubroutineCall,
    testing::Values(
        CallCase{"KeepsEveryRegister", keeps, sumCall, "", ""},
        CallCase{"LosesGR2", clobbers, sumCall, "GR2 kept from the call", ""},
        CallCase{"SavesGR2OnTheStack", saves, sumCall, "", ""},
        // Its RET finds the stack empty: the run ends as the main program's would, after the
        // subroutine's three steps.
        CallCase{"EndsAtItsReturn", keeps, sumCall + "expect.ending = \"program-end\"", "", ""},
        CallCase{"RegistersNotGivenAreZero", keeps,
                 "call = \"SUM\"\nregisters = { GR1 = 5 }\nexpect.GR0 = 5", "", ""},
        CallCase{"WithoutACallTheProgramRunsFromItsStart", keeps, "expect.GR0 = 99", "", ""},
        CallCase{"ALabelNoLineHas", keeps, "call = \"SUMS\"\nexpect.GR0 = 7", "",
                 "no line has the label SUMS of the subroutine to call"}),
    testing::PrintToStringParamName());

TEST(SubroutineCall, AWrongValueOfAKeptRegisterSaysBothValues) {
    const ProgramResult result = test::checkSource(clobbers, "[[case]]\nname = \"c\"\n" + sumCall);
    ASSERT_EQ(result.cases[0].mismatches.size(), 1u);
    const Mismatch& m = result.cases[0].mismatches[0];
    EXPECT_EQ(m.expected, "4 (#0004)");
    EXPECT_EQ(m.actual, "7 (#0007)");
}

} // namespace
} // namespace casl::check
