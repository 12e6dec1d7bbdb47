// Exercises in the working session: opening one, 採点, and a case started as a run.
#include "assembler/assembler.h"
#include "grading/program_check.h"
#include "platform/source_file.h"
#include "session_fixture.h"
#include "workbench/exercise_catalogue.h"
#include "workbench/exercise_texts.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <memory>
#include <unistd.h>

namespace casl::test {
namespace {

using Purpose = WorkbenchBox::Purpose;

/// Echoes a line and adds A and B into GR0 and SUM.
const std::string rightProgram = "ECHO\tSTART\n"
                                 "\tIN\tBUF,LEN\n"
                                 "\tOUT\tBUF,LEN\n"
                                 "\tLD\tGR0,A\n"
                                 "\tADDA\tGR0,B\n"
                                 "\tST\tGR0,SUM\n"
                                 "\tRET\n"
                                 "BUF\tDS\t10\n"
                                 "LEN\tDS\t1\n"
                                 "A\tDC\t1\n"
                                 "B\tDC\t1\n"
                                 "SUM\tDS\t1\n"
                                 "\tEND\n";

/// Adds A to itself: right only while A and B are equal.
std::string wrongProgram() {
    std::string text = rightProgram;
    text.replace(text.find("GR0,B"), 5, "GR0,A");
    return text;
}

const std::string echoTests = R"(title = "こだまと足し算"
statement = """
# こだま

1 行を **そのまま** 表示し、`A` と `B` の和を求めます。
"""

[[case]]
name = "echo and add"
inputs = ["HI"]
setup.data = { A = 2, B = 3 }
expect = { output = "HI", GR0 = 5, data.SUM = 5 }

[[case]]
name = "as assembled"
inputs = ["X"]
expect = { output = "X", GR0 = 2 }

[[case]]
name = "secret"
hidden = true
inputs = ["Q"]
setup.data.B = 9
expect.GR0 = 10
)";

ExerciseFiles echoFiles(std::u32string startProgram = {}) {
    return ExerciseFiles{U"echo", echoTests, U"", std::move(startProgram)};
}

std::vector<std::string> utf8Lines(const std::vector<std::u32string>& lines) {
    std::vector<std::string> out;
    for (const std::u32string& line : lines) {
        out.push_back(utf8(line));
    }
    return out;
}

/// A session with the echo exercise open and `program` in the editor.
struct ExerciseSessionTest : testing::Test {
    Session s;

