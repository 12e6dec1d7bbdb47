// Next until a box: the run passes its waits without showing them until a box opens, and then
// stands exactly where Next at every wait would have brought it.
#include "traced_program.h"

#include <deque>
#include <gtest/gtest.h>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace casl::test {
namespace {

struct UntilBoxCase {
    std::string name;
    std::vector<std::u32string_view> lines;
    int breakpointLine = 0;
    /// The answers of the questions (Yes when they run out) and of the `IN` boxes.
    std::deque<MessageAnswer> answers;
    std::deque<std::optional<std::u32string>> inputs;
};

void PrintTo(const UntilBoxCase& c, std::ostream* os) {
    *os << c.name;
}

const std::vector<std::u32string_view> countingLoop = {
    U"P       START", U"L       LAD     GR1,1,GR1", U"        JUMP    L", U"        RET",
    U"        END"};

int boxes(TracedProgram& p) {
    const ScriptedHost& host = p.host();
    return host.count(HostEvent::Message) + host.count(HostEvent::Input);
}

class NextUntilBox : public testing::TestWithParam<UntilBoxCase> {};

TEST_P(NextUntilBox, StandsWhereNextAtEveryWaitWouldHaveBroughtTheRun) {
    const UntilBoxCase& c = GetParam();
    const auto make = [&] {
        auto p = std::make_unique<TracedProgram>(c.lines,
                                                 TraceOptions{.breakpointLine = c.breakpointLine});
        p->host().answers = c.answers;
        p->host().inputs = c.inputs;
        p->session().start();
        return p;
    };
    const auto passing = make();
    const auto stepping = make();
    int rounds = 0;
    for (; rounds < 8 && !stepping->session().ended(); ++rounds) {
        SCOPED_TRACE("round " + std::to_string(rounds));
        ASSERT_TRUE(passing->session().waiting());
        const int before = boxes(*stepping);
        passing->session().nextUntilBox();
        do {
            stepping->session().next();
        } while (stepping->session().waiting() && boxes(*stepping) == before);

        EXPECT_EQ(passing->session().state(), stepping->session().state());
        EXPECT_EQ(passing->session().ending(), stepping->session().ending());
        EXPECT_EQ(passing->session().countedSteps(), stepping->session().countedSteps());
        EXPECT_EQ(passing->session().stepCount(), stepping->session().stepCount());
        EXPECT_EQ(passing->session().stepsBack(), stepping->session().stepsBack());
        EXPECT_TRUE(passing->machine() == stepping->machine());
        EXPECT_TRUE(passing->session().displays().texts() ==
                    stepping->session().displays().texts());
        EXPECT_TRUE(passing->shown() == stepping->shown());
        ASSERT_EQ(passing->messages().size(), stepping->messages().size());
        for (std::size_t m = 0; m < passing->messages().size(); ++m) {
            EXPECT_EQ(passing->messages()[m].text, stepping->messages()[m].text);
        }
    }
    EXPECT_GT(rounds, 0);
    // The start's wait and one after every box; the run passed the others unseen.
    EXPECT_LE(passing->host().waits.size(), static_cast<std::size_t>(rounds) + 1);
}

INSTANTIATE_TEST_SUITE_P(
    Programs, NextUntilBox,
    testing::Values(
        UntilBoxCase{"StepQuestionsOfAnEndlessLoop", countingLoop, 0, {}, {}},
        UntilBoxCase{"StepQuestionNoEndsTheRun",
                     countingLoop,
                     0,
                     {MessageAnswer::Yes, MessageAnswer::No},
                     {}},
        UntilBoxCase{"PassesTheBreakpointsWaitsToo", countingLoop, 3, {}, {}},
        UntilBoxCase{"InAndOutBoxes",
                     {U"P       START", U"L       IN      BUF,LEN", U"        OUT     BUF,LEN",
                      U"        LAD     GR1,1,GR1", U"        CPA     GR1,=3", U"        JMI     L",
                      U"        RET", U"BUF     DS      4", U"LEN     DS      1", U"        END"},
                     0,
                     {},
                     {U"AB", std::nullopt, U"XYZ"}},
        UntilBoxCase{"OperandQuestionsAnsweredBothWays",
                     {U"P       START", U"        LAD     GR2,0", U"L       LD      GR1,#0100",
                      U"        LAD     GR2,1,GR2", U"        JUMP    L", U"        END"},
                     0,
                     {MessageAnswer::Yes, MessageAnswer::No, MessageAnswer::Yes},
                     {}},
        UntilBoxCase{"ARunThatEndsByItself",
                     {U"P       START", U"        LAD     GR1,5", U"        RET", U"        END"},
                     0,
                     {},
                     {}}),
    testing::PrintToStringParamName());

TEST(NextUntilBoxOutsideAWait, DoesNothing) {
    TracedProgram p(countingLoop);
    p.session().nextUntilBox();
    EXPECT_EQ(p.session().state(), TraceState::NotStarted);
    p.session().start();
    p.session().end();
    p.session().nextUntilBox();
    EXPECT_EQ(p.session().ending(), TraceEnding::EndButton);
    EXPECT_EQ(p.session().countedSteps(), 0);
}

} // namespace
} // namespace casl::test
