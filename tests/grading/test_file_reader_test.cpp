#include "check_test_support.h"
#include "grading/test_file_reader.h"

#include <gtest/gtest.h>

namespace casl::check {
namespace {

TEST(TestFileReader, ReadsEveryKeyOfACase) {
    const TestFile file = test::testFile(R"(max_steps = 500
max_output = 300

[[case]]
name = "echo"
inputs = ["ABC", ""]
answers = ["no", "yes", true]
max_steps = 2000

[case.expect]
ending = "program-end"
output = """
ABC
DE
"""
GR0 = 0
GR7 = "#fffe"
PR = "#0010"
SP = 65535
OF = 1
SF = false
ZF = true

[case.expect.data]
LEN = 3
TABLE = [1, -1, "#0003"]
BUF = "AB"
HEX = { text = "#123" }

[[case]]
name = "errors"
assembles = false
errors = { 2 = 5, 7 = [8, 4, 8] }
)");
    ASSERT_EQ(file.cases.size(), 2u);
    const CheckCase& echo = file.cases[0];
    EXPECT_EQ(echo.name, "echo");
    EXPECT_EQ(echo.inputs, (std::vector<std::u32string>{U"ABC", U""}));
    EXPECT_EQ(echo.answers, (std::vector<bool>{false, true, true}));
    EXPECT_EQ(echo.maxSteps, 2000);
    EXPECT_EQ(echo.maxOutput, 300);
    EXPECT_TRUE(echo.assembles);
    const Expectations& e = echo.expect;
    ASSERT_TRUE(e.ending);
    EXPECT_EQ(e.ending->ending, RunEnding::ProgramEnd);
    EXPECT_EQ(e.output, (std::vector<std::u32string>{U"ABC", U"DE"}));
    ASSERT_TRUE(e.registers[0] && e.registers[7]);
    EXPECT_EQ(e.registers[7]->pattern, 0xFFFE);
    EXPECT_FALSE(e.registers[1]);
    EXPECT_EQ(e.programRegister->pattern, 0x10);
    EXPECT_EQ(e.stackPointer->pattern, 0xFFFF);
    EXPECT_EQ(e.overflowFlag, 1);
    EXPECT_EQ(e.signFlag, 0);
    EXPECT_EQ(e.zeroFlag, 1);
    ASSERT_EQ(e.data.size(), 4u);
    // The data table is read in the order of its keys.
    EXPECT_EQ(e.data[0].label, U"BUF");
    EXPECT_EQ(e.data[0].kind, ExpectedData::Kind::Text);
    ASSERT_EQ(e.data[0].words.size(), 2u);
    EXPECT_EQ(e.data[0].words[1].pattern, 66);
    EXPECT_EQ(e.data[1].label, U"HEX");
    EXPECT_EQ(e.data[1].text, U"#123");
    EXPECT_EQ(e.data[2].label, U"LEN");
    EXPECT_FALSE(e.data[2].list);
    EXPECT_EQ(e.data[3].words.size(), 3u);
    EXPECT_EQ(e.data[3].words[1].pattern, 0xFFFF);
    EXPECT_TRUE(e.data[3].list);

    const CheckCase& errors = file.cases[1];
    EXPECT_EQ(errors.maxSteps, 500);
    EXPECT_FALSE(errors.assembles);
    ASSERT_TRUE(errors.errors);
    EXPECT_EQ(*errors.errors, (std::map<int, std::vector<int>>{{2, {5}}, {7, {4, 8}}}));
}

struct OutputCase {
    std::string name;
    std::string toml;
    std::vector<std::u32string> lines;
};

class OutputText : public testing::TestWithParam<OutputCase> {};

TEST_P(OutputText, BecomesTheLinesOfOut) {
    const TestFile file =
        test::testFile("[[case]]\nname = \"x\"\nexpect.output = " + GetParam().toml + "\n");
    ASSERT_EQ(file.cases.size(), 1u);
    EXPECT_EQ(file.cases[0].expect.output, GetParam().lines);
}

INSTANTIATE_TEST_SUITE_P(
    Forms, OutputText,
    testing::Values(OutputCase{"Empty", R"("")", {}}, OutputCase{"OneLine", R"("AB")", {U"AB"}},
                    OutputCase{"FinalLineEndOptional", R"("AB\n")", {U"AB"}},
                    OutputCase{"OneEmptyLine", R"("\n")", {U""}},
                    OutputCase{"EmptyLastLine", R"("AB\n\n")", {U"AB", U""}},
                    OutputCase{"CrLfLikeLf", R"("A\r\nB")", {U"A", U"B"}},
                    OutputCase{"MultiLineString", "\"\"\"\nA\n B\n\"\"\"", {U"A", U" B"}},
                    OutputCase{"ArrayOfLines", R"(["A", "", "C"])", {U"A", U"", U"C"}},
                    OutputCase{"EmptyArray", "[]", {}}),
    [](const auto& info) { return info.param.name; });

struct EndingCase {
    std::string name;
    std::string written;
    RunEnding ending;
    bool byText;
};

class EndingNames : public testing::TestWithParam<EndingCase> {};

TEST_P(EndingNames, NameTheEnding) {
    const TestFile file =
        test::testFile("[[case]]\nname = \"x\"\nexpect.ending = " + GetParam().written + "\n");
    ASSERT_EQ(file.cases.size(), 1u);
    ASSERT_TRUE(file.cases[0].expect.ending);
    EXPECT_EQ(file.cases[0].expect.ending->ending, GetParam().ending);
    EXPECT_EQ(file.cases[0].expect.ending->text.has_value(), GetParam().byText);
}

INSTANTIATE_TEST_SUITE_P(
    NamesAndTexts, EndingNames,
    testing::Values(
        EndingCase{"ProgramEnd", R"("program-end")", RunEnding::ProgramEnd, false},
        EndingCase{"ProgramEndText", R"("Program終了")", RunEnding::ProgramEnd, true},
        EndingCase{"StepLimit", R"("step-limit")", RunEnding::StepLimit, false},
        EndingCase{"StackOverflowText", R"("Stack Overflow（スタックオーバーフロー）")",
                   RunEnding::StackOverflow, true},
        // A text of several lines, with LF or CR LF, with or without its final line end.
        EndingCase{"StoreText",
                   R"("データ領域外にレジスタの値を保存しようとしています\n処理を中断します")",
                   RunEnding::StoreIntoCode, true},
        EndingCase{
            "StoreTextCrLf",
            R"("データ領域外にレジスタの値を保存しようとしています\r\n処理を中断します\r\n")",
            RunEnding::StoreIntoCode, true},
        EndingCase{
            "BranchText",
            R"("00C8(200)番地を実行しようとしています。\n分岐先の命令が見つかりません。\nプログラムの実行を中止します")",
            RunEnding::BranchTarget, true},
        EndingCase{"OutsideProgram", R"("outside-program")", RunEnding::OutsideProgram, false}),
    [](const auto& info) { return info.param.name; });

struct ErrorCase {
    std::string name;
    std::string toml;
    /// The start of the message: file, line and column.
    std::string where;
    /// A part of the message that says what is wrong.
    std::string what;
};

void PrintTo(const ErrorCase& c, std::ostream* os) {
    *os << c.name;
}

class ReaderErrors : public testing::TestWithParam<ErrorCase> {};

TEST_P(ReaderErrors, NameTheFileLineAndColumn) {
    const auto read = parseTestFile(GetParam().toml, "tests.toml");
    ASSERT_TRUE(std::holds_alternative<TestFileError>(read));
    const std::string& message = std::get<TestFileError>(read).message;
    EXPECT_TRUE(message.starts_with(GetParam().where)) << message;
    EXPECT_NE(message.find(GetParam().what), std::string::npos) << message;
}

// Each file begins with a valid case on lines 1 and 2 where that does not matter.
INSTANTIATE_TEST_SUITE_P(
    Files, ReaderErrors,
    testing::Values(
        // TOML itself.
        ErrorCase{"UnclosedHeader", "[[case]\nname = \"x\"\n", "tests.toml:1:", ""},
        ErrorCase{"UnclosedString", "[[case]]\nname = \"x\n", "tests.toml:2:", ""},
        ErrorCase{"DuplicateKey", "[[case]]\nname = \"x\"\nname = \"y\"\n", "tests.toml:3:", ""},
        ErrorCase{"NotUtf8", "[[case]]\nname = \"\x82\xA0\"\n", "tests.toml:2:", ""},
        // The shape of the file.
        ErrorCase{"NoCases", "max_steps = 5\n", "tests.toml:1:1:", "no test cases"},
        ErrorCase{"CaseNotATableArray", "case = 5\n", "tests.toml:1:8:", "[[case]]"},
        ErrorCase{"UnknownTopKey", "subject = \"x\"\n[[case]]\nname = \"x\"\n",
                  "tests.toml:1:1:", "unknown key 'subject'"},
        ErrorCase{"TitleNotString", "title = 5\n[[case]]\nname = \"x\"\n",
                  "tests.toml:1:9:", "'title' must be a string, not an integer"},
        ErrorCase{"StatementNotString", "statement = [\"a\"]\n[[case]]\nname = \"x\"\n",
                  "tests.toml:1:13:", "'statement' must be a string, not an array"},
        ErrorCase{"NoName", "[[case]]\ninputs = []\n", "tests.toml:1:1:", "without a name"},
        ErrorCase{"RegistersWithoutACall", "[[case]]\nname = \"x\"\nregisters = { GR1 = 1 }\n",
                  "tests.toml:3:", "add call = \"LABEL\""},
        ErrorCase{"PreservesWithoutACall", "[[case]]\nname = \"x\"\npreserves = [\"GR1\"]\n",
                  "tests.toml:3:", "add call = \"LABEL\""},
        ErrorCase{"EmptyCall", "[[case]]\nname = \"x\"\ncall = \"\"\n",
                  "tests.toml:3:8:", "'call' names the label of a subroutine"},
        ErrorCase{"RegisterNotOfTheMachine",
                  "[[case]]\nname = \"x\"\ncall = \"S\"\nregisters = { GR8 = 1 }\n",
                  "tests.toml:4:", "GR0 to GR7, not 'GR8'"},
        ErrorCase{"PreservesARegisterTwice",
                  "[[case]]\nname = \"x\"\ncall = \"S\"\npreserves = [\"GR2\", \"GR2\"]\n",
                  "tests.toml:4:", "names GR2 twice"},
        ErrorCase{"CallWithoutAssembling",
                  "[[case]]\nname = \"x\"\nassembles = false\ncall = \"S\"\n",
                  "tests.toml:4:", "remove 'call'"},
        ErrorCase{"EmptyReference", "reference = \"\"\n[[case]]\nname = \"x\"\n",
                  "tests.toml:1:13:", "'reference' names a program file"},
        ErrorCase{"ReferenceNotText", "reference = 1\n[[case]]\nname = \"x\"\n",
                  "tests.toml:1:13:", "reference"},
        ErrorCase{"EmptyName", "[[case]]\nname = \"\"\n", "tests.toml:2:8:", "not empty"},
        ErrorCase{"SameName", "[[case]]\nname = \"x\"\n[[case]]\nname = \"x\"\n",
                  "tests.toml:3:1:", "a second case named 'x'"},
        ErrorCase{"UnknownCaseKey", "[[case]]\nname = \"x\"\ninput = [\"A\"]\n",
                  "tests.toml:3:1:", "unknown key 'input' in case 'x'"},
        ErrorCase{"UnknownExpectKey", "[[case]]\nname = \"x\"\n[case.expect]\nGR8 = 1\n",
                  "tests.toml:4:1:", "unknown key 'GR8'"},
        ErrorCase{"LowerCaseRegister", "[[case]]\nname = \"x\"\nexpect = { gr1 = 1 }\n",
                  "tests.toml:3:12:", "unknown key 'gr1'"},
        // Wrong types and values.
        ErrorCase{"NameNotString", "[[case]]\nname = 5\n",
                  "tests.toml:2:8:", "'name' must be a string, not an integer"},
        ErrorCase{"InputsNotArray", "[[case]]\nname = \"x\"\ninputs = \"A\"\n",
                  "tests.toml:3:10:", "'inputs' must be an array of strings, not a string"},
        ErrorCase{"InputNotString", "[[case]]\nname = \"x\"\ninputs = [\"A\", 2]\n",
                  "tests.toml:3:16:", "'inputs' must be a string, not an integer"},
        ErrorCase{"AnswerMaybe", "[[case]]\nname = \"x\"\nanswers = [\"maybe\"]\n",
                  "tests.toml:3:12:", "\"yes\" or \"no\""},
        ErrorCase{"NegativeSteps", "[[case]]\nname = \"x\"\nmax_steps = -1\n",
                  "tests.toml:3:13:", "must not be negative"},
        ErrorCase{"StepsPastTheirBound", "max_steps = 1000000001\n[[case]]\nname = \"x\"\n",
                  "tests.toml:1:13:", "'max_steps' must be at most 1000000000, not 1000000001"},
        ErrorCase{"StepsNotInteger", "max_steps = 1.5\n[[case]]\nname = \"x\"\n",
                  "tests.toml:1:13:", "'max_steps' must be an integer, not a floating-point"},
        ErrorCase{"PointsNegative", "[[case]]\nname = \"x\"\npoints = -1\n",
                  "tests.toml:3:10:", "'points' must be from 0 to 1000000"},
        ErrorCase{"PointsNotANumber", "points = \"3\"\n[[case]]\nname = \"x\"\n",
                  "tests.toml:1:10:", "'points' must be a number, not a string"},
        ErrorCase{"PointsInfinite", "[[case]]\nname = \"x\"\npoints = inf\n",
                  "tests.toml:3:10:", "from 0 to 1000000"},
        ErrorCase{"HiddenNotBoolean", "[[case]]\nname = \"x\"\nhidden = 1\n",
                  "tests.toml:3:10:", "'hidden' must be true or false"},
        ErrorCase{"AssemblesNotBoolean", "[[case]]\nname = \"x\"\nassembles = \"no\"\n",
                  "tests.toml:3:13:", "true or false"},
        ErrorCase{"RegisterFloat", "[[case]]\nname = \"x\"\nexpect.GR1 = 1.5\n",
                  "tests.toml:3:14:", "'GR1' must be a number or a string \"#hhhh\""},
        ErrorCase{"RegisterShortHex", "[[case]]\nname = \"x\"\nexpect.GR1 = \"#12\"\n",
                  "tests.toml:3:14:", "four hexadecimal digits"},
        ErrorCase{"RegisterTooLarge", "[[case]]\nname = \"x\"\nexpect.GR1 = 65536\n",
                  "tests.toml:3:14:", "outside a word"},
        ErrorCase{"RegisterTooSmall", "[[case]]\nname = \"x\"\nexpect.SP = -32769\n",
                  "tests.toml:3:13:", "outside a word"},
        ErrorCase{"FlagTwo", "[[case]]\nname = \"x\"\nexpect.ZF = 2\n",
                  "tests.toml:3:13:", "0, 1, true or false"},
        ErrorCase{"UnknownEnding", "[[case]]\nname = \"x\"\nexpect.ending = \"crash\"\n",
                  "tests.toml:3:17:", "program-end, step-limit"},
        ErrorCase{"OutputNumber", "[[case]]\nname = \"x\"\nexpect.output = 5\n",
                  "tests.toml:3:17:", "a string or an array of strings"},
        ErrorCase{"DataNotTable", "[[case]]\nname = \"x\"\nexpect.data = 5\n",
                  "tests.toml:3:15:", "a table of label = value"},
        ErrorCase{"DataEmptyLabel", "[[case]]\nname = \"x\"\nexpect.data.\"\" = 1\n",
                  "tests.toml:3:18:", "'data' needs a label before each '='"},
        ErrorCase{"DataEmptyList", "[[case]]\nname = \"x\"\nexpect.data.T = []\n",
                  "tests.toml:3:17:", "at least one value"},
        ErrorCase{"DataListOfStrings", "[[case]]\nname = \"x\"\nexpect.data.T = [1, \"AB\"]\n",
                  "tests.toml:3:21:", "four hexadecimal digits"},
        ErrorCase{"DataEmptyText", "[[case]]\nname = \"x\"\nexpect.data.T = \"\"\n",
                  "tests.toml:3:17:", "at least one character"},
        ErrorCase{"DataWrongTable", "[[case]]\nname = \"x\"\nexpect.data.T = { txt = \"A\" }\n",
                  "tests.toml:3:17:", "exactly one key: text"},
        ErrorCase{"DataNoCharacterCode", "[[case]]\nname = \"x\"\nexpect.data.T = \"A😀\"\n",
                  "tests.toml:3:17:", "no character code"},
        ErrorCase{"ErrorsWithAssembly", "[[case]]\nname = \"x\"\nerrors = { 2 = 5 }\n",
                  "tests.toml:3:10:", "assembles = false"},
        ErrorCase{"ErrorsLineNotNumber",
                  "[[case]]\nname = \"x\"\nassembles = false\nerrors = { L2 = 5 }\n",
                  "tests.toml:4:12:", "line numbers 1 to 300"},
        ErrorCase{"ErrorsLineZero",
                  "[[case]]\nname = \"x\"\nassembles = false\nerrors = { 0 = 5 }\n",
                  "tests.toml:4:12:", "line numbers 1 to 300"},
        ErrorCase{"ErrorNumberTen",
                  "[[case]]\nname = \"x\"\nassembles = false\nerrors = { 2 = [1, 10] }\n",
                  "tests.toml:4:20:", "error numbers are 1 to 9"},
        ErrorCase{"ErrorsEmptyList",
                  "[[case]]\nname = \"x\"\nassembles = false\nerrors = { 2 = [] }\n",
                  "tests.toml:4:16:", "at least one error number"},
        ErrorCase{"NotAssembledButRun",
                  "[[case]]\nname = \"x\"\nassembles = false\nexpect.GR1 = 1\n",
                  "tests.toml:4:1:", "runs nothing: remove 'expect'"},
        ErrorCase{"SetupNotTable", "[[case]]\nname = \"x\"\nsetup = 5\n",
                  "tests.toml:3:9:", "'setup' must be a table"},
        ErrorCase{"SetupUnknownKey", "[[case]]\nname = \"x\"\nsetup.GR1 = 5\n",
                  "tests.toml:3:7:", "unknown key 'GR1' in 'setup' of case 'x'; known keys: data"},
        ErrorCase{"SetupDataNotTable", "[[case]]\nname = \"x\"\nsetup.data = 5\n",
                  "tests.toml:3:14:", "'setup.data' must be a table of label = value"},
        ErrorCase{"SetupDataEmptyList", "[[case]]\nname = \"x\"\nsetup.data.T = []\n",
                  "tests.toml:3:16:", "'setup.data.T' needs at least one value"},
        ErrorCase{"SetupDataTooLarge", "[[case]]\nname = \"x\"\nsetup.data.T = [1, 65536]\n",
                  "tests.toml:3:20:", "'setup.data.T' is 65536, outside a word"},
        ErrorCase{"SetupDataEmptyText", "[[case]]\nname = \"x\"\nsetup.data.T = \"\"\n",
                  "tests.toml:3:16:", "'setup.data.T' needs at least one character"},
        ErrorCase{"NotAssembledWithSetup",
                  "[[case]]\nname = \"x\"\nassembles = false\nsetup.data.T = 1\n",
                  "tests.toml:4:1:", "remove 'setup'"},
        ErrorCase{"NotAssembledWithInputs",
                  "[[case]]\nname = \"x\"\nassembles = false\ninputs = [\"A\"]\n",
                  "tests.toml:4:10:", "remove 'inputs'"}),
    testing::PrintToStringParamName());

TEST(TestFileReader, ReadsTheTitleStatementAndSetUp) {
    const TestFile file = test::testFile(R"(title = "表の最大値"
statement = """
# 最大値

TABLE の *最大値* を求めます。
"""

[[case]]
name = "set up"
setup.data = { N = 3, TABLE = [5, "#FFFF", 7], NAME = "AB" }

[[case]]
name = "as it is"
)");
    EXPECT_EQ(file.title, "表の最大値");
    EXPECT_EQ(file.statement, "# 最大値\n\nTABLE の *最大値* を求めます。\n");
    ASSERT_EQ(file.cases.size(), 2u);
    const std::vector<ExpectedData>& setup = file.cases[0].setup;
    ASSERT_EQ(setup.size(), 3u);
    // In the order of the keys, as `expect.data` is read.
    EXPECT_EQ(setup[0].label, U"N");
    EXPECT_EQ(setup[1].label, U"NAME");
    EXPECT_EQ(setup[1].kind, ExpectedData::Kind::Text);
    EXPECT_EQ(setup[2].label, U"TABLE");
    ASSERT_EQ(setup[2].words.size(), 3u);
    EXPECT_EQ(setup[2].words[1].pattern, 0xFFFF);
    EXPECT_TRUE(file.cases[1].setup.empty());
    // A file without them has neither.
    const TestFile plain = test::testFile("[[case]]\nname = \"x\"\n");
    EXPECT_EQ(plain.title, "");
    EXPECT_EQ(plain.statement, "");
}

TEST(TestFileReader, ReadsPointsAndHiddenCases) {
    const TestFile file = test::testFile(R"(points = 2
[[case]]
name = "default"
[[case]]
name = "worth more"
points = 5
hidden = true
[[case]]
name = "half"
points = 0.5
hidden = false
[[case]]
name = "free"
points = 0
assembles = false
)");
    ASSERT_EQ(file.cases.size(), 4u);
    EXPECT_EQ(file.cases[0].points, 2);
    EXPECT_FALSE(file.cases[0].hidden);
    EXPECT_EQ(file.cases[1].points, 5);
    EXPECT_TRUE(file.cases[1].hidden);
    EXPECT_EQ(file.cases[2].points, 0.5);
    EXPECT_EQ(file.cases[3].points, 0);
    EXPECT_EQ(test::testFile("[[case]]\nname = \"x\"\n").cases[0].points, 1);
}

TEST(TestFileReader, ReadsTheReference) {
    EXPECT_EQ(test::testFile("reference = \"solution.cas\"\n[[case]]\nname = \"x\"\n").reference,
              "solution.cas");
    EXPECT_FALSE(test::testFile("[[case]]\nname = \"x\"\n").reference);
}

std::string repeated(std::string_view part, int times) {
    std::string text;
    for (int i = 0; i < times; ++i) {
        text += part;
    }
    return text;
}

struct NestingCase {
    std::string name;
    std::string toml;
    /// Where the message says the nesting is too deep; empty: the nesting is no problem.
    std::string where;
};

void PrintTo(const NestingCase& c, std::ostream* os) {
    *os << c.name;
}

class Nesting : public testing::TestWithParam<NestingCase> {};

TEST_P(Nesting, IsBoundedBeforeTheFileIsParsed) {
    const auto read = parseTestFile(GetParam().toml, "tests.toml");
    const std::string message =
        std::holds_alternative<TestFileError>(read) ? std::get<TestFileError>(read).message : "";
    const bool tooDeep = message.find("nest deeper than 64 levels") != std::string::npos;
    if (GetParam().where.empty()) {
        EXPECT_FALSE(tooDeep) << message;
    } else {
        EXPECT_TRUE(tooDeep) << message;
        EXPECT_TRUE(message.starts_with(GetParam().where)) << message;
    }
}

const std::string validCase = "[[case]]\nname = \"x\"\n";

// Files of 100,000 levels overflowed the stack of the TOML reader.
INSTANTIATE_TEST_SUITE_P(
    Files, Nesting,
    testing::Values(
        NestingCase{"DottedKeys", repeated("a.", 100000) + "a = 1\n", "tests.toml:1:128:"},
        NestingCase{"DottedKeysAfterACase", validCase + repeated("a.", 100) + "a = 1\n",
                    "tests.toml:3:126:"},
        NestingCase{"TableHeader", "[" + repeated("a.", 100000) + "a]\n", "tests.toml:1:129:"},
        NestingCase{"ArrayOfTablesHeader", "[[" + repeated("a.", 100000) + "a]]\n",
                    "tests.toml:1:130:"},
        NestingCase{"HeaderThenDottedKey",
                    "[" + repeated("a.", 40) + "a]\n" + repeated("b.", 30) + "b = 1\n",
                    "tests.toml:2:46:"},
        NestingCase{"Arrays", "x = " + repeated("[", 100000) + "\n", "tests.toml:1:69:"},
        NestingCase{"InlineTables", "x = " + repeated("{a = ", 100000) + "\n", "tests.toml:1:325:"},
        NestingCase{"AfterAJapaneseKey", "\"名前\"." + repeated("a.", 100) + "a = 1\n",
                    "tests.toml:1:131:"},
        NestingCase{"BracketsInStrings",
                    validCase + "inputs = [\"" + repeated("[{.", 1000) + "\", '" +
                        repeated("[", 100) + "', \"\"\"\n" + repeated("[", 100) + "\n\"\"\"]\n",
                    ""},
        NestingCase{"BracketsInAComment", validCase + "# " + repeated("[a.", 1000) + "\n", ""},
        NestingCase{"SixtyLevels", "[" + repeated("a.", 59) + "a]\n", ""},
        NestingCase{"NumbersWithPoints",
                    validCase + "max_steps = 1" + repeated(".5", 1) + "\nexpect.data.X = [" +
                        repeated("1.5, ", 200) + "1]\n",
                    ""}),
    testing::PrintToStringParamName());

TEST(TestFileReader, RefusesAFileLargerThanAProgramMayBe) {
    const test::ScratchFolder folder;
    const std::string big = validCase + "# " + std::string(2 * 1024 * 1024, 'x') + "\n";
    const auto read = readTestFile(folder.write("big.toml", big));
    ASSERT_TRUE(std::holds_alternative<TestFileError>(read));
    EXPECT_NE(std::get<TestFileError>(read).message.find(
                  "big.toml: cannot read the test file (larger than 2097152 bytes)"),
              std::string::npos)
        << std::get<TestFileError>(read).message;
    const auto folderRead = readTestFile(folder.path());
    ASSERT_TRUE(std::holds_alternative<TestFileError>(folderRead));
    EXPECT_NE(std::get<TestFileError>(folderRead).message.find("not a regular file"),
              std::string::npos);
}

TEST(TestFileReader, NamesAFileThatCannotBeRead) {
    const test::ScratchFolder folder;
    const auto read = readTestFile(folder.path() / "missing.toml");
    ASSERT_TRUE(std::holds_alternative<TestFileError>(read));
    const std::string& message = std::get<TestFileError>(read).message;
    EXPECT_NE(message.find("missing.toml: cannot read the test file"), std::string::npos)
        << message;
}

} // namespace
} // namespace casl::check