    void SetUp() override {
        s.type(rightProgram);
        s.workbench.openExercise(s.editor, echoFiles());
        s.render();
        ASSERT_TRUE(s.view().exercise.open);
    }
    void check() {
        s.workbench.checkExercise(s.editor);
        s.render();
    }
    void runCase(std::size_t index) {
        s.workbench.startCaseRun(s.editor, index);
        s.render();
    }
    /// Goes on to the run's end, taking every box's default: the case's answer.
    void finishRun() {
        for (int guard = 0; s.view().phase == WorkbenchPhase::Tracing && guard < 10000; ++guard) {
            if (const auto& box = s.view().box) {
                if (box->kind == WorkbenchBox::Kind::Input) {
                    s.answer(MessageAnswer::Ok, box->defaultText);
                } else {
                    s.answer(box->buttons == MessageButtons::YesNo ? box->defaultButton
                                                                   : MessageAnswer::Ok);
                }
            } else {
                s.workbench.next();
                s.render();
            }
        }
        ASSERT_NE(s.view().phase, WorkbenchPhase::Tracing);
    }
    const ExerciseView& exercise() const { return s.view().exercise; }
};

TEST_F(ExerciseSessionTest, OpensWithItsStatementAndCasesAndLeavesTheProgram) {
    EXPECT_EQ(utf8(exercise().title), "こだまと足し算");
    EXPECT_EQ(utf8(exercise().name), "echo");
    ASSERT_EQ(exercise().statement.size(), 2u);
    EXPECT_EQ(exercise().statement[0].kind, StatementBlock::Kind::Heading);
    EXPECT_EQ(utf8(exercise().summary), utf8(texts::notChecked));
    EXPECT_FALSE(exercise().checked);
    EXPECT_TRUE(exercise().checkEnabled);
    ASSERT_EQ(exercise().cases.size(), 3u);
    EXPECT_EQ(utf8(exercise().cases[0].verdict), "");
    EXPECT_TRUE(exercise().cases[0].runnable);
    // A hidden case keeps what it gives and expects to itself, and cannot be run.
    EXPECT_FALSE(exercise().cases[2].runnable);
    EXPECT_EQ(utf8Lines(exercise().cases[2].details),
              std::vector<std::string>{utf8(texts::hiddenCase)});
    // Without a starting program the student goes on with the program in the editor.
    EXPECT_EQ(s.editor, program(rightProgram));
    EXPECT_FALSE(s.view().box);
}

TEST_F(ExerciseSessionTest, CheckShowsEachVerdictWithWhatWasExpectedAndWhatCameOut) {
    s.type(wrongProgram());
    check();
    EXPECT_TRUE(exercise().checked);
    EXPECT_FALSE(exercise().allPassed);
    EXPECT_EQ(utf8(exercise().summary), "1 / 3 ケースに合格");
    EXPECT_EQ(utf8(exercise().cases[0].verdict), "不合格");
    EXPECT_EQ(utf8Lines(exercise().cases[0].details),
              (std::vector<std::string>{"GR0: expected 5 (#0005), got 4 (#0004)",
                                        "data SUM: expected 5 (#0005), got 4 (#0004)"}));
    EXPECT_EQ(utf8(exercise().cases[1].verdict), "合格");
    EXPECT_TRUE(exercise().cases[1].details.empty());
    // The hidden case shows its verdict, never its expectations.
    EXPECT_EQ(utf8(exercise().cases[2].verdict), "不合格");
    EXPECT_EQ(utf8Lines(exercise().cases[2].details),
              std::vector<std::string>{utf8(texts::hiddenCase)});
    // Check neither assembles the editor's program nor changes the phase.
    EXPECT_EQ(s.view().phase, WorkbenchPhase::Editing);
}

TEST_F(ExerciseSessionTest, AnOutputMismatchReadsInTheStudentsTerms) {
    std::string text = rightProgram;
    text.replace(text.find("\tOUT\tBUF,LEN\n"), 13, "\tOUT\tA,LEN\n");
    s.type(text);
    check();
    EXPECT_EQ(utf8Lines(exercise().cases[1].details),
              std::vector<std::string>{"output: expected \"X\", got \"□\""});
}

TEST_F(ExerciseSessionTest, AProgramThatDoesNotAssembleFailsEveryCaseWithTheReason) {
    s.type("P\tSTART\n\tLD\tGR9,A\n\tEND\n");
    check();
    EXPECT_EQ(utf8(exercise().summary), "0 / 3 ケースに合格");
    ASSERT_EQ(exercise().cases[0].details.size(), 1u);
    EXPECT_TRUE(utf8(exercise().cases[0].details[0]).starts_with("does not assemble"))
        << utf8(exercise().cases[0].details[0]);
}

TEST_F(ExerciseSessionTest, AnEditMakesTheResultsStaleUntilTheNextCheck) {
    s.type(wrongProgram());
    check();
    s.type(rightProgram);
    EXPECT_EQ(utf8(exercise().summary), utf8(texts::checkStale));
    // The verdicts of the last Check stay until the next one.
    EXPECT_EQ(utf8(exercise().cases[0].verdict), "不合格");
    check();
    EXPECT_TRUE(exercise().allPassed);
    EXPECT_EQ(utf8(exercise().summary), "すべてのケースに合格しました");
}

TEST_F(ExerciseSessionTest, AFailingCaseRunsWithItsInputsAndDataAndEndsWithTheComparison) {
    s.type(wrongProgram());
    check();
    runCase(0);
    ASSERT_EQ(s.view().phase, WorkbenchPhase::Tracing);
    EXPECT_FALSE(exercise().checkEnabled);
    EXPECT_FALSE(exercise().cases[0].runnable);
    const CaseRunView& run = exercise().run;
    EXPECT_TRUE(run.shown);
    EXPECT_FALSE(run.ended);
    EXPECT_EQ(utf8(run.heading), "ケース「echo and add」で実行中");
    EXPECT_EQ(utf8Lines(run.given),
              (std::vector<std::string>{"IN への入力: \"HI\"", "実行前に設定するデータ: A = 2",
                                        "実行前に設定するデータ: B = 3"}));
    // The IN box shows the case's answer already typed.
    while (!s.view().box && s.view().phase == WorkbenchPhase::Tracing) {
        s.workbench.next();
        s.render();
    }
    ASSERT_TRUE(s.view().box);
    EXPECT_EQ(s.view().box->kind, WorkbenchBox::Kind::Input);
    EXPECT_EQ(utf8(s.view().box->defaultText), "HI");
    finishRun();
    EXPECT_TRUE(exercise().run.ended);
    EXPECT_FALSE(exercise().run.passed);
    EXPECT_EQ(utf8(exercise().run.heading),
              "ケース「echo and add」: 不合格 (ケースの期待と違います)");
    // A = 2 was set: the wrong program's A + A is 4, where the assembled A would give 2.
    EXPECT_EQ(utf8Lines(exercise().run.details),
              (std::vector<std::string>{"GR0: expected 5 (#0005), got 4 (#0004)",
                                        "data SUM: expected 5 (#0005), got 4 (#0004)"}));
    EXPECT_TRUE(exercise().checkEnabled);
    // The program's own text is back in the editor.
    EXPECT_EQ(s.editor, program(wrongProgram()));

    // Fixed, checked again, run again: everything holds.
    s.type(rightProgram);
    check();
    EXPECT_TRUE(exercise().allPassed);
    runCase(0);
    finishRun();
    EXPECT_TRUE(exercise().run.passed);
    EXPECT_EQ(utf8(exercise().run.heading),
              "ケース「echo and add」: 合格 (ケースの期待どおりです)");
    EXPECT_TRUE(exercise().run.details.empty());
}

TEST_F(ExerciseSessionTest, EndBeforeTheProgramEndsComparesNothing) {
    runCase(1);
    s.workbench.end();
    s.render();
    ASSERT_NE(s.view().phase, WorkbenchPhase::Tracing);
    EXPECT_TRUE(exercise().run.ended);
    EXPECT_FALSE(exercise().run.passed);
    EXPECT_EQ(utf8(exercise().run.heading),
              "ケース「as assembled」: 実行を途中で終えたため、ケースの期待とは比べていません");
    EXPECT_TRUE(exercise().run.details.empty());
}

TEST_F(ExerciseSessionTest, EveryCaseRunStartsFromTheAssembledWords) {
    runCase(0);
    finishRun();
    ASSERT_TRUE(exercise().run.passed);
    // Case 1 expects the assembled A = 1 and B = 1, not what case 0 set.
    runCase(1);
    finishRun();
    EXPECT_TRUE(exercise().run.passed) << utf8Lines(exercise().run.details).size();
}

TEST_F(ExerciseSessionTest, StepBackOverAnAnswerOffersItAgain) {
    runCase(0);
    while (!s.view().box) {
        s.workbench.next();
        s.render();
    }
    s.answer(MessageAnswer::Ok, U"HI");
    // Back over the IN step: its box opens again with the same answer, not the case's next.
    s.workbench.stepBack();
    s.render();
    ASSERT_EQ(s.view().phase, WorkbenchPhase::Tracing);
    s.workbench.next();
    s.render();
    ASSERT_TRUE(s.view().box);
    EXPECT_EQ(utf8(s.view().box->defaultText), "HI");
    finishRun();
    EXPECT_TRUE(exercise().run.passed);
}

TEST_F(ExerciseSessionTest, HiddenCasesAndCommandsDuringARunDoNothing) {
    runCase(2);
    EXPECT_EQ(s.view().phase, WorkbenchPhase::Editing);
    EXPECT_FALSE(exercise().run.shown);
    runCase(1);
    ASSERT_EQ(s.view().phase, WorkbenchPhase::Tracing);
    check();
    EXPECT_FALSE(exercise().checked);
    s.workbench.closeExercise();
    EXPECT_TRUE(exercise().open);
    runCase(7);
    EXPECT_EQ(utf8(exercise().run.heading), "ケース「as assembled」で実行中");
}

TEST_F(ExerciseSessionTest, APlainTraceIsNoCaseRun) {
    s.assemble();
    s.startTrace();
    finishRun();
    EXPECT_FALSE(exercise().run.shown);
}

TEST_F(ExerciseSessionTest, ACaseWhoseDataCannotBeSetSaysWhyAndDoesNotRun) {
    // The program has no B: the case cannot be set up.
    std::string text = rightProgram;
    text.replace(text.find("B\tDC\t1\n"), 7, "C\tDC\t1\n");
    text.replace(text.find("GR0,B"), 5, "GR0,C");
    s.type(text);
    runCase(0);
    EXPECT_NE(s.view().phase, WorkbenchPhase::Tracing);
    ASSERT_EQ(s.boxPurpose(), Purpose::ExerciseMessage);
    EXPECT_EQ(utf8(s.view().box->text), "このケースでは実行できません\r\n\r\n"
                                        "setup.data.B: no DC or DS line has the label B");
    s.answer(MessageAnswer::Ok);
    EXPECT_FALSE(s.view().box);
}

TEST_F(ExerciseSessionTest, AProgramInErrorShowsItsListingInsteadOfRunning) {
    s.type("P\tSTART\n\tLD\tGR9,A\n\tEND\n");
    runCase(0);
    EXPECT_EQ(s.view().phase, WorkbenchPhase::Editing);
    EXPECT_TRUE(s.view().listing.shown);
    EXPECT_FALSE(exercise().run.shown);
}

TEST_F(ExerciseSessionTest, CloseTakesThePaneAway) {
    s.workbench.closeExercise();
    EXPECT_FALSE(exercise().open);
    EXPECT_TRUE(exercise().cases.empty());
}

TEST(ExerciseRun, TheStepQuestionSuggestsWhatTheCheckAnswers) {
    Session s;
    s.type("L\tSTART\nLOOP\tJUMP\tLOOP\n\tEND\n");
    s.workbench.openExercise(
        s.editor,
        ExerciseFiles{U"loop", "[[case]]\nname = \"forever\"\nmax_steps = 150\n", U"", U""});
    s.workbench.startCaseRun(s.editor, 0);
    s.render();
    std::vector<MessageAnswer> suggested;
    for (int guard = 0; s.view().phase == WorkbenchPhase::Tracing && guard < 1000; ++guard) {
        if (s.view().box) {
            suggested.push_back(s.view().box->defaultButton);
            s.answer(s.view().box->defaultButton);
        } else {
            s.workbench.next();
            s.render();
        }
    }
    // Yes while fewer than 150 steps were counted, then No, which ends the run.
    EXPECT_EQ(suggested, (std::vector<MessageAnswer>{MessageAnswer::Yes, MessageAnswer::No}));
    EXPECT_TRUE(s.view().exercise.run.ended);
    ASSERT_EQ(s.view().exercise.run.details.size(), 1u);
    EXPECT_TRUE(utf8(s.view().exercise.run.details[0])
                    .starts_with("ending: expected program-end, got step-limit"))
        << utf8(s.view().exercise.run.details[0]);
}

TEST(ExerciseRun, TheOperandQuestionSuggestsTheCasesAnswer) {
    Session s;
    s.type("P\tSTART\n\tLD\tGR1,#0000\n\tRET\n\tEND\n");
    s.workbench.openExercise(
        s.editor, ExerciseFiles{U"q", "[[case]]\nname = \"no\"\nanswers = [\"no\"]\n", U"", U""});
    s.workbench.startCaseRun(s.editor, 0);
    s.render();
    while (!s.view().box && s.view().phase == WorkbenchPhase::Tracing) {
        s.workbench.next();
        s.render();
    }
    ASSERT_TRUE(s.view().box);
    ASSERT_EQ(s.view().box->run.purpose, RunBox::Purpose::OperandQuestion);
    EXPECT_EQ(s.view().box->defaultButton, MessageAnswer::No);
}

/// Next at every wait and OK to every box until the run ends.
void runToTheEnd(Session& s) {
    for (int guard = 0; s.view().phase == WorkbenchPhase::Tracing && guard < 100; ++guard) {
        if (s.view().box) {
            s.answer(MessageAnswer::Ok);
        } else {
            s.workbench.next();
            s.render();
        }
    }
    ASSERT_NE(s.view().phase, WorkbenchPhase::Tracing);
}

TEST(ExerciseRun, ASubroutineCaseStartsAtItsLabelWithTheCallsRegisters) {
    Session s;
    // From its first line the program would leave 99 in GR0.
    s.type("P\tSTART\n\tLAD\tGR0,99\n\tRET\nSUM\tLD\tGR0,GR1\n\tADDA\tGR0,GR2\n\tRET\n\tEND\n");
    s.workbench.openExercise(
        s.editor, ExerciseFiles{U"sum",
                                "[[case]]\nname = \"sum\"\ncall = \"SUM\"\n"
                                "registers = { GR1 = 3, GR2 = 4 }\npreserves = [\"GR1\"]\n"
                                "expect.GR0 = 7\n",
                                U"", U""});
    s.workbench.startCaseRun(s.editor, 0);
    s.render();
    ASSERT_EQ(s.view().phase, WorkbenchPhase::Tracing);
    runToTheEnd(s);
    EXPECT_TRUE(s.view().exercise.run.ended);
    EXPECT_TRUE(s.view().exercise.run.passed) << utf8(s.view().exercise.run.heading);
    EXPECT_TRUE(s.view().exercise.run.details.empty());

    // The next plain Trace starts on the first line again: it leaves 99 in GR0.
    s.workbench.assemble(s.editor);
    s.workbench.startTrace(s.editor);
    s.render();
    runToTheEnd(s);
    EXPECT_NE(utf8(s.view().displays.registers[0]).find("0063 (    99)"), std::string::npos)
        << utf8(s.view().displays.registers[0]);
}

TEST(ExerciseOpen, AStartingProgramComesAfterTheSaveQuestion) {
    Session s;
    s.type("KEEP");
    s.files.files[U"/x/start.cas"] = U"S\tSTART\r\n\tRET\r\n\tEND\r\n";
    s.workbench.openExercise(s.editor, echoFiles(U"/x/start.cas"));
    s.render();
    ASSERT_EQ(s.boxPurpose(), Purpose::SaveQuestion);
    EXPECT_FALSE(s.view().exercise.open);
    s.answer(MessageAnswer::No);
    EXPECT_TRUE(s.view().exercise.open);
    EXPECT_EQ(s.editor, U"S\tSTART\r\n\tRET\r\n\tEND\r\n");
    // A new program: no file name yet.
    EXPECT_EQ(utf8(s.view().fileName), "");
}

struct OpenFailure {
    const char* name;
    ExerciseFiles files;
    /// What the message says after its headline and the empty line.
    std::string why;
};

void PrintTo(const OpenFailure& c, std::ostream* os) {
    *os << c.name;
}

class ExerciseOpenFailure : public testing::TestWithParam<OpenFailure> {};

TEST_P(ExerciseOpenFailure, SaysWhyAndLeavesEverythingAsItWas) {
    Session s;
    s.type("KEEP");
    s.workbench.openExercise(s.editor, GetParam().files);
    s.render();
    ASSERT_EQ(s.boxPurpose(), Purpose::ExerciseMessage);
    EXPECT_EQ(utf8(s.view().box->text), "演習を開けません\r\n\r\n" + GetParam().why);
    s.answer(MessageAnswer::Ok);
    EXPECT_FALSE(s.view().box);
    EXPECT_FALSE(s.view().exercise.open);
    EXPECT_EQ(s.editor, program("KEEP"));
}

INSTANTIATE_TEST_SUITE_P(
    Failures, ExerciseOpenFailure,
    testing::Values(
        OpenFailure{"Unreadable", ExerciseFiles{U"gone", "", U"読めません", U""}, "読めません"},
        OpenFailure{"NotATestFile", ExerciseFiles{U"bad", "[[case]]\nname = 5\n", U"", U""},
                    "bad/tests.toml:2:8: 'name' must be a string, not an integer"},
        OpenFailure{"NoStartingProgram",
                    ExerciseFiles{U"echo", echoTests, U"", U"/nowhere/start.cas"},
                    "ファイルが見つかりません: /nowhere/start.cas"}),
    testing::PrintToStringParamName());

TEST(ExerciseOpen, NothingOfTheViewChangesWithoutAnExercise) {
    Session s;
    s.type(rightProgram);
    s.assemble();
    s.startTrace();
    while (s.view().phase == WorkbenchPhase::Tracing) {
        if (s.view().box) {
            s.answer(MessageAnswer::Ok, U"A");
        } else {
            s.workbench.next();
            s.render();
        }
    }
    s.workbench.checkExercise(s.editor);
    s.workbench.startCaseRun(s.editor, 0);
    EXPECT_EQ(s.view().exercise.revision, 0u);
    EXPECT_FALSE(s.view().exercise.open);
    EXPECT_NE(s.view().phase, WorkbenchPhase::Tracing);
}

/// The exercises that come with the workbench.
std::vector<ExerciseEntry> shipped() {
    return exerciseCatalogue(CASL_EXERCISES_DIR);
}

TEST(ShippedExercises, AtLeastEightWithTitlesStatementsAndStartingProgramsThatAssemble) {
    const std::vector<ExerciseEntry> exercises = shipped();
    EXPECT_GE(exercises.size(), 8u);
    for (const ExerciseEntry& e : exercises) {
        SCOPED_TRACE(utf8(e.name));
        EXPECT_NE(e.title, e.name);
        const auto opened = ExerciseSession::open(exerciseFiles(e.folder));
        ASSERT_TRUE(std::holds_alternative<std::unique_ptr<ExerciseSession>>(opened));
        const auto& exercise = std::get<std::unique_ptr<ExerciseSession>>(opened);
        EXPECT_FALSE(exercise->view(true).statement.empty());
        const std::filesystem::path start = e.folder / exerciseStartFile;
        if (std::filesystem::exists(start)) {
            const auto text = platform::readSourceFile(start);
            ASSERT_TRUE(std::holds_alternative<platform::SourceText>(text));
            const auto tables = std::make_unique<ProgramTables>();
            EXPECT_TRUE(assemble(std::get<platform::SourceText>(text).text, *tables).success);
        }
    }
}

/// The verdicts of 採点 on the program in the editor are those of `casl2 check` on its file.
TEST(ShippedExercises, CheckGivesTheVerdictsOfTheGraderOnTheFile) {
    for (const ExerciseEntry& e : shipped()) {
        for (const char* file : {"solution.cas", "wrong.cas"}) {
            SCOPED_TRACE(utf8(e.name) + "/" + file);
            const std::filesystem::path path = e.folder / file;
            const auto opened = ExerciseSession::open(exerciseFiles(e.folder));
            const auto& exercise = std::get<std::unique_ptr<ExerciseSession>>(opened);
            const check::ProgramResult graded =
                check::checkProgram({path, file}, exercise->tests());
            const auto text = platform::readSourceFile(path);
            ASSERT_TRUE(std::holds_alternative<platform::SourceText>(text));
            exercise->check(editorTextOf(std::get<platform::SourceText>(text).text));
            const ExerciseView view = exercise->view(true);
            ASSERT_EQ(view.cases.size(), graded.cases.size());
            for (std::size_t i = 0; i < graded.cases.size(); ++i) {
                EXPECT_EQ(view.cases[i].passed, graded.cases[i].passed) << graded.cases[i].name;
            }
            EXPECT_EQ(view.allPassed, std::string(file) == "solution.cas");
        }
    }
}

} // namespace
} // namespace casl::test

