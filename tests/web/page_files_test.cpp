#include "web/binding/page_files.h"

#include <gtest/gtest.h>
#include <ostream>
#include <string>

namespace casl::web {
namespace {

using namespace std::string_literals;
using platform::LineEndStyle;
using platform::SourceEncoding;

struct OpenCase {
    const char* name;
    std::string bytes;
    std::string text;
    std::string format;
};

void PrintTo(const OpenCase& c, std::ostream* os) {
    *os << c.name;
}

class OpenSourceBytesTest : public testing::TestWithParam<OpenCase> {};

TEST_P(OpenSourceBytesTest, GivesTheEditorTextAndKeepsHowTheFileIsStored) {
    SourceFormat format{SourceEncoding::Utf16BeWithBom, LineEndStyle::Cr};
    const PageOpened opened = openSourceBytes(GetParam().bytes, "prog.cas", format);
    ASSERT_TRUE(opened.ok) << opened.message;
    EXPECT_EQ(opened.text, GetParam().text);
    EXPECT_EQ(formatName(format), GetParam().format);
}

INSTANTIATE_TEST_SUITE_P(
    Files, OpenSourceBytesTest,
    testing::Values(OpenCase{"Cp932CrLf", "A\tDC\t'\x82\xA0'\r\n\tEND\r\n",
                             "A\tDC\t'\xE3\x81\x82'\n\tEND\n", "cp932 crlf"},
                    OpenCase{"Utf8Lf", " DC '\xE3\x81\x82'\n", " DC '\xE3\x81\x82'\n", "utf8 lf"},
                    OpenCase{"Utf8WithBom",
                             "\xEF\xBB\xBF"
                             "A\r\n",
                             "A\n", "utf8bom crlf"},
                    OpenCase{"Empty", "", "", "cp932 crlf"}),
    [](const testing::TestParamInfo<OpenCase>& info) { return info.param.name; });

struct RefusedCase {
    const char* name;
    std::string bytes;
    /// A part of the message that says why.
    std::string reason;
};

void PrintTo(const RefusedCase& c, std::ostream* os) {
    *os << c.name;
}

class RefusedOpenTest : public testing::TestWithParam<RefusedCase> {};

TEST_P(RefusedOpenTest, ExplainsAndLeavesTheFormatAlone) {
    SourceFormat format{SourceEncoding::Utf8, LineEndStyle::Lf};
    const PageOpened opened = openSourceBytes(GetParam().bytes, "prog.cas", format);
    EXPECT_FALSE(opened.ok);
    EXPECT_EQ(opened.text, "");
    EXPECT_NE(opened.message.find(GetParam().reason), std::string::npos) << opened.message;
    EXPECT_NE(opened.message.find("prog.cas"), std::string::npos) << opened.message;
    EXPECT_EQ(format, (SourceFormat{SourceEncoding::Utf8, LineEndStyle::Lf}));
}

INSTANTIATE_TEST_SUITE_P(
    Files, RefusedOpenTest,
    testing::Values(
        RefusedCase{"TooLarge", std::string(platform::maxSourceFileBytes + 1, 'A'), "上限"},
        RefusedCase{"LineTooLong", "A\n" + std::string(platform::maxEditorLineLength + 1, 'A'),
                    "2行目が長すぎます"},
        RefusedCase{"NeitherCp932NorUtf8", "A\r\n\x82\xFF\r\n",
                    "2行目に CP932 としても UTF-8 としても読めない"},
        RefusedCase{"Utf16WithoutMark", "P\0G\0M\0 \0S\0"s, "バイト順マーク"}),
    [](const testing::TestParamInfo<RefusedCase>& info) { return info.param.name; });

TEST(SaveSourceBytesTest, SavesInTheFormatTheFileWasOpenedIn) {
    SourceFormat format;
    ASSERT_TRUE(openSourceBytes("\xEF\xBB\xBFPGM START\n", "prog.cas", format).ok);
    const PageSaved saved = saveSourceBytes("PGM START\n RET", "prog.cas", format);
    ASSERT_TRUE(saved.ok) << saved.message;
    EXPECT_EQ(saved.bytes, "\xEF\xBB\xBFPGM START\n RET\n");
}

TEST(SaveSourceBytesTest, ANewProgramIsCp932WithCrLf) {
    const PageSaved saved = saveSourceBytes(" DC '\xE3\x81\x82'\n", "new.cas", SourceFormat{});
    ASSERT_TRUE(saved.ok);
    EXPECT_EQ(saved.bytes, " DC '\x82\xA0'\r\n\r\n");
}

TEST(SaveSourceBytesTest, ACharacterWithoutACp932CodeNamesItsLineAndGivesNoBytes) {
    const PageSaved saved = saveSourceBytes("A\n; \xF0\x9F\x98\x80\n", "prog.cas", SourceFormat{});
    EXPECT_FALSE(saved.ok);
    EXPECT_EQ(saved.bytes, "");
    EXPECT_TRUE(saved.message.starts_with("2行目の文字")) << saved.message;
}

TEST(SourceFormatNameTest, EveryFormatComesBackFromItsName) {
    for (const auto encoding :
         {SourceEncoding::Cp932, SourceEncoding::Utf8, SourceEncoding::Utf8WithBom,
          SourceEncoding::Utf16LeWithBom, SourceEncoding::Utf16BeWithBom}) {
        for (const auto lineEnds : {LineEndStyle::CrLf, LineEndStyle::Lf, LineEndStyle::Cr}) {
            const SourceFormat format{encoding, lineEnds};
            EXPECT_EQ(formatFromName(formatName(format)), format) << formatName(format);
        }
    }
}

TEST(SourceFormatNameTest, NamesOfNoFormatGiveNothing) {
    for (const char* name : {"", "cp932", "cp932 ", " crlf", "ebcdic crlf", "cp932 lfcr"}) {
        EXPECT_EQ(formatFromName(name), std::nullopt) << name;
    }
}

} // namespace
} // namespace casl::web
