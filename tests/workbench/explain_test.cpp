// The session explains its run: the writer of every value shown, the step back to it, the
// words a step read, the trace table, and the predictions marked at Next.
#include "session_fixture.h"

#include <gtest/gtest.h>

namespace casl::test {
namespace {

constexpr std::string_view sumProgram = "P       START\n"
                                        "        LD      GR1,A\n"
                                        "        ADDA    GR1,B\n"
                                        "        ST      GR1,C\n"
                                        "        PUSH    0,GR1\n"
                                        "        POP     GR2\n"
                                        "        RET\n"
                                        "A       DC      3\n"
                                        "B       DC      4\n"
                                        "C       DS      1\n"
                                        "        END\n";

class Explained : public ::testing::Test {
protected:
    Session s;
    void SetUp() override {
        s.type(sumProgram);
        s.assemble();
        s.startTrace();
    }
    const RunExplanation& e() const { return s.view().explanation; }
    void next(int times = 1) {
        for (int i = 0; i < times; ++i) {
            s.workbench.next();
            s.render();
        }
    }
    /// The line of the data dump that shows `text`.
    int dataLine(std::string_view text) const {
        const std::string dump = utf8(s.view().displays.dataArea);
        const std::size_t at = dump.find(text);
        EXPECT_NE(at, std::string::npos) << text;
        return static_cast<int>(std::count(dump.begin(), dump.begin() + at, '\n'));
    }
};

TEST_F(Explained, TipsNameTheStepAndLineThatWroteEachValue) {
    next(2);
    EXPECT_EQ(utf8(e().registers[1].tip), "GR1: written at step 3, line 3: ADDA GR1,B");
    EXPECT_EQ(e().registers[1].writerStep, 3u);
    EXPECT_EQ(utf8(e().registers[0].tip), "GR0: written at step 1, line 1: START");
    EXPECT_EQ(utf8(e().flags.tip), "OF SF ZF: written at step 3, line 3: ADDA GR1,B");
    EXPECT_EQ(utf8(e().programRegister.tip), "PR: written at step 3, line 3: ADDA GR1,B");
    EXPECT_EQ(utf8(e().dataArea[static_cast<std::size_t>(dataLine("C         "))].tip),
              "C 000E: as the assembler or an earlier run left it");
    next();
    EXPECT_EQ(utf8(e().dataArea[static_cast<std::size_t>(dataLine("C         "))].tip),
              "C 000E: written at step 4, line 4: ST GR1,C");
    next();
    // The two header lines, the pushed slot, and the slot under it.
    ASSERT_EQ(e().stackArea.size(), 4u);
    EXPECT_TRUE(e().stackArea[0].tip.empty());
    EXPECT_EQ(utf8(e().stackArea[2].tip), "002E: written at step 5, line 5: PUSH 0,GR1");
    EXPECT_EQ(utf8(e().stackArea[3].tip), "002F: as the run started with it");
}

TEST_F(Explained, TheReadWordsAreMarkedOnTheirDumpLines) {
    next();
    EXPECT_EQ(e().dataAreaReads, (std::vector<int>{dataLine("A         ")}));
    EXPECT_EQ(utf8(e().readsText), "read: A 000C = 0003");
    next(2);
    // ST reads nothing.
    EXPECT_TRUE(e().dataAreaReads.empty());
    EXPECT_EQ(e().readsText, U"");
    next(2);
    // POP read the slot it cleared, which the dump no longer shows.
    EXPECT_TRUE(e().stackAreaReads.empty());
    EXPECT_EQ(utf8(e().readsText), "read: stack 002E = 0007 (popped)");
}

TEST_F(Explained, StepBackToTheWriterStandsJustAfterItsStep) {
    next(3);
    ASSERT_EQ(e().step, 4u);
    s.workbench.stepBackToStep(e().registers[1].writerStep);
    s.render();
    EXPECT_EQ(e().step, 3u);
    EXPECT_EQ(utf8(s.view().displays.registers[1]).substr(22, 4), "0007");
    EXPECT_TRUE(e().notice.empty());
    s.workbench.stepBackToStep(0);
    EXPECT_EQ(utf8(e().notice), "No step of this run wrote it.");
    EXPECT_EQ(e().step, 3u);
}

TEST(ExplainedHistory, StepBackToADroppedWriterSaysHowFarBackTheRunGoes) {
    Session s;
    s.workbench.setHistoryBytes(4096);
    s.type("P       START\n"
           "        LAD     GR3,9\n"
           "LOOP    LAD     GR2,1,GR2\n"
           "        JUMP    LOOP\n"
           "        END\n");
    s.assemble();
    s.startTrace();
    for (int i = 0; i < 600; ++i) {
        if (s.view().box) {
            s.answer(MessageAnswer::Yes);
        }
        s.workbench.next();
    }
    const RunExplanation& e = s.view().explanation;
    ASSERT_GT(e.oldestStep, 2u);
    s.workbench.stepBackToStep(e.registers[3].writerStep);
    EXPECT_EQ(utf8(e.notice), "Step 2 is no longer kept: 戻る reaches back to step " +
                                  std::to_string(e.oldestStep) + ".");
    EXPECT_GT(e.step, e.oldestStep);
}

TEST_F(Explained, PredictionsAreMarkedAtNextAndCountedForTheRun) {
    next();
    // LD GR1,A gave GR1 = 3; ADDA GR1,B gives 7, PR 0006, no flag.
    const std::vector<std::pair<int, std::string_view>> predictions = {
        {1, "7"},
        {2, "#0000"},
        {3, "0001"},
        {predictedProgramRegister, "0006"},
        {predictedStackPointer, "#002F"},
        {predictedZeroFlag, "1"},
        {4, "seven"}};
    for (const auto& [value, text] : predictions) {
        s.workbench.setPrediction(value, platform::fromUtf8(text));
    }
    next();
    const auto result = [&](int v) { return e().predictionResults[static_cast<std::size_t>(v)]; };
    EXPECT_EQ(result(1), PredictionResult::Right);
    EXPECT_EQ(result(2), PredictionResult::Right);
    EXPECT_EQ(result(3), PredictionResult::Wrong);
    EXPECT_EQ(result(predictedProgramRegister), PredictionResult::Right);
    EXPECT_EQ(result(predictedStackPointer), PredictionResult::Right);
    EXPECT_EQ(result(predictedZeroFlag), PredictionResult::Wrong);
    EXPECT_EQ(result(4), PredictionResult::Wrong);
    EXPECT_EQ(result(0), PredictionResult::None);
    EXPECT_EQ(e().predictionsRight, 4);
    EXPECT_EQ(e().predictionsMade, 7);
    // Marked once: the next step without predictions marks none and keeps the count.
    next();
    EXPECT_EQ(result(1), PredictionResult::None);
    EXPECT_EQ(e().predictionsMade, 7);
    // A new run counts from nothing.
    s.workbench.end();
    s.startTrace();
    EXPECT_EQ(e().predictionsMade, 0);
}

TEST_F(Explained, TheTableHoldsOneRowPerStepSoFar) {
    next(3);
    const std::string csv =
        utf8(s.workbench.traceTable(TraceTableFormat::Csv, *TraceTableColumns::parse(U"GR1")));
    EXPECT_EQ(csv, "step,line,instruction,GR1,written\r\n"
                   "1,1,START,0000,\r\n"
                   "2,2,\"LD GR1,A\",0003,\r\n"
                   "3,3,\"ADDA GR1,B\",0007,\r\n"
                   "4,4,\"ST GR1,C\",0007,000E:0007\r\n");
    const auto cells = s.workbench.traceTableCells(TraceTableColumns{}, 2);
    ASSERT_EQ(cells.size(), 3u);
    EXPECT_EQ(utf8(cells[1][0]), "3");
    EXPECT_EQ(utf8(cells[2][0]), "4");
}

} // namespace
} // namespace casl::test
