#include "platform/text_file.h"
#include "scratch_folder.h"

#include <gtest/gtest.h>
#include <ostream>
#include <string>

namespace casl::platform {
namespace {

using namespace std::string_literals;

struct ScratchCase {
    std::string name;
    std::u32string text;
    std::string bytes;
};

void PrintTo(const ScratchCase& c, std::ostream* out) {
    *out << c.name;
}

class TextFileTest : public testing::TestWithParam<ScratchCase> {};

TEST_P(TextFileTest, WritesCp932WhenPossibleAndReadsEveryCharacterBack) {
    test::ScratchFolder folder;
    const auto path = folder.path() / "info.tmp";
    ASSERT_FALSE(writeTextFile(path, GetParam().text));
    EXPECT_EQ(test::readBytes(path), GetParam().bytes);
    const auto read = readTextFile(path);
    ASSERT_TRUE(std::holds_alternative<std::u32string>(read));
    EXPECT_EQ(std::get<std::u32string>(read), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, TextFileTest,
    testing::Values(ScratchCase{"Empty", U"", ""},
                    ScratchCase{"Cp932", U"1 LD あ\r\n2\r3\n\0"s, "1 LD \x82\xA0\r\n2\r3\n\0"s},
                    // Half-width katakana that looks like UTF-8 still comes back as written.
                    ScratchCase{"Cp932LikeUtf8", U"ﾃｰ", "\xC3\xB0"},
                    ScratchCase{"Utf8Fallback", U"あ\U0001F600\r\n",
                                "\xEF\xBB\xBF\xE3\x81\x82\xF0\x9F\x98\x80\r\n"}),
    [](const auto& info) { return info.param.name; });

TEST(TextFileErrorsTest, ReportsAMissingFile) {
    test::ScratchFolder folder;
    const auto read = readTextFile(folder.path() / "info.tmp");
    ASSERT_TRUE(std::holds_alternative<FileError>(read));
    EXPECT_EQ(std::get<FileError>(read).kind, FileErrorKind::CannotOpen);
}

TEST(TextFileErrorsTest, RefusesATextThatNoEncodingHolds) {
    test::ScratchFolder folder;
    const auto error = writeTextFile(folder.path() / "info.tmp", U"a\r\n\xD800"s);
    ASSERT_TRUE(error);
    EXPECT_EQ(error->kind, FileErrorKind::Unencodable);
    EXPECT_EQ(error->line, 2u);
    EXPECT_TRUE(folder.entries().empty());
}

} // namespace
} // namespace casl::platform
