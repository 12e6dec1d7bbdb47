// The stack, data and step limits, end to end through `casl2 run`.
#include "cli/commands.h"
#include "cli_fixture.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace casl::cli {
namespace {

using test::CommandRun;

class RunLimits : public test::FileFolder {
protected:
    CommandRun run(const std::string& source, std::vector<std::string> options = {}) {
        options.insert(options.begin(), write("program.cas", source).string());
        return test::casl2("run", options);
    }
};

constexpr int programEnded = 0;
constexpr int endedByMessage = 3;
constexpr int endedByStepQuestion = 4;

const std::string overflow = "[!Error!]\nStack Overflow（スタックオーバーフロー）\n";
const std::string underflow = "[!Error!]\nStack Underflow(スタックアンダーフロー)\n";

/// A loop that runs `body` N times, N being the DC at the end, then `after` and RET. GR0
/// counts, since RPUSH and RPOP leave it alone.
std::string loop(const std::string& body, int times, const std::string& after = "") {
    return "P START\r\n LAD GR0,0\r\nL " + body + "\r\n ADDA GR0,ONE\r\n CPA GR0,N\r\n" +
           " JNZ L\r\n" + after + " RET\r\nN DC " + std::to_string(times) +
           "\r\nONE DC 1\r\n END\r\n";
}

TEST_F(RunLimits, PushHoldsNinetyEightValuesAndTheNinetyNinthOverflows) {
    // The RET after 98 pushes returns to the address 7 on top of the stack: no line is there.
    const CommandRun fits = run(loop("PUSH 7", 98), {"--max-steps", "10000"});
    EXPECT_EQ(fits.status, endedByMessage);
    EXPECT_NE(fits.out.find("RETで、プログラム開始アドレスが見つかりません"), std::string::npos);
    EXPECT_EQ(fits.out.find(overflow), std::string::npos);

    const CommandRun over = run(loop("PUSH 7", 99), {"--max-steps", "10000"});
    EXPECT_EQ(over.status, endedByMessage);
    EXPECT_NE(over.out.find(overflow), std::string::npos);
}

TEST_F(RunLimits, EndlessRecursionOverflowsTheStack) {
    const CommandRun run1 = run("P START\r\nR CALL R\r\n END\r\n", {"--max-steps", "10000"});
    EXPECT_EQ(run1.status, endedByMessage);
    EXPECT_NE(run1.out.find(overflow), std::string::npos);
}

TEST_F(RunLimits, RpushOverflowsOnceTheStackHoldsNinetyNine) {
    // The 14th RPUSH brings the stack to 98 values, the 15th past the last slot.
    std::string popAll = " LAD GR0,0\r\nM RPOP\r\n ADDA GR0,ONE\r\n CPA GR0,N\r\n JNZ M\r\n";
    const CommandRun fits = run(loop("RPUSH", 14, popAll), {"--max-steps", "10000"});
    EXPECT_EQ(fits.status, programEnded) << fits.out;

    const CommandRun over = run(loop("RPUSH", 15), {"--max-steps", "10000"});
    EXPECT_EQ(over.status, endedByMessage);
    EXPECT_NE(over.out.find(overflow), std::string::npos);
}

TEST_F(RunLimits, RpopNeedsSevenValues) {
    for (int values = 0; values <= 7; ++values) {
        std::string source = "P START\r\n";
        for (int v = 0; v < values; ++v) {
            source += " PUSH " + std::to_string(v + 1) + "\r\n";
        }
        source += " RPOP\r\n RET\r\n END\r\n";
        const CommandRun outcome = run(source);
        if (values == 7) {
            EXPECT_EQ(outcome.status, programEnded) << outcome.out;
            // The top of the stack goes to GR7, the bottom to GR1.
            EXPECT_NE(outcome.out.find("GR7 [0000 0000 0000 0111] 0007 (     7)"),
                      std::string::npos);
            EXPECT_NE(outcome.out.find("GR1 [0000 0000 0000 0001] 0001 (     1)"),
                      std::string::npos);
        } else {
            EXPECT_EQ(outcome.status, endedByMessage) << values;
            EXPECT_NE(outcome.out.find(underflow), std::string::npos) << values;
        }
    }
}

TEST_F(RunLimits, AnInAnswerLongerThanTheDataWordsLeftStopsAtTheTable) {
    const CommandRun outcome = run("P START\r\n IN BUF,LEN\r\n RET\r\nLEN DS 1\r\nBUF DS 1998\r\n "
                                   "END\r\n",
                                   {"--input", std::string(2100, 'Z')});
    EXPECT_EQ(outcome.status, programEnded);
    EXPECT_NE(outcome.out.find("LEN       0005   0834 (2100)"), std::string::npos);
    // The last word of the table holds a Z, nothing went past it.
    EXPECT_TRUE(outcome.out.ends_with("          07D3   005A (90)Z\n"))
        << outcome.out.substr(outcome.out.size() > 200 ? outcome.out.size() - 200 : 0);
}

TEST_F(RunLimits, AnEndlessLoopIsStoppedByTheStepBudget) {
    const CommandRun outcome =
        run("F START\r\nL LAD GR1,1,GR1\r\n JUMP L\r\n END\r\n", {"--max-steps", "5000"});
    EXPECT_EQ(outcome.status, endedByStepQuestion);
    EXPECT_NE(outcome.out.find("[確認]\n100ステップ実行されました。\n"), std::string::npos);
    EXPECT_NE(outcome.out.find("> no"), std::string::npos);
}

} // namespace
} // namespace casl::cli
