#include "web/binding/page_text.h"

#include <gtest/gtest.h>
#include <ostream>
#include <string>

namespace casl::web {
namespace {

struct LineEndCase {
    const char* name;
    std::string page;
    std::u32string core;
};

void PrintTo(const LineEndCase& c, std::ostream* os) {
    *os << c.name;
}

class CoreTextFromPageTest : public testing::TestWithParam<LineEndCase> {};

TEST_P(CoreTextFromPageTest, EndsEveryLineWithCrLf) {
    EXPECT_EQ(coreTextFromPage(GetParam().page), GetParam().core);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, CoreTextFromPageTest,
    testing::Values(LineEndCase{"Empty", "", U""},
                    LineEndCase{"LfLines", " LD GR1,A\n RET\n", U" LD GR1,A\r\n RET\r\n"},
                    LineEndCase{"EmptyLines", "\n\nA", U"\r\n\r\nA"},
                    LineEndCase{"CrLfStaysOneLineEnd", "A\r\nB", U"A\r\nB"},
                    LineEndCase{"LoneCr", "A\rB", U"A\r\nB"},
                    LineEndCase{"Japanese", "; \xE3\x81\x82\xE6\xBC\xA2\n", U"; あ漢\r\n"},
                    LineEndCase{"InvalidUtf8",
                                "A\xFF"
                                "B",
                                U"A\uFFFDB"},
                    LineEndCase{"Nul", std::string("A\0B", 3), std::u32string(U"A\0B", 3)}),
    [](const testing::TestParamInfo<LineEndCase>& info) { return info.param.name; });

class PageTextFromCoreTest : public testing::TestWithParam<LineEndCase> {};

TEST_P(PageTextFromCoreTest, EndsEveryLineWithLf) {
    EXPECT_EQ(pageTextFromCore(GetParam().core), GetParam().page);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, PageTextFromCoreTest,
    testing::Values(LineEndCase{"Empty", "", U""},
                    LineEndCase{"CrLfLines", "0000\tA\nB\n", U"0000\tA\r\nB\r\n"},
                    LineEndCase{"LoneCrAndLoneLf", "A\nB\nC", U"A\rB\nC"},
                    LineEndCase{"CrBeforeCrLf", "A\n\nB", U"A\r\r\nB"},
                    LineEndCase{"Japanese", "\xE3\x83\x8B\xE3\x83\xBC \n", U"ニー \r\n"},
                    LineEndCase{"OutsideTheBmp", "\xF0\x9F\x98\x80", U"\U0001F600"}),
    [](const testing::TestParamInfo<LineEndCase>& info) { return info.param.name; });

} // namespace
} // namespace casl::web