namespace casl::test {
namespace {

/// A folder of its own under the temporary folder, removed with everything in it.
struct ScratchExercises {
    std::filesystem::path root =
        std::filesystem::temp_directory_path() / ("casl-exercises-" + std::to_string(::getpid()));
    ScratchExercises() { std::filesystem::create_directories(root); }
    ~ScratchExercises() { std::filesystem::remove_all(root); }
    void write(const std::string& name, const std::string& bytes) const {
        std::filesystem::create_directories((root / name).parent_path());
        std::ofstream(root / name, std::ios::binary) << bytes;
    }
};

TEST(ExerciseCatalogue, ListsFoldersWithATestFileByNameTitledByTheirFiles) {
    const ScratchExercises folder;
    folder.write("b-second/tests.toml", "title = \"二つ目\"\n[[case]]\nname = \"x\"\n");
    folder.write("a-first/tests.toml", "[[case]]\nname = \"x\"\n");
    folder.write("c-broken/tests.toml", "title = 5\n");
    folder.write("d-no-tests/start.cas", "\tRET\n");
    folder.write("loose.toml", "title = \"x\"\n");
    std::vector<std::string> names;
    std::vector<std::string> titles;
    for (const ExerciseEntry& e : exerciseCatalogue(folder.root)) {
        names.push_back(utf8(e.name));
        titles.push_back(utf8(e.title));
    }
    // Without a title, or with a file that cannot be read, the folder's name stands.
    EXPECT_EQ(names, (std::vector<std::string>{"a-first", "b-second", "c-broken"}));
    EXPECT_EQ(titles, (std::vector<std::string>{"a-first", "二つ目", "c-broken"}));
    EXPECT_TRUE(exerciseCatalogue(folder.root / "nowhere").empty());
}

TEST(ExerciseCatalogue, FilesNameTheStartingProgramOnlyWhenThereIsOne) {
    const ScratchExercises folder;
    folder.write("with/tests.toml", "[[case]]\nname = \"x\"\n");
    folder.write("with/start.cas", "\tRET\n");
    folder.write("without/tests.toml", "[[case]]\nname = \"x\"\n");
    const ExerciseFiles with = exerciseFiles(folder.root / "with");
    EXPECT_EQ(utf8(with.name), "with");
    EXPECT_EQ(with.tests, "[[case]]\nname = \"x\"\n");
    EXPECT_EQ(std::filesystem::path(utf8(with.startProgram)), folder.root / "with" / "start.cas");
    EXPECT_TRUE(exerciseFiles(folder.root / "without").startProgram.empty());
    const ExerciseFiles missing = exerciseFiles(folder.root / "missing");
    EXPECT_FALSE(missing.problem.empty());
}

} // namespace
} // namespace casl::test
