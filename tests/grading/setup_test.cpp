#include "assembler/assembler.h"
#include "check_test_support.h"
#include "grading/case_setup.h"
#include "grading/program_check.h"

#include <gtest/gtest.h>
#include <memory>

namespace casl::check {
namespace {

/// Adds the first N words of TABLE into GR0 and RESULT; NAME is three words at the very end.
const std::string tableSum = test::program({
    "SUM     START",
    "        LAD     GR1,0",
    "        LAD     GR0,0",
    "LOOP    CPA     GR1,N",
    "        JZE     DONE",
    "        ADDA    GR0,TABLE,GR1",
    "        LAD     GR1,1,GR1",
    "        JUMP    LOOP",
    "DONE    ST      GR0,RESULT",
    "        RET",
    "N       DC      3",
    "TABLE   DC      1,2,3",
    "RESULT  DS      1",
    "NAME    DS      3",
    "        END",
});

struct SetupCase {
    std::string name;
    /// The lines of the case after its name.
    std::string body;
    /// The mismatches expected, by "what"; empty when the case passes.
    std::string mismatches;
    /// The start of the problem that keeps the case from running; "" when it runs.
    std::string problem;
};

void PrintTo(const SetupCase& c, std::ostream* os) {
    *os << c.name;
}

class Setup : public testing::TestWithParam<SetupCase> {};

TEST_P(Setup, SetsTheDataWordsBeforeTheRun) {
    const std::string toml = "[[case]]\nname = \"c\"\n" + GetParam().body + "\n";
    const ProgramResult result = test::checkSource(tableSum, toml);
    ASSERT_EQ(result.cases.size(), 1u);
    const CaseResult& c = result.cases[0];
    EXPECT_EQ(test::mismatchNames(c), GetParam().mismatches) << test::failureOf(c);
    EXPECT_TRUE(c.problem.starts_with(GetParam().problem)) << c.problem;
    EXPECT_EQ(c.problem.empty(), GetParam().problem.empty()) << c.problem;
    EXPECT_EQ(c.passed, GetParam().mismatches.empty() && GetParam().problem.empty());
}

INSTANTIATE_TEST_SUITE_P(
    EveryForm, Setup,
    testing::Values(
        SetupCase{"NoSetup", "expect = { GR0 = 6, data.RESULT = 6 }", "", ""},
        SetupCase{"OneWordAndAList", "setup.data = { N = 2, TABLE = [10, 20] }\nexpect.GR0 = 30",
                  "", ""},
        SetupCase{"OnlyWhatIsNamedChanges", "setup.data.TABLE = [10]\nexpect.GR0 = 15", "", ""},
        SetupCase{"HexWord", "setup.data = { N = 1, TABLE = \"#FFFF\" }\nexpect.GR0 = -1", "", ""},
        SetupCase{"NegativeDecimal", "setup.data = { N = 2, TABLE = [-5, 2] }\nexpect.GR0 = -3", "",
                  ""},
        // Characters as IN stores them; a table with `text` says the same.
        SetupCase{"Text", "setup.data.NAME = \"AB\"\nexpect.data.NAME = [65, 66, 0]", "", ""},
        SetupCase{"TextAsTable", "setup.data.NAME = { text = \"1\" }\nexpect.data.NAME = 49", "",
                  ""},
        SetupCase{"DoubleByteCharacter", "setup.data.NAME = \"あ\"\nexpect.data.NAME = -32096", "",
                  ""},
        // A list runs on into the words after the label's own, as IN does.
        SetupCase{"RunsIntoTheNextWords",
                  "setup.data = { N = 4, TABLE = [1, 2, 3, 4] }\nexpect.GR0 = 10", "", ""},
        SetupCase{"CanMakeACaseFail", "setup.data.N = 2\nexpect.GR0 = 6", "GR0", ""},
        SetupCase{"UnknownLabel", "setup.data = { N = 1, NOPE = 1 }", "",
                  "setup.data.NOPE: no DC or DS line has the label NOPE"},
        SetupCase{"PastTheLastDataWord", "setup.data.NAME = [1, 2, 3, 4]", "",
                  "setup.data.NAME: 4 words from NAME on run past the last data word (3 from "
                  "there)"}),
    testing::PrintToStringParamName());

TEST(Setup, EveryCaseStartsFromTheAssembledWords) {
    const ProgramResult result = test::checkSource(tableSum, R"([[case]]
name = "changed"
setup.data.TABLE = [100, 100, 100]
expect.GR0 = 300

[[case]]
name = "as assembled"
expect.GR0 = 6
)");
    ASSERT_EQ(result.cases.size(), 2u);
    EXPECT_TRUE(result.cases[0].passed) << test::failureOf(result.cases[0]);
    EXPECT_TRUE(result.cases[1].passed) << test::failureOf(result.cases[1]);
}

TEST(Setup, ACaseThatCannotBeSetUpChangesNothing) {
    const auto tables = std::make_unique<ProgramTables>();
    ASSERT_TRUE(assemble(U"P START\r\n RET\r\nA DC 7\r\n END\r\n", *tables).success);
    CheckCase c;
    c.setup.push_back(ExpectedData{U"A", ExpectedData::Kind::Words, {{9, "9"}}, U"", false});
    c.setup.push_back(ExpectedData{U"B", ExpectedData::Kind::Words, {{9, "9"}}, U"", false});
    EXPECT_TRUE(applySetup(*tables, c));
    EXPECT_EQ(tables->dataWords[1][dataValueColumn], 7);
}

TEST(Setup, StoresTheWordsAsADcLineHoldsThem) {
    // DC 65535 keeps 65535 and DC #FFFF holds -1; ADDA and CPA read the stored value as it is.
    const auto tables = std::make_unique<ProgramTables>();
    ASSERT_TRUE(assemble(U"P START\r\n RET\r\nA DS 6\r\n END\r\n", *tables).success);
    const TestFile file =
        test::testFile("[[case]]\nname = \"c\"\nsetup.data.A = [65535, \"#FFFF\", -32768, 7]\n"
                       "[[case]]\nname = \"t\"\nsetup.data.A = \"aあ\"\n");
    ASSERT_FALSE(applySetup(*tables, file.cases[0]));
    const auto value = [&](int row) { return tables->dataWords[row][dataValueColumn]; };
    EXPECT_EQ(value(1), 65535);
    EXPECT_EQ(value(2), -1);
    EXPECT_EQ(value(3), -32768);
    EXPECT_EQ(value(4), 7);
    EXPECT_EQ(value(5), 0);
    // Characters as IN stores them: a double-byte code as its signed word.
    ASSERT_FALSE(applySetup(*tables, file.cases[1]));
    EXPECT_EQ(value(1), 97);
    EXPECT_EQ(value(2), -32096);
    EXPECT_EQ(value(3), -32768);
}

TEST(CheckProgramText, GradesAsTheFileHoldingTheTextIsGraded) {
    const std::string toml = "[[case]]\nname = \"c\"\nexpect.GR0 = 6\n";
    const TestFile tests = test::testFile(toml);
    std::u32string text;
    for (char c : tableSum) {
        text.push_back(static_cast<char32_t>(c));
    }
    const ProgramResult fromText = checkProgramText("editor", text, tests);
    const ProgramResult fromFile = test::checkSource(tableSum, toml);
    ASSERT_EQ(fromText.cases.size(), 1u);
    EXPECT_EQ(fromText.name, "editor");
    EXPECT_EQ(fromText.cases[0].passed, fromFile.cases[0].passed);
    EXPECT_TRUE(fromText.cases[0].passed) << test::failureOf(fromText.cases[0]);
    const ProgramResult broken = checkProgramText("e", U"P START\r\n LD GR9,0\r\n END\r\n", tests);
    EXPECT_FALSE(broken.cases[0].passed);
    EXPECT_TRUE(broken.cases[0].problem.starts_with("does not assemble")) << broken.problem;
}

} // namespace
} // namespace casl::check
