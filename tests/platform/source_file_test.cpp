#include "platform/source_file.h"
#include "platform/text_codec.h"
#include "scratch_folder.h"

#include <gtest/gtest.h>
#include <string>
#include <system_error>

namespace casl::platform {
namespace {

using namespace std::string_literals;

struct DetectionCase {
    std::string name;
    std::string bytes;
    std::u32string text;
    SourceEncoding encoding;
    LineEndStyle lineEnds;
};

void PrintTo(const DetectionCase& item, std::ostream* out) {
    *out << item.name;
}

class SourceDetectionTest : public testing::TestWithParam<DetectionCase> {};

TEST_P(SourceDetectionTest, ReadsEveryCharacterInTheEncodingFound) {
    const auto result = decodeSourceBytes(GetParam().bytes);
    ASSERT_TRUE(std::holds_alternative<SourceText>(result));
    const auto& source = std::get<SourceText>(result);
    EXPECT_EQ(source.text, GetParam().text);
    EXPECT_EQ(source.encoding, GetParam().encoding);
    EXPECT_EQ(source.lineEnds, GetParam().lineEnds);
}

INSTANTIATE_TEST_SUITE_P(
    Files, SourceDetectionTest,
    testing::Values(DetectionCase{"Empty", "", U"", SourceEncoding::Cp932, LineEndStyle::CrLf},
                    DetectionCase{"AsciiIsCp932", "PGM START\r\n RET\r\n", U"PGM START\r\n RET\r\n",
                                  SourceEncoding::Cp932, LineEndStyle::CrLf},
                    DetectionCase{"BomAscii",
                                  "\xEF\xBB\xBF"
                                  "A\nB\n",
                                  U"A\nB\n", SourceEncoding::Utf8WithBom, LineEndStyle::Lf},
                    DetectionCase{"BomJapanese", "\xEF\xBB\xBF\xE3\x81\x82\r", U"あ\r",
                                  SourceEncoding::Utf8WithBom, LineEndStyle::Cr},
                    DetectionCase{"Utf8Japanese", " DC '\xE3\x81\x82\xE2\x91\xA0'\n",
                                  U" DC 'あ①'\n", SourceEncoding::Utf8, LineEndStyle::Lf},
                    DetectionCase{"Cp932Japanese", " DC '\x82\xA0\x87\x40'\r\n\xB1\r\n",
                                  U" DC 'あ①'\r\nｱ\r\n", SourceEncoding::Cp932, LineEndStyle::CrLf},
                    // Half-width katakana pairs can form valid UTF-8; such a file is read as UTF-8.
                    DetectionCase{"Cp932ThatIsValidUtf8", "\xC3\xB0", U"ð", SourceEncoding::Utf8,
                                  LineEndStyle::CrLf},
                    DetectionCase{"NulInCp932", "A\0B\r\n"s, U"A\0B\r\n"s, SourceEncoding::Cp932,
                                  LineEndStyle::CrLf},
                    DetectionCase{"NulInUtf8", "\0\xE3\x81\x82"s, U"\0あ"s, SourceEncoding::Utf8,
                                  LineEndStyle::CrLf},
                    DetectionCase{"MixedLineEndsKept", "a\r\nb\nc\rd\n", U"a\r\nb\nc\rd\n",
                                  SourceEncoding::Cp932, LineEndStyle::Lf},
                    DetectionCase{"Utf16LittleEndian", "\xFF\xFEP\0 \0\x42\x30\r\0\n\0"s,
                                  U"P あ\r\n", SourceEncoding::Utf16LeWithBom, LineEndStyle::CrLf},
                    DetectionCase{"Utf16BigEndian", "\xFE\xFF\0A\x30\x42\xD8\x3D\xDE\0\0\n"s,
                                  U"Aあ\U0001F600\n", SourceEncoding::Utf16BeWithBom,
                                  LineEndStyle::Lf},
                    DetectionCase{"Utf16MarkOnly", "\xFF\xFE", U"", SourceEncoding::Utf16LeWithBom,
                                  LineEndStyle::CrLf},
                    // Japanese text in UTF-16 has no NULs; the mark alone tells.
                    DetectionCase{"Utf16JapaneseOnly", "\xFF\xFE\x42\x30\x44\x30"s, U"あい",
                                  SourceEncoding::Utf16LeWithBom, LineEndStyle::CrLf},
                    // A few NULs in a short text are characters, not a sign of UTF-16.
                    DetectionCase{"FewNulsAreCp932", "A\0B\0C\0"s, U"A\0B\0C\0"s,
                                  SourceEncoding::Cp932, LineEndStyle::CrLf}),
    [](const auto& info) { return info.param.name; });

struct RefusalCase {
    std::string name;
    std::string bytes;
    std::size_t line;
};

void PrintTo(const RefusalCase& item, std::ostream* out) {
    *out << item.name;
}

class SourceRefusalTest : public testing::TestWithParam<RefusalCase> {};

TEST_P(SourceRefusalTest, NamesTheLineOfTheFirstBadByte) {
    const auto result = decodeSourceBytes(GetParam().bytes, "prog.cas");
    ASSERT_TRUE(std::holds_alternative<FileError>(result));
    const auto& error = std::get<FileError>(result);
    EXPECT_EQ(error.kind, FileErrorKind::Undecodable);
    EXPECT_EQ(error.line, GetParam().line);
    const std::u32string lineText = U": " + std::u32string(1, U'0' + GetParam().line) + U"行目に";
    EXPECT_NE(error.message.find(U"prog.cas" + lineText), std::u32string::npos);
}

INSTANTIATE_TEST_SUITE_P(
    Files, SourceRefusalTest,
    testing::Values(RefusalCase{"BadOnLine3", "L1\r\nL2\n\x82\xA0\x80\r\nL4\r\n", 3},
                    RefusalCase{"LoneCrCounts", "a\rb\r\n\xFF", 3},
                    RefusalCase{"CutOffLeadByteAtEnd", "A\r\nB\r\n\x82\xA0\x82", 3},
                    // UTF-8 would fail on line 3, but CP932, the default reading, on line 1.
                    RefusalCase{"PositionOfTheCp932Reading", "\xE3\x81\x82\n\n\x80", 1},
                    // After a byte-order mark the file declares UTF-8, so UTF-8 decides.
                    RefusalCase{"BadUtf8AfterBom",
                                "\xEF\xBB\xBF"
                                "A\r\n\x82\xA0",
                                2},
                    RefusalCase{"LoneSurrogateInUtf16", "\xFF\xFEL\0\n\0\x00\xDC"s, 2},
                    RefusalCase{"HighSurrogateWithoutItsPair", "\xFE\xFF\0\r\0\r\xD8\x3D\0A"s, 3},
                    RefusalCase{"OddByteAtTheEndOfUtf16",
                                "\xFF\xFE"
                                "A\0\r\0\n\0B"s,
                                2}),
    [](const auto& info) { return info.param.name; });

TEST(SourceRefusalTest, SaysWhichEncodingsWereTried) {
    const auto plain = std::get<FileError>(decodeSourceBytes("\x80"));
    EXPECT_EQ(plain.message, U"1行目に CP932 としても UTF-8 としても読めないバイトがあります");
    const auto bom = std::get<FileError>(decodeSourceBytes("\xEF\xBB\xBF\x80"));
    EXPECT_EQ(bom.message, U"1行目に UTF-8 として読めないバイトがあります");
}

TEST(SourceRefusalTest, NamesUtf16AsTheEncodingOfItsMark) {
    const auto error = std::get<FileError>(decodeSourceBytes("\xFF\xFE\x00\xDC"s));
    EXPECT_EQ(error.message, U"1行目に UTF-16 として読めないバイトがあります");
}

struct Utf16WithoutMarkCase {
    std::string name;
    std::string bytes;
};

void PrintTo(const Utf16WithoutMarkCase& file, std::ostream* out) {
    *out << file.name;
}

class Utf16WithoutMarkTest : public testing::TestWithParam<Utf16WithoutMarkCase> {};

TEST_P(Utf16WithoutMarkTest, SaysTheFileLooksLikeUtf16) {
    const auto result = decodeSourceBytes(GetParam().bytes, "prog.cas");
    ASSERT_TRUE(std::holds_alternative<FileError>(result));
    const auto& error = std::get<FileError>(result);
    EXPECT_EQ(error.kind, FileErrorKind::Undecodable);
    EXPECT_TRUE(
        error.message.starts_with(U"prog.cas: UTF-16 のファイルのようですが、バイト順マーク"))
        << toUtf8(error.message);
}

INSTANTIATE_TEST_SUITE_P(
    Files, Utf16WithoutMarkTest,
    testing::Values(Utf16WithoutMarkCase{"LittleEndian", "P\0 \0S\0T\0A\0R\0T\0\r\0\n\0"s},
                    Utf16WithoutMarkCase{"BigEndian", "\0P\0 \0S\0T\0A\0R\0T\0\r\0\n"s},
                    // Half the pairs are ASCII beside a NUL; the others are Japanese.
                    Utf16WithoutMarkCase{"MixedWithJapanese", ";\0 \0\x42\x30\x44\x30"s}),
    [](const auto& info) { return info.param.name; });

TEST(ReadSourceFileTest, ReadsTheWholeFileWithItsLineEnds) {
    test::ScratchFolder folder;
    const auto path = folder.path() / "prog.cas";
    test::writeBytes(path, "PGM\tSTART\r\n\tDC\t'\x82\xA0'\n\tEND\r\0"s);
    const auto result = readSourceFile(path);
    ASSERT_TRUE(std::holds_alternative<SourceText>(result));
    EXPECT_EQ(std::get<SourceText>(result).text, U"PGM\tSTART\r\n\tDC\t'あ'\n\tEND\r\0"s);
    EXPECT_EQ(std::get<SourceText>(result).encoding, SourceEncoding::Cp932);
}

TEST(ReadSourceFileTest, ReportsAMissingFileWithTheSystemsReason) {
    test::ScratchFolder folder;
    const auto path = folder.path() / "missing.cas";
    const auto result = readSourceFile(path);
    ASSERT_TRUE(std::holds_alternative<FileError>(result));
    const auto& error = std::get<FileError>(result);
    EXPECT_EQ(error.kind, FileErrorKind::CannotOpen);
    EXPECT_EQ(error.path, path);
    EXPECT_EQ(error.reason, std::generic_category().message(ENOENT));
    EXPECT_EQ(error.message,
              U"ファイルを開けません: " + fromUtf8(path.native()) + U" (ファイルがありません)");
}

TEST(ReadSourceFileTest, RefusesAFolderWithoutReadingIt) {
    test::ScratchFolder folder;
    const auto result = readSourceFile(folder.path());
    ASSERT_TRUE(std::holds_alternative<FileError>(result));
    EXPECT_EQ(std::get<FileError>(result).kind, FileErrorKind::NotRegularFile);
    EXPECT_EQ(std::get<FileError>(result).reason, "not a regular file (folder)");
}

} // namespace
} // namespace casl::platform
