#include "platform/source_bytes.h"
#include "platform/text_codec.h"

#include <gtest/gtest.h>
#include <ostream>
#include <string>

namespace casl::platform {
namespace {

using namespace std::string_literals;

struct BytesCase {
    std::string name;
    std::u32string editorText;
    SourceEncoding encoding;
    LineEndStyle lineEnds;
    std::string bytes;
};

void PrintTo(const BytesCase& item, std::ostream* out) {
    *out << item.name;
}

class SourceFileBytesTest : public testing::TestWithParam<BytesCase> {};

TEST_P(SourceFileBytesTest, AreTheTextAndOneLineEndInTheFilesEncodingAndStyle) {
    const auto bytes =
        sourceFileBytes(GetParam().editorText, GetParam().encoding, GetParam().lineEnds);
    ASSERT_TRUE(std::holds_alternative<std::string>(bytes));
    EXPECT_EQ(std::get<std::string>(bytes), GetParam().bytes);
}

INSTANTIATE_TEST_SUITE_P(
    Encodings, SourceFileBytesTest,
    testing::Values(
        BytesCase{"EmptyText", U"", SourceEncoding::Cp932, LineEndStyle::CrLf, "\r\n"},
        BytesCase{"Cp932Japanese", U" DC\t'あ①ｱ'", SourceEncoding::Cp932, LineEndStyle::CrLf,
                  " DC\t'\x82\xA0\x87\x40\xB1'\r\n"},
        BytesCase{"Cp932Lf", U"A\r\nB\r\n", SourceEncoding::Cp932, LineEndStyle::Lf, "A\nB\n\n"},
        BytesCase{"Utf8Cr", U"あ\r\nB", SourceEncoding::Utf8, LineEndStyle::Cr,
                  "\xE3\x81\x82\rB\r"},
        BytesCase{"Utf8WithBom", U"A", SourceEncoding::Utf8WithBom, LineEndStyle::CrLf,
                  "\xEF\xBB\xBF"
                  "A\r\n"},
        BytesCase{"Utf16LittleEndian", U"A", SourceEncoding::Utf16LeWithBom, LineEndStyle::Lf,
                  "\xFF\xFE"
                  "A\0\n\0"s}),
    [](const auto& info) { return info.param.name; });

TEST(SourceFileBytesTest, ACharacterWithoutACodeNamesItsLineAndTheFile) {
    const auto bytes = sourceFileBytes(U"A\r\n DC '\U0001F600'", SourceEncoding::Cp932,
                                       LineEndStyle::CrLf, "prog.cas");
    ASSERT_TRUE(std::holds_alternative<FileError>(bytes));
    const auto& error = std::get<FileError>(bytes);
    EXPECT_EQ(error.kind, FileErrorKind::Unencodable);
    EXPECT_EQ(error.line, 2u);
    EXPECT_EQ(error.path, "prog.cas");
    EXPECT_TRUE(error.message.starts_with(U"2行目の文字「\U0001F600」(U+1F600)は CP932"))
        << toUtf8(error.message);
}

} // namespace
} // namespace casl::platform
