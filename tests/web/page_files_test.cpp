#include "web/binding/page_files.h"
#include "web/binding/page_workbench.h"

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

/// Opens the file `name` holding `bytes` as the page does: the file picker's file is offered,
/// then named in the open dialog's answer.
void open(PageWorkbench& workbench, const std::string& bytes, const std::string& name) {
    workbench.offerFile(name, bytes);
    workbench.openFile("");
    ASSERT_EQ(workbench.view().box.kind, "openName");
    workbench.answer(PageAnswer{"ok", name, false});
}

/// Saves the page's text under `name` with 名前を付けて保存.
void saveAs(PageWorkbench& workbench, const std::string& text, const std::string& name) {
    workbench.saveAs(text);
    ASSERT_EQ(workbench.view().box.kind, "saveName");
    workbench.answer(PageAnswer{"ok", name, false});
}

class OpenSourceBytesTest : public testing::TestWithParam<OpenCase> {};

TEST_P(OpenSourceBytesTest, GivesTheEditorTextAndKeepsHowTheFileIsStored) {
    PageWorkbench workbench;
    workbench.restoreFile("", "utf16be cr", false);
    open(workbench, GetParam().bytes, "prog.cas");
    const PageView view = workbench.view();
    EXPECT_EQ(view.box.kind, "") << view.box.text;
    EXPECT_EQ(view.editor.text, GetParam().text);
    EXPECT_EQ(view.fileName, "prog.cas");
    EXPECT_EQ(workbench.fileFormat(), GetParam().format);
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
    PageWorkbench workbench;
    workbench.restoreFile("", "utf8 lf", false);
    open(workbench, GetParam().bytes, "prog.cas");
    const PageView view = workbench.view();
    EXPECT_EQ(view.box.kind, "message");
    EXPECT_EQ(view.box.purpose, "fileMessage");
    EXPECT_NE(view.box.text.find(GetParam().reason), std::string::npos) << view.box.text;
    EXPECT_NE(view.box.text.find("prog.cas"), std::string::npos) << view.box.text;
    EXPECT_EQ(view.fileName, "");
    EXPECT_EQ(workbench.fileFormat(), "utf8 lf");
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

TEST(PageSaveTest, SavesInTheFormatTheFileWasOpenedIn) {
    PageWorkbench workbench;
    open(workbench, "\xEF\xBB\xBFPGM START\n", "prog.cas");
    saveAs(workbench, "PGM START\n RET", "prog.cas");
    const PageDownload download = workbench.takeDownload();
    ASSERT_TRUE(download.ok);
    EXPECT_EQ(download.name, "prog.cas");
    EXPECT_EQ(download.bytes, "\xEF\xBB\xBFPGM START\n RET\n");
    // Taken once.
    EXPECT_FALSE(workbench.takeDownload().ok);
}

TEST(PageSaveTest, ANewProgramIsCp932WithCrLf) {
    PageWorkbench workbench;
    saveAs(workbench, " DC '\xE3\x81\x82'\n", "new.cas");
    EXPECT_EQ(workbench.takeDownload().bytes, " DC '\x82\xA0'\r\n\r\n");
}

TEST(PageSaveTest, ACharacterWithoutACp932CodeNamesItsLineAndGivesNoDownload) {
    PageWorkbench workbench;
    saveAs(workbench, "A\n; \xF0\x9F\x98\x80\n", "prog.cas");
    EXPECT_FALSE(workbench.takeDownload().ok);
    const PageView view = workbench.view();
    EXPECT_EQ(view.box.kind, "message");
    EXPECT_TRUE(view.box.text.starts_with("ディスクに書き込めません\n\n2行目の文字"))
        << view.box.text;
    EXPECT_EQ(view.fileName, "");
}

TEST(PageSaveTest, AFileThatWasNotOfferedCannotBeOpened) {
    PageWorkbench workbench;
    workbench.openFile("");
    workbench.answer(PageAnswer{"ok", "never.cas", false});
    EXPECT_EQ(workbench.view().box.purpose, "fileMessage");
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
