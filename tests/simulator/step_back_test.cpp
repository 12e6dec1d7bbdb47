// Stepping back: every step undone gives back exactly the state and the display texts that the
// run had after the step before it.
#include "platform/text_codec.h"
#include "simulator/run_messages.h"
#include "traced_program.h"

#include <gtest/gtest.h>
#include <ostream>

namespace casl::test {
namespace {

/// Everything a step may change, for comparing two moments of a run.
struct RunState {
    DisplayTexts texts;
    MachineState machine;
    std::vector<std::int32_t> dataValues;
    std::int32_t stepCount = 0;
    std::int64_t countedSteps = 0;

    friend bool operator==(const RunState&, const RunState&) = default;
};

RunState stateOf(TracedProgram& p) {
    RunState s{p.session().displays().texts(),
               p.machine(),
               {},
               p.session().stepCount(),
               p.session().countedSteps()};
    for (int w = 1; w < p.tables().dataWordCounter; ++w) {
        s.dataValues.push_back(p.tables().dataWords[static_cast<std::size_t>(w)][dataValueColumn]);
    }
    return s;
}

/// Answers every question the same way and every input box with the same text, however often
/// a step is executed again.
void answerAlike(TracedProgram& p, MessageAnswer question, std::u32string input) {
    p.host().answers.assign(1000, question);
    p.host().inputs.assign(1000, std::optional<std::u32string>(std::move(input)));
}

struct StepKind {
    const char* name;
    std::vector<std::u32string_view> lines;
    /// The answer to the questions about operands.
    MessageAnswer question = MessageAnswer::No;
};

void PrintTo(const StepKind& kind, std::ostream* out) {
    *out << kind.name;
}

TracedProgram tracedProgram(const StepKind& kind, TraceOptions options = {}) {
    std::u32string source;
    for (std::u32string_view line : kind.lines) {
        source.append(line).append(U"\r\n");
    }
    auto tables = std::make_unique<ProgramTables>();
    const AssemblyResult result = assemble(source, *tables);
    EXPECT_TRUE(result.success) << platform::toUtf8(result.listingWindowText);
    return TracedProgram(std::move(tables), result.infoText, options);
}

class StepBack : public ::testing::TestWithParam<StepKind> {};

TEST_P(StepBack, EveryStepUndoneGivesBackTheStateBeforeIt) {
    // Walk forward to the last wait, noting every wait; then walk back to the first.
    TracedProgram counting = tracedProgram(GetParam());
    answerAlike(counting, GetParam().question, U"Hi");
    counting.run();
    const std::size_t waits = counting.host().waits.size();
    ASSERT_GE(waits, 2u);

    TracedProgram p = tracedProgram(GetParam());
    answerAlike(p, GetParam().question, U"Hi");
    p.session().start();
    std::vector<RunState> seen{stateOf(p)};
    for (std::size_t i = 1; i < waits; ++i) {
        ASSERT_TRUE(p.session().waiting());
        p.session().next();
        seen.push_back(stateOf(p));
    }
    EXPECT_EQ(p.session().stepsBack(), waits - 1);
    for (std::size_t i = waits - 1; i-- > 0;) {
        p.session().back();
        ASSERT_TRUE(p.session().waiting());
        EXPECT_EQ(stateOf(p), seen[i]) << "after stepping back to wait " << i + 1;
        EXPECT_EQ(p.host().shown, seen[i].texts) << "shown at wait " << i + 1;
    }
    EXPECT_EQ(p.session().stepsBack(), 0u);
    p.session().back();
    EXPECT_EQ(stateOf(p), seen.front());

    // Forward again from the first wait reaches the same end.
    while (p.session().waiting()) {
        p.session().next();
    }
    EXPECT_EQ(p.session().ending(), counting.session().ending());
    EXPECT_EQ(p.machine().generalRegisters, counting.machine().generalRegisters);
    EXPECT_EQ(p.machine().outputText, counting.machine().outputText);
    EXPECT_EQ(p.shown(), counting.shown());
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, StepBack,
    ::testing::Values(
        StepKind{"Arithmetic",
                 {U"P       START", U"        LAD     GR1,32767", U"        LAD     GR2,1",
                  U"        ADDA    GR1,GR2", U"        SUBL    GR2,ONE", U"        SLA     GR1,1",
                  U"        RET", U"ONE     DC      1", U"        END"}},
        StepKind{"Store",
                 {U"P       START", U"        LAD     GR1,7", U"        ST      GR1,A",
                  U"        ST      GR1,B,GR1", U"        RET", U"A       DS      10",
                  U"B       DC      5", U"        END"}},
        StepKind{"Jumps",
                 {U"P       START", U"        LAD     GR1,2", U"L       SUBA    GR1,ONE",
                  U"        JNZ     L", U"        JZE     E", U"E       RET", U"ONE     DC      1",
                  U"        END"}},
        StepKind{"CallAndReturn",
                 {U"P       START", U"        CALL    S", U"        CALL    S", U"        RET",
                  U"S       LAD     GR1,1,GR1", U"        RET", U"        END"}},
        StepKind{"PushAndPop",
                 {U"P       START", U"        PUSH    5", U"        PUSH    6,GR1",
                  U"        POP     GR2", U"        POP     GR3", U"        RET", U"        END"}},
        StepKind{"RegisterPushAndPop",
                 {U"P       START", U"        LAD     GR3,3", U"        RPUSH",
                  U"        LAD     GR3,0", U"        RPOP", U"        RET", U"        END"}},
        StepKind{"InAndOut",
                 {U"P       START", U"        IN      BUF,LEN", U"        OUT     BUF,LEN",
                  U"        IN      BUF,LEN", U"        OUT     BUF,LEN", U"        RET",
                  U"BUF     DS      4", U"LEN     DS      1", U"        END"}},
        StepKind{"NumberOnACodeWordAnsweredNo",
                 {U"P       START", U"        LAD     GR2,5", U"        LD      GR1,#0002",
                  U"        ADDA    GR1,#0003", U"        RET", U"        END"}},
        StepKind{"LabelIntoTheCodeAnsweredNo",
                 {U"P       START", U"        LD      GR2,M", U"        LD      GR1,A,GR2",
                  U"        RET", U"A       DC      1", U"M       DC      -5", U"        END"}},
        StepKind{"StartWithAnOperand",
                 {U"P       START   B", U"A       DC      3", U"B       LD      GR1,A",
                  U"        RET", U"        END"}}),
    [](const ::testing::TestParamInfo<StepKind>& info) { return std::string(info.param.name); });

TracedProgram countingLoop(TraceOptions options) {
    return TracedProgram({U"P       START", U"L       LAD     GR1,1,GR1", U"        ST      GR1,C",
                          U"        CPA     GR1,TEN", U"        JNZ     L", U"        RET",
                          U"C       DS      1", U"TEN     DC      10", U"        END"},
                         options);
}

TEST(StepBack, WalksBackThroughTheStepsRunOnTowardsTheBreakpoint) {
    TracedProgram single = countingLoop({});
    single.run();
    // With the breakpoint on the JNZ line the run goes on by itself through START, LAD, ST and
    // CPA and waits after the JNZ: the fifth step.
    TracedProgram p = countingLoop(TraceOptions{5, false});
    p.session().start();
    ASSERT_TRUE(p.session().waiting());
    EXPECT_EQ(p.shown(), single.host().waits[4]);
    EXPECT_EQ(p.session().stepsBack(), 4u);
    for (std::size_t i = 4; i-- > 0;) {
        p.session().back();
        EXPECT_EQ(p.shown(), single.host().waits[i]) << "wait " << i + 1;
    }
    EXPECT_EQ(p.data(U"C"), 0);
    // Next from the first step runs on to the breakpoint again.
    p.session().next();
    EXPECT_EQ(p.shown(), single.host().waits[4]);
}

TEST(StepBack, NextAfterBackExecutesAgainAndAsksAgain) {
    TracedProgram p({U"P       START", U"        IN      BUF,LEN", U"        LAD     GR1,1",
                     U"        RET", U"BUF     DS      4", U"LEN     DS      1", U"        END"});
    p.host().inputs = {U"AB", U"XYZ"};
    p.session().start();
    p.session().next(); // IN
    p.session().next(); // LAD
    EXPECT_EQ(p.data(U"LEN"), 2);
    p.session().back();
    p.session().back();
    EXPECT_EQ(p.data(U"LEN"), 0);
    EXPECT_EQ(p.session().stepsBack(), 0u);
    p.session().next();
    EXPECT_EQ(p.host().count(HostEvent::Input), 2);
    EXPECT_EQ(p.data(U"LEN"), 3);
    // The step that had followed was dropped: only the IN step can be undone now.
    EXPECT_EQ(p.session().stepsBack(), 1u);
}

TEST(StepBack, AStepThatAnsweredAQuestionIsAPlaceToStepBackTo) {
    // The LD asks about the code word and goes on without waiting or counting after the No.
    TracedProgram p({U"P       START", U"        LAD     GR2,5", U"        LD      GR1,#0002",
                     U"        LAD     GR3,1", U"        RET", U"        END"});
    answerAlike(p, MessageAnswer::No, U"");
    p.session().start();
    p.session().next();
    const RunState beforeLd = stateOf(p);
    p.session().next();
    const RunState afterLad = stateOf(p);
    EXPECT_EQ(p.host().waits.size(), 3u);
    EXPECT_EQ(p.session().stepsBack(), 3u);
    EXPECT_EQ(afterLad.stepCount, 2);

    p.session().back();
    ASSERT_TRUE(p.session().waiting());
    // #0002 is the first word of the LAD at 2, #1220.
    EXPECT_EQ(p.gr(1), 0x1220);
    EXPECT_EQ(p.gr(3), 0);
    EXPECT_NE(p.shown().listing.find(U">>>>>> \t          LD      GR1,#0002"),
              std::u32string::npos);
    // Next from there executes the LAD without counting the LD's step.
    p.session().next();
    EXPECT_EQ(stateOf(p), afterLad);
    p.session().back();
    p.session().back();
    EXPECT_EQ(stateOf(p), beforeLd);
}

TEST(StepBack, TheStepCountComesBackWithTheStep) {
    TracedProgram p = countingLoop({});
    p.session().start();
    for (int i = 0; i < 5; ++i) {
        p.session().next();
    }
    EXPECT_EQ(p.session().stepCount(), 5);
    p.session().back();
    p.session().back();
    EXPECT_EQ(p.session().stepCount(), 3);
    EXPECT_EQ(p.session().countedSteps(), 3);
}

TEST(StepBack, OnlyAWaitingRunStepsBack) {
    TracedProgram p({U"P       START", U"        LAD     GR1,1", U"        RET", U"        END"});
    p.session().back();
    EXPECT_EQ(p.session().state(), TraceState::NotStarted);
    p.run();
    ASSERT_TRUE(p.session().ended());
    const DisplayTexts last = p.shown();
    p.session().back();
    EXPECT_TRUE(p.session().ended());
    EXPECT_EQ(p.shown(), last);
}

TEST(StepBack, BeyondTheBoundTheOldestStepsAreDropped) {
    TraceOptions options;
    options.historyBytes = 64 * 1024;
    TracedProgram p = countingLoop(options);
    // A loop far longer than the bound holds; without a breakpoint every step waits.
    p.tables().dataWords[2][dataValueColumn] = 30000;
    p.host().answers.assign(100, MessageAnswer::Yes);
    p.session().start();
    for (int i = 0; i < 5000 && p.session().waiting(); ++i) {
        p.session().next();
    }
    ASSERT_TRUE(p.session().waiting());
    EXPECT_TRUE(p.session().historyDropped());
    EXPECT_LE(p.session().historyBytes(), options.historyBytes);
    const std::size_t kept = p.session().stepsBack();
    EXPECT_GT(kept, 100u);
    EXPECT_LT(kept, 5000u);
    const std::int16_t gr1 = p.gr(1);
    for (std::size_t i = 0; i < kept; ++i) {
        p.session().back();
    }
    EXPECT_EQ(p.session().stepsBack(), 0u);
    // Four steps per round of the loop: GR1 went back by a quarter of the steps.
    EXPECT_NEAR(gr1 - p.gr(1), static_cast<int>(kept / 4), 1);
}

TEST(StepBack, WithoutAHistoryNothingIsKept) {
    TraceOptions options;
    options.historyBytes = 0;
    TracedProgram p = countingLoop(options);
    p.session().start();
    p.session().next();
    p.session().next();
    EXPECT_EQ(p.session().stepsBack(), 0u);
    EXPECT_EQ(p.session().historyBytes(), 0u);
    const std::int16_t gr1 = p.gr(1);
    p.session().back();
    EXPECT_EQ(p.gr(1), gr1);
}

} // namespace
} // namespace casl::test
