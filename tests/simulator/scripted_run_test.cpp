// The run without a window that casl2 run and casl2 check share: answers by purpose, the step
// budget, the buttons of a script, and the bounds that stop a run.
#include "assembler/assembler.h"
#include "simulator/scripted_run.h"
#include "simulator/trace_session.h"

#include <gtest/gtest.h>
#include <memory>
#include <vector>

namespace casl {
namespace {

/// Records what the run showed.
class Recorder : public RunWatcher {
public:
    std::vector<RunBox> boxes;
    std::vector<BoxAnswer> answers;
    int waits = 0;

    void showDisplays(const TraceDisplays&, bool waiting) override { waits += waiting ? 1 : 0; }
    void boxAnswered(const RunBox& box, const BoxAnswer& answer) override {
        boxes.push_back(box);
        answers.push_back(answer);
    }
};

struct Outcome {
    TraceEnding ending = TraceEnding::None;
    RunStop stop = RunStop::None;
    std::int64_t steps = 0;
    MachineState machine;
    Recorder seen;
};

/// Runs `lines` with `script` within `limits`.
std::unique_ptr<Outcome> run(std::initializer_list<std::u32string_view> lines, RunScript script,
                             RunBounds::Limits limits = {}, int breakpoint = 0) {
    std::u32string source;
    for (std::u32string_view line : lines) {
        source.append(line);
        source.append(U"\r\n");
    }
    auto tables = std::make_unique<ProgramTables>();
    const AssemblyResult assembly = assemble(source, *tables);
    EXPECT_TRUE(assembly.success);
    auto outcome = std::make_unique<Outcome>();
    RunBounds bounds(limits);
    ScriptedRun driver(std::move(script), bounds, &outcome->seen);
    TraceSession session(*tables, outcome->machine, assembly.infoText,
                         TraceOptions{breakpoint, false, TraceOptions::defaultHistoryBytes},
                         driver);
    driver.drive(session);
    EXPECT_TRUE(session.ended());
    outcome->ending = session.ending();
    outcome->stop = bounds.reached();
    outcome->steps = session.countedSteps();
    return outcome;
}

const std::initializer_list<std::u32string_view> echoTwice = {
    U"P       START",           U"        IN      BUF,LEN", U"        OUT     BUF,LEN",
    U"        IN      BUF,LEN", U"        OUT     BUF,LEN", U"        RET",
    U"BUF     DS      8",       U"LEN     DS      1",       U"        END"};

const std::initializer_list<std::u32string_view> endlessLoop = {
    U"P       START", U"L       LAD     GR1,1,GR1", U"        JUMP    L", U"        RET",
    U"        END"};

const std::initializer_list<std::u32string_view> printingLoop = {
    U"P       START",           U"L       OUT     M,N", U"        JUMP    L",
    U"M       DC      'HELLO'", U"N       DC      5",   U"        END"};

TEST(ScriptedRun, AnswersTheInputBoxesInOrderAndCancelsWhenTheyRunOut) {
    const auto o = run(echoTwice, RunScript{{U"AB"}, {}, defaultMaxSteps, {}});
    EXPECT_EQ(o->ending, TraceEnding::ProgramEnded);
    EXPECT_EQ(o->machine.outputText, U"\r\nAB\r\n");
    ASSERT_EQ(o->seen.boxes.size(), 5u);
    EXPECT_EQ(o->seen.boxes[0].purpose, RunBox::Purpose::Input);
    EXPECT_EQ(o->seen.answers[0].input, U"AB");
    EXPECT_EQ(o->seen.boxes[2].purpose, RunBox::Purpose::Input);
    EXPECT_EQ(o->seen.answers[2].input, std::nullopt);
    EXPECT_EQ(o->seen.boxes[4].purpose, RunBox::Purpose::Message);
    EXPECT_EQ(o->seen.waits, 5);
}

TEST(ScriptedRun, AnswersTheOperandQuestionsInOrderThenYes) {
    // Each LD reads a code word through a number and asks.
    const auto no = run({U"P       START", U"        LD      GR1,1", U"        LD      GR2,1",
                         U"        RET", U"        END"},
                        RunScript{{}, {false}, defaultMaxSteps, {}});
    ASSERT_EQ(no->seen.boxes.size(), 2u);
    EXPECT_EQ(no->seen.boxes[0].purpose, RunBox::Purpose::OperandQuestion);
    EXPECT_EQ(no->seen.answers[0].button, MessageAnswer::No);
    EXPECT_EQ(no->seen.boxes[1].purpose, RunBox::Purpose::OperandQuestion);
    EXPECT_EQ(no->seen.answers[1].button, MessageAnswer::Yes);
    EXPECT_EQ(no->ending, TraceEnding::RuntimeMessage);
}

struct BudgetCase {
    std::string name;
    std::int64_t maxSteps;
    std::int64_t steps;
};

void PrintTo(const BudgetCase& c, std::ostream* os) {
    *os << c.name;
}

class StepBudget : public testing::TestWithParam<BudgetCase> {};

TEST_P(StepBudget, EndsTheRunAtTheFirstQuestionPastIt) {
    const auto o = run(endlessLoop, RunScript{{}, {}, GetParam().maxSteps, {}});
    EXPECT_EQ(o->ending, TraceEnding::StepQuestion);
    EXPECT_EQ(o->stop, RunStop::None);
    EXPECT_EQ(o->steps, GetParam().steps);
    // Only the question answered No is told.
    ASSERT_EQ(o->seen.boxes.size(), 1u);
    EXPECT_EQ(o->seen.boxes[0].purpose, RunBox::Purpose::StepQuestion);
    EXPECT_EQ(o->seen.answers[0].button, MessageAnswer::No);
}

INSTANTIATE_TEST_SUITE_P(Budgets, StepBudget,
                         testing::Values(BudgetCase{"None", 0, 101},
                                         BudgetCase{"OneQuestion", 101, 101},
                                         BudgetCase{"JustPastAQuestion", 102, 202},
                                         BudgetCase{"TenQuestions", 1000, 1010}),
                         testing::PrintToStringParamName());

TEST(ScriptedRun, PressesTheScriptsButtonsThenNext) {
    const auto ended =
        run(endlessLoop, RunScript{{}, {}, defaultMaxSteps, {Press::Next, Press::End}});
    EXPECT_EQ(ended->ending, TraceEnding::EndButton);
    EXPECT_EQ(ended->seen.waits, 2);
    EXPECT_EQ(ended->machine.generalRegisters[1], 1);
    const auto back =
        run(endlessLoop, RunScript{{}, {}, 202, {Press::Next, Press::Next, Press::Back}});
    EXPECT_EQ(back->ending, TraceEnding::StepQuestion);
    // One step was undone and done again.
    EXPECT_EQ(back->steps, 202);
}

TEST(ScriptedRun, StopsAtAWaitOnceTheOutTextPassesItsBound) {
    const auto o = run(printingLoop, RunScript{{}, {}, maxStepsBound, {}}, {20, {}, {}});
    EXPECT_EQ(o->stop, RunStop::OutputBound);
    EXPECT_EQ(o->ending, TraceEnding::EndButton);
    // Three OUTs of seven characters each pass 20.
    EXPECT_EQ(o->machine.outputText.size(), 21u);
}

TEST(ScriptedRun, StopsOnceItsTimeIsUp) {
    const auto waiting = run(endlessLoop, RunScript{{}, {}, maxStepsBound, {}}, {{}, {}, 0.0});
    EXPECT_EQ(waiting->stop, RunStop::TimeLimit);
    EXPECT_EQ(waiting->ending, TraceEnding::EndButton);
    // Running on towards a breakpoint that never comes, the step question stops it, silently.
    const auto runningOn = run(endlessLoop, RunScript{{}, {}, maxStepsBound, {}}, {{}, {}, 0.0}, 4);
    EXPECT_EQ(runningOn->stop, RunStop::TimeLimit);
    EXPECT_EQ(runningOn->ending, TraceEnding::StepQuestion);
    EXPECT_EQ(runningOn->steps, 101);
    EXPECT_TRUE(runningOn->seen.boxes.empty());
}

TEST(RunBounds, CountsThePrintedBytesAndStaysStopped) {
    RunBounds bounds({{}, 10, {}});
    EXPECT_TRUE(bounds.mayPrint(6));
    EXPECT_TRUE(bounds.mayPrint(4));
    EXPECT_FALSE(bounds.mayPrint(1));
    EXPECT_EQ(bounds.reached(), RunStop::OutputBound);
    EXPECT_FALSE(bounds.mayPrint(0));
    bounds.outputLost();
    EXPECT_EQ(bounds.reached(), RunStop::OutputBound);
    RunBounds lost({{}, {}, {}});
    lost.outputLost();
    EXPECT_FALSE(lost.mayPrint(1));
    EXPECT_EQ(lost.stop(MachineState{}), RunStop::OutputLost);
}

} // namespace
} // namespace casl
