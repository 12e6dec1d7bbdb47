#include "check_test_support.h"
#include "grading/run_ending.h"
#include "platform/text_codec.h"

#include <gtest/gtest.h>

namespace casl::check {
namespace {

struct EndingCase {
    std::string name;
    std::string source;
    /// Lines of the case after its name.
    std::string body;
    RunEnding ending;
};

void PrintTo(const EndingCase& c, std::ostream* os) {
    *os << c.name;
}

/// A TOML basic string of `text`.
std::string tomlString(std::u32string_view text) {
    std::string out = "\"";
    for (char c : platform::toUtf8(text)) {
        if (c == '\r') {
            out += "\\r";
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '"' || c == '\\') {
            out += std::string("\\") + c;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

class Ending : public testing::TestWithParam<EndingCase> {
protected:
    ProgramResult check(const std::string& expect) const {
        return test::checkSource(GetParam().source, "[[case]]\nname = \"c\"\n" + GetParam().body +
                                                        "\nexpect.ending = " + expect + "\n");
    }
};

TEST_P(Ending, IsNamedAndPassesItsNameAndText) {
    const std::string name(endingName(GetParam().ending));
    const ProgramResult byName = check("\"" + name + "\"");
    ASSERT_EQ(byName.cases.size(), 1u);
    EXPECT_TRUE(byName.cases[0].passed)
        << test::mismatchNames(byName.cases[0]) << ": " << test::failureOf(byName.cases[0]);
    EXPECT_EQ(byName.cases[0].ending, name);

    // The same run fails any other ending.
    const RunEnding other =
        GetParam().ending == RunEnding::ProgramEnd ? RunEnding::StepLimit : RunEnding::ProgramEnd;
    const ProgramResult wrong = check("\"" + std::string(endingName(other)) + "\"");
    EXPECT_EQ(test::mismatchNames(wrong.cases[0]), "ending");

    // A message's own text passes as well, in the CR LF form the box shows.
    const std::string message = byName.cases[0].endingMessage;
    if (!message.empty()) {
        std::u32string crlf;
        for (char32_t c : platform::fromUtf8(message)) {
            crlf += c == U'\n' ? U"\r\n" : std::u32string(1, c);
        }
        const ProgramResult byText = check(tomlString(crlf));
        EXPECT_TRUE(byText.cases[0].passed) << test::failureOf(byText.cases[0]);
    }
}

INSTANTIATE_TEST_SUITE_P(
    EveryEnding, Ending,
    testing::Values(
        EndingCase{"ProgramEnd", test::program({"P START", " RET", " END"}), "",
                   RunEnding::ProgramEnd},
        EndingCase{"StepLimit", test::program({"P START", "L JUMP L", " END"}), "max_steps = 300",
                   RunEnding::StepLimit},
        // A run that never ends and never waits for the budget: it stays on its DC line.
        EndingCase{"StepLimitOnData", test::program({"P START", "D DC 1", " END"}), "max_steps = 0",
                   RunEnding::StepLimit},
        EndingCase{
            "OutputLimit",
            test::program({"P START", "L OUT B,N", " JUMP L", "B DC 'AB'", "N DC 2", " END"}),
            "max_output = 40", RunEnding::OutputLimit},
        EndingCase{"StartAddress", test::program({"P START D", " RET", "D DS 1", " END"}), "",
                   RunEnding::StartAddress},
        EndingCase{"StackOverflow", test::program({"P START", "L PUSH 0", " JUMP L", " END"}), "",
                   RunEnding::StackOverflow},
        EndingCase{"StackUnderflow", test::program({"P START", " POP GR1", " RET", " END"}), "",
                   RunEnding::StackUnderflow},
        EndingCase{"NegativeShift", test::program({"P START", " SLL GR1,-1", " RET", " END"}), "",
                   RunEnding::NegativeShift},
        // The question about the code word is answered No, then the store is refused.
        EndingCase{"StoreIntoCode", test::program({"P START", " ST GR1,#0000", " RET", " END"}),
                   "answers = [\"no\"]", RunEnding::StoreIntoCode},
        EndingCase{"BranchTarget",
                   test::program({"P START", " LAD GR2,200", " JUMP 0,GR2", " RET", " END"}), "",
                   RunEnding::BranchTarget},
        EndingCase{"ReturnTarget", test::program({"P START", " PUSH 999", " RET", " END"}), "",
                   RunEnding::ReturnTarget},
        EndingCase{"OutsideProgramWarning",
                   test::program({"P START", " LD GR1,#0100", " RET", " END"}), "",
                   RunEnding::OutsideProgramWarning},
        // Yes (the default when no answer is left) to the question ends the run.
        EndingCase{"OutsideData", test::program({"P START", " LD GR1,#0000", " RET", " END"}), "",
                   RunEnding::OutsideData},
        EndingCase{
            "CodeArea",
            test::program({"P START", " LAD GR2,-5", " LD GR1,D,GR2", " RET", "D DC 1", " END"}),
            "answers = [\"yes\"]", RunEnding::CodeArea},
        EndingCase{"OutsideProgram", test::program({"P START", "L LD GR1,L", " RET", " END"}), "",
                   RunEnding::OutsideProgram}),
    testing::PrintToStringParamName());

TEST(Ending, EveryEndingHasItsOwnName) {
    for (RunEnding ending : allEndings) {
        EXPECT_EQ(endingByName(endingName(ending)), ending) << endingName(ending);
    }
}

TEST(Ending, ANoToTheQuestionLetsTheRunGoOn) {
    // No: the instruction loads the code word (the START line's first word) and the run ends
    // normally.
    const ProgramResult result = test::checkSource(
        test::program({"P START", " LD GR1,#0000", " RET", " END"}),
        "[[case]]\nname = \"c\"\nanswers = [\"no\"]\nexpect.ending = \"program-end\"\n");
    EXPECT_TRUE(result.cases[0].passed) << test::failureOf(result.cases[0]);
}

TEST(Ending, TheBudgetIsAnsweredAtTheStepQuestion) {
    // As with `casl2 run --max-steps`: Yes while fewer steps than the budget were counted; the
    // question comes every 101 steps.
    const ProgramResult result = test::checkSource(
        test::program({"P START", "L JUMP L", " END"}),
        "[[case]]\nname = \"c\"\nmax_steps = 150\nexpect.ending = \"step-limit\"\n");
    EXPECT_TRUE(result.cases[0].passed);
    EXPECT_EQ(result.cases[0].steps, 202);
}

TEST(Ending, AnEndlessLoopIsStoppedByTheDefaultBudget) {
    const ProgramResult result = test::checkSource(test::program({"P START", "L JUMP L", " END"}),
                                                   "[[case]]\nname = \"c\"\n");
    ASSERT_EQ(result.cases.size(), 1u);
    EXPECT_FALSE(result.cases[0].passed);
    EXPECT_EQ(result.cases[0].ending, "step-limit");
    EXPECT_GE(result.cases[0].steps, defaultMaxSteps);
    EXPECT_LE(result.cases[0].steps, defaultMaxSteps + 101);
}

} // namespace
} // namespace casl::check
