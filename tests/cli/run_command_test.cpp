#include "cli/commands.h"
#include "cli_fixture.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

namespace casl::cli {
namespace {

namespace fs = std::filesystem;

using test::CommandRun;

CommandRun run(const std::vector<std::string>& args) {
    return test::casl2("run", args);
}

std::string example(const std::string& name) {
    return (fs::path(CASL_EXAMPLES_DIR) / (name + ".cas")).string();
}

std::string program(const std::string& name) {
    return (fs::path(CASL_RUN_PROGRAMS_DIR) / (name + ".cas")).string();
}

std::string expected(const std::string& name) {
    std::ifstream in(fs::path(CASL_RUN_PROGRAMS_DIR) / (name + ".expected"), std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

/// The lines of `text` from the one equal to `first` on, `count` of them.
std::string linesFrom(const std::string& text, const std::string& first, int count) {
    const std::size_t begin = text.find(first + "\n");
    if (begin == std::string::npos) {
        return "";
    }
    std::size_t end = begin;
    for (int i = 0; i < count && end != std::string::npos; ++i) {
        end = text.find('\n', end);
        end = end == std::string::npos ? end : end + 1;
    }
    return text.substr(begin, end - begin);
}

struct ExampleCase {
    std::string name;
    std::vector<std::string> options;
};

void PrintTo(const ExampleCase& c, std::ostream* out) {
    *out << c.name;
}

class Examples : public ::testing::TestWithParam<ExampleCase> {};

TEST_P(Examples, RunToProgramEndWithTheExpectedOutput) {
    std::vector<std::string> args{example(GetParam().name)};
    args.insert(args.end(), GetParam().options.begin(), GetParam().options.end());
    const CommandRun r = run(args);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, expected(GetParam().name));
    EXPECT_EQ(r.err, "");
}

INSTANTIATE_TEST_SUITE_P(EveryExample, Examples,
                         ::testing::Values(ExampleCase{"hello", {}}, ExampleCase{"loop", {}},
                                           ExampleCase{"subroutine", {}},
                                           ExampleCase{"literals", {}}, ExampleCase{"strings", {}},
                                           ExampleCase{"echo", {"--input", "Hi there"}}),
                         [](const auto& info) { return info.param.name; });

TEST(RunCommand, EveryExampleHasAnExpectedRun) {
    for (const auto& entry : fs::directory_iterator(CASL_EXAMPLES_DIR)) {
        if (entry.path().extension() == ".cas") {
            EXPECT_TRUE(fs::exists(fs::path(CASL_RUN_PROGRAMS_DIR) /
                                   (entry.path().stem().string() + ".expected")))
                << entry.path();
        }
    }
}

TEST(RunCommand, TheFinalBlockHasItsFixedShape) {
    const CommandRun r = run({example("hello")});
    EXPECT_EQ(linesFrom(r.out, "PR:0004", 7), "PR:0004\n"
                                              "SP:0035\n"
                                              "OF:0 SF:0 ZF:0\n"
                                              "OBJ-Code:8100 0000\n"
                                              "Stack Area\n"
                                              "Address Value\n"
                                              "--------------\n");
    EXPECT_NE(r.out.find("GR7 [0000 0000 0000 0000] 0000 (     0)\nPR:"), std::string::npos);
    EXPECT_NE(r.out.find("Data Area\nLabel Address   Value\n"), std::string::npos);
}

TEST(RunCommand, QuestionsTakeTheAnswersInOrderAndYesWhenNoneIsLeft) {
    const CommandRun no = run({program("questions"), "--answer", "no", "--answer", "no"});
    EXPECT_EQ(no.status, 0);
    const std::string question = "[プログラム実行中のWarning]\n"
                                 "指定されているアドレスは、このプログラムの\n"
                                 "データ記憶領域外です。\n"
                                 "　　　処理を中断しますか？\n"
                                 // The text ends in CR LF: the box shows an empty last line.
                                 "\n";
    EXPECT_EQ(no.out.substr(0, 2 * (question.size() + 5)),
              question + "> no\n" + question + "> no\n");
    EXPECT_NE(no.out.find("GR1 [0000 0000 0000 0000] 0000 (     0)\n"), std::string::npos);
    EXPECT_NE(no.out.find("GR2 [0000 0000 0000 0101] 0005 (     5)\n"), std::string::npos);

    const CommandRun yes = run({program("questions")});
    EXPECT_EQ(yes.status, 3);
    EXPECT_EQ(yes.out.substr(0, question.size() + 6), question + "> yes\n");
    EXPECT_EQ(yes.out.find("Program"), std::string::npos);
}

TEST(RunCommand, InputsAreTakenInOrderAndCancelledWhenNoneIsLeft) {
    const CommandRun r = run({example("echo")});
    EXPECT_EQ(r.status, 0);
    // The output text is a CR LF and nothing: two empty lines.
    EXPECT_TRUE(r.out.starts_with("[IN command]\nInput\n> \n[OUT command]\n\n\n[Program "))
        << r.out;
}

TEST(RunCommand, TheStepQuestionIsPrintedOnlyWhenItIsAnsweredNo) {
    const CommandRun r = run({program("forever"), "--max-steps", "150"});
    EXPECT_EQ(r.status, 4);
    EXPECT_TRUE(r.out.starts_with(
        "[確認]\n100ステップ実行されました。\n現在のブレークポイントは行目です。\n"
        "トレースを続行しますか?\n> no\nGR0 "))
        << r.out;
    // START, then 201 loop steps: 101 of them LAD.
    EXPECT_NE(r.out.find("GR1 [0000 0000 0110 0101] 0065 (   101)\n"), std::string::npos);
}

TEST(RunCommand, AMessageWithoutRefreshLeavesTheDisplaysOfTheStepBefore) {
    const CommandRun r = run({program("overflow")});
    EXPECT_EQ(r.status, 3);
    EXPECT_NE(r.out.find("[!Error!]\nStack Overflow（スタックオーバーフロー）\nGR0 "),
              std::string::npos);
    // SP (#0028 at the start) after 98 values: the 99th push is not shown; obj is the
    // PUSH's.
    EXPECT_NE(r.out.find("SP:FFC6\nOF:0 SF:0 ZF:0\nOBJ-Code:7001 0000\n"), std::string::npos)
        << r.out;
    EXPECT_NE(r.out.find("GR1 [0000 0000 0110 0010] 0062 (    98)\n"), std::string::npos);
}

TEST(RunCommand, TraceAndSimpleDisplay) {
    const CommandRun r = run({example("loop"), "--trace", "--simple"});
    EXPECT_EQ(r.status, 0);
    const std::string first = "line 4: >>>>>> \tLOOP      START   \n"
                              "GR0 [0000 0000 0000 0000] 0000 (     0)\n";
    EXPECT_EQ(r.out.substr(0, first.size()), first);
    EXPECT_NE(r.out.find("line 7: >>>>>> \tNEXT      ADDA    GR1,GR2\nGR0 "), std::string::npos);
    // One block per wait, and the final block, which shows the RET that ended the run.
    std::size_t blocks = 0;
    for (std::size_t at = r.out.find("Data Area\n"); at != std::string::npos;
         at = r.out.find("Data Area\n", at + 1)) {
        ++blocks;
    }
    // START, two LAD, ten rounds of five steps but the last without its JUMP, ST.
    EXPECT_EQ(blocks, 3u + 10u * 5u - 1u + 1u + 1u);
}

TEST(RunCommand, AFailedAssemblyPrintsTheListing) {
    const fs::path bad = fs::temp_directory_path() / "casl2-run-test-bad.cas";
    std::ofstream(bad) << "BAD     START\n        FOO     GR1\n        END\n";
    const CommandRun r = run({bad.string()});
    fs::remove(bad);
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.out.find("ニーモニック \n"), std::string::npos);
    EXPECT_NE(r.out.find("Assemble Error: 1\n"), std::string::npos);
}

TEST(RunCommand, ArgumentAndFileErrors) {
    for (const std::vector<std::string>& args :
         std::vector<std::vector<std::string>>{{},
                                               {example("hello"), example("loop")},
                                               {example("hello"), "--answer", "maybe"},
                                               {example("hello"), "--max-steps", "ten"},
                                               {example("hello"), "--input"},
                                               {example("hello"), "--fast"},
                                               {program("no-such-program")}}) {
        const CommandRun r = run(args);
        EXPECT_EQ(r.status, 2);
        EXPECT_EQ(r.out, "");
        EXPECT_NE(r.err, "");
    }
}

} // namespace
} // namespace casl::cli
