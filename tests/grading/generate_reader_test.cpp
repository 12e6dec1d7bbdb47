// The [[generate]] sections of a test file: what they read into, and every field's refusal
// with the file, line and column.
#include "check_test_support.h"
#include "grading/test_file_reader.h"

#include <gtest/gtest.h>

namespace casl::check {
namespace {

TEST(GenerateReader, ReadsEveryFieldOfASection) {
    const TestFile file = test::testFile(R"(points = 2
[[generate]]
name = "sum"
count = 40
seed = -1
in = [{ alphabet = "01", length = [0, 8], repeat = [1, 3] }, { min = -32768, max = 65535 }]
data = { label = "T", count = [0, 10], min = -5, max = 5, count_label = "N" }
compare = ["output", "data:SUM", "GR0", "flags", "ending"]
call = "SUM"
registers = { GR1 = [1, 9], GR2 = "#FFFF" }
preserves = ["GR2"]
max_steps = 500
hidden = true
)");
    EXPECT_TRUE(file.cases.empty());
    ASSERT_EQ(file.generate.size(), 1u);
    const GenerateSection& g = file.generate[0];
    EXPECT_EQ(g.name, "sum");
    EXPECT_EQ(g.count, 40);
    EXPECT_EQ(g.seed, 0xFFFFFFFFFFFFFFFFULL);
    ASSERT_EQ(g.inputs.size(), 2u);
    EXPECT_EQ(g.inputs[0].alphabet, U"01");
    EXPECT_EQ(g.inputs[0].max, 8);
    EXPECT_EQ(g.inputs[0].repeatMax, 3);
    EXPECT_EQ(g.inputs[1].kind, GeneratedInput::Kind::Number);
    EXPECT_EQ(g.inputs[1].min, -32768);
    ASSERT_EQ(g.data.size(), 1u);
    EXPECT_EQ(g.data[0].countLabel, std::u32string(U"N"));
    ASSERT_EQ(g.compare.size(), 5u);
    EXPECT_EQ(g.compare[1].kind, Observation::Kind::Data);
    EXPECT_EQ(g.compare[1].label, U"SUM");
    EXPECT_EQ(g.compare[2].reg, 0);
    ASSERT_EQ(g.registers.size(), 2u);
    EXPECT_EQ(g.registers[1].min, -1) << "\"#FFFF\" is the word -1";
    ASSERT_TRUE(g.base.call);
    EXPECT_EQ(g.base.call->preserves, std::vector<int>{2});
    EXPECT_EQ(g.base.points, 2) << "the file's points are the section's default";
    EXPECT_EQ(g.base.maxSteps, 500);
    EXPECT_TRUE(g.base.hidden);
}

TEST(GenerateReader, ComparesTheOutputWhenTheSectionNamesNothing) {
    const TestFile file = test::testFile("[[generate]]\nname = \"g\"\n");
    ASSERT_EQ(file.generate.size(), 1u);
    ASSERT_EQ(file.generate[0].compare.size(), 1u);
    EXPECT_EQ(file.generate[0].compare[0].kind, Observation::Kind::Output);
    EXPECT_EQ(file.generate[0].count, 1);
}

struct GenerateError {
    std::string name;
    /// The lines of the section after its name.
    std::string body;
    /// Line and column of the message; the section's name is on line 2.
    std::string where;
    std::string what;
};

void PrintTo(const GenerateError& c, std::ostream* os) {
    *os << c.name;
}

class GenerateErrors : public testing::TestWithParam<GenerateError> {};

TEST_P(GenerateErrors, NameTheFileLineAndColumn) {
    const GenerateError& c = GetParam();
    const auto read = parseTestFile("[[generate]]\nname = \"g\"\n" + c.body + "\n", "tests.toml");
    ASSERT_TRUE(std::holds_alternative<TestFileError>(read));
    const std::string& message = std::get<TestFileError>(read).message;
    EXPECT_TRUE(message.starts_with("tests.toml:" + c.where + ": ")) << message;
    EXPECT_NE(message.find(c.what), std::string::npos) << message;
}

INSTANTIATE_TEST_SUITE_P(
    Sections, GenerateErrors,
    testing::Values(
        GenerateError{"NoCount", "count = 0", "3:9", "'count' must be from 1 to 100000, not 0"},
        GenerateError{"TooManyCases", "count = 100001", "3:9", "not 100001"},
        GenerateError{"CountNotInteger", "count = \"5\"", "3:9", "must be an integer"},
        GenerateError{"UnknownKey", "seeds = 1", "3:1", "unknown key 'seeds' in [[generate]]"},
        GenerateError{"CaseKeyNotShared", "expect.GR0 = 1", "3:1", "unknown key 'expect'"},
        GenerateError{"TextAndNumber", "in = [{ alphabet = \"A\", length = 1, min = 0, max = 1 }]",
                      "3:7", "not both"},
        GenerateError{"NeitherTextNorNumber", "in = [{ repeat = 2 }]", "3:7", "not neither"},
        GenerateError{"LengthDownwards", "in = [{ alphabet = \"A\", length = [5, 2] }]", "3:34",
                      "write the least first"},
        GenerateError{"LineTooLong", "in = [{ alphabet = \"A\", length = 257 }]", "3:34",
                      "'length' must be from 0 to 256"},
        GenerateError{"EmptyAlphabet", "in = [{ alphabet = \"\", length = [0, 2] }]", "3:20",
                      "'alphabet' is empty"},
        GenerateError{"ControlInAlphabet", "in = [{ alphabet = \"A\\t\", length = 2 }]", "3:20",
                      "which an input line cannot hold"},
        GenerateError{"RangeOfThree", "in = [{ alphabet = \"A\", length = [1, 2, 3] }]", "3:34",
                      "two integers"},
        GenerateError{"NumberMissingMax", "in = [{ min = 1 }]", "3:7",
                      "needs both 'min' and 'max'"},
        GenerateError{"NumberBelowAWord", "in = [{ min = -32769, max = 0 }]", "3:15",
                      "'min' must be from -32768 to 65535"},
        GenerateError{"MaxBelowMin", "in = [{ min = 3, max = 2 }]", "3:24",
                      "'max' (2) is below 'min' (3)"},
        GenerateError{"RepeatTooLong", "in = [{ min = 0, max = 1, repeat = 1001 }]", "3:36",
                      "'repeat' must be from 0 to 1000"},
        GenerateError{"DataWithoutLabel", "data = { min = 0, max = 1 }", "3:8",
                      "needs the label of its words"},
        GenerateError{"DataTooLong", "data = { label = \"T\", count = 1001, min = 0, max = 1 }",
                      "3:31", "'count' must be from 0 to 1000"},
        GenerateError{"UnknownDataKey", "data = { label = \"T\", min = 0, max = 1, size = 3 }",
                      "3:41", "unknown key 'size' in 'data'"},
        GenerateError{"NoSuchRegister", "compare = [\"GR8\"]", "3:12",
                      "'compare' takes output, ending, flags, GR0 to GR7 and data:LABEL"},
        GenerateError{"DataWithoutItsLabel", "compare = [\"data:\"]", "3:12", "not \"data:\""},
        GenerateError{"NothingCompared", "compare = []", "3:11", "at least one observation"},
        GenerateError{"RegistersWithoutCall", "registers = { GR1 = [0, 5] }", "3:13",
                      "add call = \"LABEL\""},
        GenerateError{"RegisterRangeOutsideAWord", "call = \"S\"\nregisters = { GR1 = [0, 70000] }",
                      "4:25", "'GR1' must be from -32768 to 65535"},
        GenerateError{"PreservesWithoutCall", "preserves = [\"GR1\"]", "3:13",
                      "add call = \"LABEL\""},
        GenerateError{"DrawsTooMuchInAll",
                      "count = 100000\nin = [{ alphabet = \"A\", length = 256, repeat = 1 }]",
                      "1:1", "may draw more than 20000000 characters and words in all"},
        GenerateError{"TwoSectionsDrawTooMuchInAll",
                      "count = 100000\ndata = { label = \"T\", count = 99, min = 0, max = 1 }\n"
                      "[[generate]]\nname = \"h\"\ncount = 100000\n"
                      "data = { label = \"T\", count = 99, min = 0, max = 1 }",
                      "5:1", "may draw more than 20000000"},
        GenerateError{"EmptyName", "[[generate]]\nname = \"\"", "4:8", "name that is not empty"},
        GenerateError{"SecondSectionOfTheName", "[[generate]]\nname = \"g\"", "3:1",
                      "a second [[generate]] section named 'g'"},
        GenerateError{"FixedCaseTakesAGeneratedName", "count = 5\n[[case]]\nname = \"g#5\"", "1:1",
                      "the case 'g#5' has the name of a case that [[generate]] 'g' makes"}),
    testing::PrintToStringParamName());

TEST(GenerateReader, LeavesFixedNamesOutsideTheSectionsRangeAlone) {
    const TestFile file = test::testFile(
        "[[case]]\nname = \"g#6\"\n[[case]]\nname = \"g#05\"\n[[case]]\nname = \"g#\"\n"
        "[[generate]]\nname = \"g\"\ncount = 5\n");
    EXPECT_EQ(file.cases.size(), 3u);
}

} // namespace
} // namespace casl::check
