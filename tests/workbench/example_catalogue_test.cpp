// The examples menu's list: one caption rule for the window and the page.
#include "platform/text_codec.h"
#include "workbench/example_catalogue.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <unistd.h>

namespace casl {
namespace {

struct CaptionCase {
    const char* name;
    std::u32string text;
    std::u32string caption;
};

void PrintTo(const CaptionCase& c, std::ostream* os) {
    *os << c.name;
}

class CaptionTest : public testing::TestWithParam<CaptionCase> {};

TEST_P(CaptionTest, ComesFromTheFirstLine) {
    EXPECT_EQ(platform::toUtf8(exampleCaption(U"a.cas", GetParam().text)),
              platform::toUtf8(GetParam().caption));
}

INSTANTIATE_TEST_SUITE_P(
    FirstLines, CaptionTest,
    testing::Values(CaptionCase{"Described", U"; a.cas -- adds two numbers.\r\nP START\r\n",
                                U"a.cas — adds two numbers."},
                    CaptionCase{"BlanksAroundTheDescription", U";a.cas  --   sums  \n",
                                U"a.cas — sums"},
                    CaptionCase{"AnEmptyDescription", U"; a.cas -- \r\n", U"a.cas"},
                    CaptionCase{"NoDashes", U"; a program\r\n", U"a.cas"},
                    CaptionCase{"NotAComment", U"P START -- x\r\n", U"a.cas"},
                    CaptionCase{"AnEmptyFile", U"", U"a.cas"},
                    CaptionCase{"DashesOnlyOnTheSecondLine", U"; a\r\n; b -- c\r\n", U"a.cas"}),
    [](const testing::TestParamInfo<CaptionCase>& info) { return info.param.name; });

TEST(ExampleCatalogue, ListsTheProgramsOfAFolderByNameWithTheirCaptions) {
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("casl2-catalogue-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder / "sub.cas");
    std::ofstream(folder / "b.cas") << "; b.cas -- the second\r\n";
    std::ofstream(folder / "A.CAS") << "; A.CAS -- upper case\r\n";
    std::ofstream(folder / "notes.txt") << "; not a program\r\n";
    const std::vector<Example> examples = exampleCatalogue(folder);
    std::filesystem::remove_all(folder);
    ASSERT_EQ(examples.size(), 2u);
    EXPECT_EQ(platform::toUtf8(examples[0].caption), "A.CAS — upper case");
    EXPECT_EQ(platform::toUtf8(examples[1].name), "b.cas");
    EXPECT_EQ(examples[1].path.filename(), "b.cas");
    EXPECT_TRUE(exampleCatalogue(folder / "gone").empty());
}

} // namespace
} // namespace casl
