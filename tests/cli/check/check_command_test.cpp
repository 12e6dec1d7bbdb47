#include "check_test_support.h"
#include "cli/check/check_command.h"
#include "cli/commands.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

namespace casl::check {
namespace {

namespace fs = std::filesystem;

const fs::path classFolder = CASL_CHECK_CLASS_DIR;
const std::string classTests = (classFolder / "tests.toml").string();

struct CheckRun {
    int status;
    std::string out;
    std::string err;
};

/// `casl2 check ARGS...`; with `progress`, standard error is a terminal.
CheckRun check(std::vector<std::string> args, bool progress = false) {
    args.insert(args.begin(), "check");
    std::ostringstream out, err;
    const int status = cli::casl2Main(args, cli::Console{out, err, false, progress});
    return {status, out.str(), err.str()};
}

std::string inClass(const std::string& name) {
    return (classFolder / name).string();
}

std::string contents(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

TEST(CheckCommand, ChecksEveryProgramOfAFolderAndGoesOnPastTheBadOnes) {
    const CheckRun r = check({classTests, classFolder.string(), "-j", "2"});
    EXPECT_EQ(r.status, someCaseFailed);
    EXPECT_EQ(r.err, "");
    const std::string c = classFolder.string() + "/";
    std::istringstream lines(r.out);
    std::vector<std::string> got;
    for (std::string line; std::getline(lines, line);) {
        got.push_back(line);
    }
    // A line per program; under a failing one its first failure, or the problem of the whole
    // program, wrapped to 80 columns (the folder's name decides where).
    std::vector<std::string> blocks;
    for (const std::string& line : got) {
        if (line.starts_with("      ")) {
            blocks.back() += " " + line.substr(6);
        } else if (line.starts_with("    ")) {
            blocks.push_back(line.substr(4));
        } else {
            blocks.push_back(line.starts_with(c) ? line.substr(c.size()) : line);
        }
    }
    ASSERT_EQ(blocks.size(), 12u) << r.out;
    EXPECT_EQ(blocks[0], "broken.cas       0/2  FAILED");
    EXPECT_EQ(blocks[1], "does not assemble (Assemble Error: 1); line 5: error 5 <GR>レジスタ");
    EXPECT_EQ(blocks[2], "correct.cas      2/2  passed");
    EXPECT_EQ(blocks[3], "endless.cas      0/2  FAILED");
    EXPECT_EQ(blocks[4], "case \"hello\": ending: expected program-end | got step-limit (no end "
                         "within the budget of 1000 steps; stopped after 1010)");
    EXPECT_EQ(blocks[5], "shouting.CAS     2/2  passed");
    EXPECT_EQ(blocks[6], "undecodable.cas  0/2  FAILED");
    EXPECT_TRUE(blocks[7].starts_with("cannot be read: " + c + "undecodable.cas:")) << blocks[7];
    EXPECT_EQ(blocks[8], "wrong.cas        1/2  FAILED");
    EXPECT_EQ(blocks[9], "case \"hello\": GR1: expected 5 (#0005) | got 0 (#0000)");
    EXPECT_EQ(blocks[10], "");
    EXPECT_EQ(blocks[11], "2 of 6 programs passed every case; 5 of 12 cases passed");
}

TEST(CheckCommand, AProgramThatDoesNotExistFailsItsCases) {
    const CheckRun r = check({classTests, inClass("correct.cas"), inClass("absent.cas")});
    EXPECT_EQ(r.status, someCaseFailed);
    EXPECT_NE(r.out.find("absent.cas   0/2  FAILED\n    cannot be read: "), std::string::npos)
        << r.out;
}

TEST(CheckCommand, ALinkThatPointsNowhereFailsAsAProgramThatCannotBeRead) {
    const test::ScratchFolder folder;
    folder.write("class/ito.cas", contents(inClass("correct.cas")));
    fs::create_symlink(folder.path() / "gone.cas", folder.path() / "class" / "sato.cas");
    fs::create_symlink("loop.cas", folder.path() / "class" / "loop.cas");
    fs::create_directory(folder.path() / "class" / "folder.cas");
    const CheckRun r = check({classTests, (folder.path() / "class").string()});
    EXPECT_EQ(r.status, someCaseFailed);
    EXPECT_NE(r.out.find("loop.cas  0/2  FAILED\n    cannot be read: "), std::string::npos)
        << r.out;
    EXPECT_NE(r.out.find("sato.cas  0/2  FAILED\n    cannot be read: "), std::string::npos)
        << r.out;
    EXPECT_NE(r.out.find("1 of 3 programs passed every case"), std::string::npos) << r.out;
}

TEST(CheckCommand, AFileNameThatIsNotUtf8IsShownWithAReplacementCharacter) {
    const test::ScratchFolder folder;
    std::ifstream correct(inClass("correct.cas"), std::ios::binary);
    std::stringstream source;
    source << correct.rdbuf();
    folder.write("ito\xFF.cas", source.str());
    const CheckRun r = check({classTests, folder.path().string()});
    EXPECT_EQ(r.status, everyCasePassed) << r.err;
    EXPECT_NE(r.out.find("ito\xEF\xBF\xBD.cas"), std::string::npos) << r.out;
}

TEST(CheckCommand, EightThreadsGiveTheSameReportAsOne) {
    // Every program of the folder four times over: more programs than threads, checked at once.
    std::vector<std::string> args{classTests};
    for (int i = 0; i < 4; ++i) {
        args.push_back(classFolder.string());
    }
    std::vector<std::string> one = args;
    one.insert(one.end(), {"-j", "1", "--verbose"});
    std::vector<std::string> eight = args;
    eight.insert(eight.end(), {"-j", "8", "--verbose"});
    const CheckRun serial = check(one);
    const CheckRun parallel = check(eight);
    EXPECT_EQ(parallel.status, serial.status);
    EXPECT_EQ(parallel.out, serial.out);
    EXPECT_NE(parallel.out.find("8 of 24 programs passed every case"), std::string::npos)
        << parallel.out;
}

TEST(CheckCommand, WritesTheReportToTheOutputFile) {
    const test::ScratchFolder folder;
    const fs::path report = folder.path() / "report.xml";
    const CheckRun r = check(
        {classTests, inClass("correct.cas"), "--format", "junit", "--output", report.string()});
    EXPECT_EQ(r.status, everyCasePassed);
    EXPECT_EQ(r.out, "");
    EXPECT_TRUE(contents(report).starts_with("<?xml")) << contents(report);
}

TEST(CheckCommand, RefusesAnOutputThatIsOneOfItsInputs) {
    const test::ScratchFolder folder;
    const fs::path tests = folder.write("tests.toml", contents(classTests));
    const fs::path program = folder.write("class/ito.cas", contents(inClass("correct.cas")));
    fs::create_symlink(tests, folder.path() / "link.toml");
    fs::create_hard_link(program, folder.path() / "hard.cas");
    const struct {
        const char* name;
        fs::path output;
    } outputs[] = {
        {"the test file", tests},
        {"a program", program},
        {"a link to the test file", folder.path() / "link.toml"},
        {"a hard link to a program", folder.path() / "hard.cas"},
        {"the same file by another path", folder.path() / "class" / ".." / "tests.toml"}};
    for (const auto& o : outputs) {
        SCOPED_TRACE(o.name);
        const CheckRun r = check({tests.string(), (folder.path() / "class").string(), "--format",
                                  "json", "--output", o.output.string()});
        EXPECT_EQ(r.status, wrongTestsOrArguments);
        EXPECT_EQ(r.out, "");
        EXPECT_NE(r.err.find("is the same file as"), std::string::npos) << r.err;
        EXPECT_EQ(contents(tests), contents(classTests));
        EXPECT_EQ(contents(program), contents(inClass("correct.cas")));
    }
}

TEST(CheckCommand, WritesToTheStreamThatTheOutputNames) {
    const std::vector<std::string> args = {classTests, inClass("correct.cas")};
    const CheckRun plain = check(args);
    for (const std::string name : {"/dev/stdout", "/dev/fd/1", "/proc/self/fd/1"}) {
        std::vector<std::string> to = args;
        to.insert(to.end(), {"--output", name});
        const CheckRun r = check(to);
        EXPECT_EQ(r.status, everyCasePassed) << name;
        EXPECT_EQ(r.out, plain.out) << name;
        EXPECT_EQ(r.err, "") << name;
    }
    std::vector<std::string> to = args;
    to.insert(to.end(), {"-o", "/dev/stderr"});
    const CheckRun r = check(to);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, plain.out);
}

TEST(CheckCommand, ShowsProgressOnlyOnATerminal) {
    const CheckRun quiet = check({classTests, inClass("correct.cas")}, false);
    EXPECT_EQ(quiet.err, "");
    const CheckRun shown = check({classTests, inClass("correct.cas"), inClass("wrong.cas")}, true);
    // The programs done before the bar is drawn again may be shown together; the last count is
    // always all of them.
    EXPECT_NE(shown.err.find("checking [##############################] 2/2 programs"),
              std::string::npos)
        << shown.err;
    EXPECT_TRUE(shown.err.ends_with("\r\033[K")) << shown.err;
}

TEST(CheckCommand, ACaseThatRunsPastItsTimeLimitFails) {
    const test::ScratchFolder folder;
    // A budget of steps that an endless loop takes many seconds to spend.
    const std::string tests = folder
                                  .write("tests.toml", "max_steps = 1000000000\n"
                                                       "[[case]]\nname = \"echo\"\n"
                                                       "inputs = [\"A\"]\n")
                                  .string();
    const CheckRun r = check({tests, inClass("endless.cas"), "--time-limit", "0.2", "--verbose"});
    EXPECT_EQ(r.status, someCaseFailed) << r.err;
    EXPECT_NE(r.out.find("      ending:\n        expected program-end\n"
                         "        got      time-limit (no end within the time limit of 0.2"),
              std::string::npos)
        << r.out;
    const CheckRun json =
        check({tests, inClass("endless.cas"), "--time-limit", "0.2", "--format", "json"});
    EXPECT_NE(json.out.find(R"("ending": "time-limit")"), std::string::npos) << json.out;
}

struct StatusCase {
    std::string name;
    std::vector<std::string> args;
    int status;
    /// A part of standard error; empty: standard error stays empty.
    std::string err;
};

void PrintTo(const StatusCase& c, std::ostream* os) {
    *os << c.name;
}

class ExitStatus : public testing::TestWithParam<StatusCase> {
protected:
    test::ScratchFolder folder;
};

TEST_P(ExitStatus, SaysWhetherEverythingPassed) {
    std::vector<std::string> args;
    for (const std::string& a : GetParam().args) {
        // "@" names a file of the scratch folder, "%" one of the class folder.
        if (a.starts_with("@")) {
            args.push_back((folder.path() / a.substr(1)).string());
        } else if (a.starts_with("%")) {
            args.push_back(inClass(a.substr(1)));
        } else {
            args.push_back(a);
        }
    }
    folder.write("bad.toml", "[[case]\n");
    folder.write("empty/notes.txt", "");
    const CheckRun r = check(args);
    EXPECT_EQ(r.status, GetParam().status) << r.out << r.err;
    if (GetParam().err.empty()) {
        EXPECT_EQ(r.err, "");
    } else {
        EXPECT_NE(r.err.find(GetParam().err), std::string::npos) << r.err;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Arguments, ExitStatus,
    testing::Values(
        StatusCase{"AllPassed", {"%tests.toml", "%correct.cas", "%shouting.CAS"}, 0, ""},
        StatusCase{"OneFailed", {"%tests.toml", "%correct.cas", "%wrong.cas"}, 1, ""},
        StatusCase{"BadTestFile", {"@bad.toml", "%correct.cas"}, 2, "bad.toml:1:"},
        StatusCase{"NoTestFile", {"@none.toml", "%correct.cas"}, 2, "cannot read the test file"},
        StatusCase{"NoPrograms", {"%tests.toml"}, 2, "PROGRAM_OR_FOLDER is required"},
        StatusCase{"NoArguments", {}, 2, "is required"},
        StatusCase{"FolderWithoutPrograms", {"%tests.toml", "@empty"}, 2, "no .cas programs"},
        StatusCase{"UnknownOption", {"%tests.toml", "%correct.cas", "--colour"}, 2, "--colour"},
        StatusCase{
            "UnknownFormat", {"%tests.toml", "%correct.cas", "--format", "xml"}, 2, "--format"},
        StatusCase{"PlatformFormatWithTwoPrograms",
                   {"%tests.toml", "%correct.cas", "%wrong.cas", "--format", "gradescope"},
                   2,
                   "grades one program, not 2"},
        StatusCase{"PlatformFormatWithAFolder", {"%tests.toml", "%", "-f", "vpl"}, 2, "not 6"},
        StatusCase{"PlatformFormatPassed",
                   {"%tests.toml", "%correct.cas", "--format", "prairielearn"},
                   0,
                   ""},
        StatusCase{"UnknownCase",
                   {"%tests.toml", "%correct.cas", "--case", "hello", "--case", "nope"},
                   2,
                   "has no case named 'nope'"},
        StatusCase{"OneCaseOfAFailingProgramPasses",
                   {"%tests.toml", "%wrong.cas", "--case", "empty <line> & \"quotes\" #1"},
                   0,
                   ""},
        StatusCase{"NoThreads", {"%tests.toml", "%correct.cas", "-j", "0"}, 2, "--jobs"},
        StatusCase{"NoTime",
                   {"%tests.toml", "%correct.cas", "--time-limit", "0"},
                   2,
                   "--time-limit takes a number of seconds"},
        StatusCase{"OutputNowhere",
                   {"%tests.toml", "%correct.cas", "--output", "@missing/report.txt"},
                   9,
                   "cannot write"},
        StatusCase{"Help", {"--help"}, 0, ""}),
    testing::PrintToStringParamName());

TEST(CheckCommand, RunsOnlyTheCasesNamed) {
    const CheckRun one = check({classTests, inClass("wrong.cas"), "--case", "hello"});
    EXPECT_EQ(one.status, someCaseFailed);
    EXPECT_NE(one.out.find("0/1  FAILED\n    case \"hello\""), std::string::npos) << one.out;
    EXPECT_NE(one.out.find("0 of 1 program passed every case; 0 of 1 case passed"),
              std::string::npos)
        << one.out;
}

struct ReferenceCase {
    std::string name;
    /// The test file, beside which the class's correct.cas stands as solution.cas.
    std::string toml;
    /// `--reference` when not empty.
    std::string option;
    int status;
    /// What standard error says; empty when the class is graded.
    std::string message;
};

void PrintTo(const ReferenceCase& c, std::ostream* os) {
    *os << c.name;
}

class Reference : public testing::TestWithParam<ReferenceCase> {};

TEST_P(Reference, MustPassEveryCaseBeforeTheClassIsGraded) {
    const ReferenceCase& c = GetParam();
    const test::ScratchFolder folder;
    folder.write("exercise/solution.cas", contents(inClass("correct.cas")));
    const std::string tests = folder.write("exercise/tests.toml", c.toml).string();
    std::vector<std::string> args{tests, inClass("wrong.cas")};
    if (!c.option.empty()) {
        args.insert(args.end(), {"--reference", (folder.path() / c.option).string()});
    }
    const CheckRun r = check(args);
    EXPECT_EQ(r.status, c.status) << r.err;
    if (c.message.empty()) {
        EXPECT_EQ(r.err, "");
        EXPECT_NE(r.out.find("wrong.cas  0/1  FAILED"), std::string::npos) << r.out;
    } else {
        EXPECT_EQ(r.out, "");
        EXPECT_TRUE(r.err.starts_with("casl2 check: " + tests + ": ")) << r.err;
        EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
    }
}

const std::string helloCase = "[[case]]\nname = \"hello\"\ninputs = [\"HELLO\"]\n";

INSTANTIATE_TEST_SUITE_P(
    TestFiles, Reference,
    testing::Values(
        ReferenceCase{"PassingOptionGradesTheClass", helloCase + "expect.GR1 = 5\n",
                      "exercise/solution.cas", someCaseFailed, ""},
        ReferenceCase{"PassingKeyBesideTheTestFile",
                      "reference = \"solution.cas\"\n" + helloCase + "expect.GR1 = 5\n", "",
                      someCaseFailed, ""},
        ReferenceCase{"ACaseItFails", helloCase + "expect.output = \"HELO\"\n",
                      "exercise/solution.cas", wrongTestsOrArguments,
                      "solution.cas fails it: output: expected \"HELO\" | got \"HELLO\""},
        ReferenceCase{"ALabelItLacks",
                      "reference = \"solution.cas\"\n" + helloCase + "expect.data.LNE = 5\n", "",
                      wrongTestsOrArguments,
                      "case \"hello\": expect.data names the label LNE, which the reference"},
        ReferenceCase{"TheOptionWinsOverTheKey",
                      "reference = \"missing.cas\"\n" + helloCase + "expect.GR1 = 5\n",
                      "exercise/solution.cas", someCaseFailed, ""},
        ReferenceCase{"AReferenceThatCannotBeRead", "reference = \"missing.cas\"\n" + helloCase, "",
                      wrongTestsOrArguments, "missing.cas cannot be read"}),
    testing::PrintToStringParamName());

TEST(CheckCommand, HelpNamesEveryOption) {
    const CheckRun r = check({"--help"});
    for (const char* option :
         {"--format", "--verbose", "--output", "--jobs", "--reference", "TESTS.toml"}) {
        EXPECT_NE(r.out.find(option), std::string::npos) << option;
    }
}

/// The exercises that come with the workbench: the solution passes every case, the wrong
/// program fails some.
class Exercise : public testing::TestWithParam<std::string> {};

TEST_P(Exercise, SolutionPassesAndWrongProgramFails) {
    const fs::path folder = fs::path(CASL_EXERCISES_DIR) / GetParam();
    const std::string tests = (folder / "tests.toml").string();
    const CheckRun solution = check({tests, (folder / "solution.cas").string(), "--verbose"});
    EXPECT_EQ(solution.status, everyCasePassed) << solution.out << solution.err;
    const CheckRun wrong = check({tests, (folder / "wrong.cas").string(), "--verbose"});
    EXPECT_EQ(wrong.status, someCaseFailed) << wrong.out << wrong.err;
    EXPECT_EQ(wrong.err, "");
}

std::vector<std::string> exerciseNames() {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(CASL_EXERCISES_DIR)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

INSTANTIATE_TEST_SUITE_P(Examples, Exercise, testing::ValuesIn(exerciseNames()),
                         [](const auto& info) {
                             std::string name = info.param;
                             std::replace(name.begin(), name.end(), '-', '_');
                             return name;
                         });

TEST(Exercise, AtLeastTwoComeWithTheWorkbench) {
    EXPECT_GE(exerciseNames().size(), 2u);
}

/// The TOML blocks of the README's section on the test file, in order.
std::vector<std::string> readmeTestFiles() {
    std::ifstream in(CASL_README);
    std::stringstream text;
    text << in.rdbuf();
    const std::string readme = text.str();
    std::vector<std::string> blocks;
    const std::string open = "```toml\n";
    for (std::size_t at = readme.find(open, readme.find("### The test file"));
         at != std::string::npos; at = readme.find(open, at)) {
        at += open.size();
        const std::size_t end = readme.find("```", at);
        blocks.push_back(readme.substr(at, end - at));
        at = end;
    }
    return blocks;
}

TEST(Exercise, TheReadmeExampleChecksTheReverseExercise) {
    const std::vector<std::string> blocks = readmeTestFiles();
    ASSERT_EQ(blocks.size(), 4u);
    const test::ScratchFolder folder;
    const std::string tests = folder.write("tests.toml", blocks[0]).string();
    const fs::path exercise = fs::path(CASL_EXERCISES_DIR) / "reverse";
    const CheckRun solution = check({tests, (exercise / "solution.cas").string(), "--verbose"});
    EXPECT_EQ(solution.status, everyCasePassed) << solution.out << solution.err;
    const CheckRun wrong = check({tests, (exercise / "wrong.cas").string()});
    EXPECT_EQ(wrong.status, someCaseFailed) << wrong.out << wrong.err;
    // The snippet about assembly errors is a test file too.
    const std::string errors = folder.write("errors.toml", blocks[1]).string();
    EXPECT_EQ(check({errors, (exercise / "solution.cas").string()}).status, someCaseFailed);
    // And so is the one about subroutines, for a SUM that keeps the registers.
    const std::string calls = folder.write("calls.toml", blocks[2]).string();
    const std::string sum =
        folder
            .write("sum.cas",
                   test::program({"PROG    START", "        RET", "SUM     LD      GR0,GR1",
                                  "        ADDA    GR0,GR2", "        RET", "        END"}))
            .string();
    const CheckRun called = check({calls, sum});
    EXPECT_EQ(called.status, everyCasePassed) << called.out << called.err;
    // And the one about generated inputs, with the exercise's solution as the reference.
    const std::string generated = folder.write("generated.toml", blocks[3]).string();
    const std::string reference = (exercise / "solution.cas").string();
    const CheckRun right = check({generated, reference, "--reference", reference});
    EXPECT_EQ(right.status, everyCasePassed) << right.out << right.err;
    const CheckRun fails =
        check({generated, (exercise / "wrong.cas").string(), "--reference", reference});
    EXPECT_EQ(fails.status, someCaseFailed) << fails.out << fails.err;
    EXPECT_NE(fails.out.find("3/100  FAILED\n    case \"random line#1\""), std::string::npos)
        << fails.out;
}

} // namespace
} // namespace casl::check
