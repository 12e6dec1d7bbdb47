#include "platform/file_writer.h"
#include "platform/source_file.h"
#include "platform/text_codec.h"
#include "scratch_folder.h"

#include <cerrno>
#include <gtest/gtest.h>
#include <string>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace casl::platform {
namespace {

using namespace std::string_literals;
using test::readBytes;
using test::ScratchFolder;
using test::writeBytes;

struct SaveCase {
    std::string name;
    std::u32string editorText;
    SourceEncoding encoding;
    LineEndStyle lineEnds;
    std::string bytes;
};

void PrintTo(const SaveCase& item, std::ostream* out) {
    *out << item.name;
}

class WriteSourceFileTest : public testing::TestWithParam<SaveCase> {};

TEST_P(WriteSourceFileTest, WritesTheTextAndOneLineEndInTheFilesStyle) {
    ScratchFolder folder;
    const auto path = folder.path() / "prog.cas";
    const auto error =
        writeSourceFile(path, GetParam().editorText, GetParam().encoding, GetParam().lineEnds);
    ASSERT_FALSE(error) << toUtf8(error->message);
    EXPECT_EQ(readBytes(path), GetParam().bytes);
    EXPECT_EQ(folder.entries(), std::vector<std::string>{"prog.cas"});
}

INSTANTIATE_TEST_SUITE_P(
    Styles, WriteSourceFileTest,
    testing::Values(
        SaveCase{"EmptyEditor", U"", SourceEncoding::Cp932, LineEndStyle::CrLf, "\r\n"},
        SaveCase{"Cp932CrLf", U"PGM\tSTART\r\n\tDC\t'あ①'", SourceEncoding::Cp932,
                 LineEndStyle::CrLf, "PGM\tSTART\r\n\tDC\t'\x82\xA0\x87\x40'\r\n"},
        SaveCase{"Cp932Lf", U"A\r\nｱ\r\n", SourceEncoding::Cp932, LineEndStyle::Lf, "A\n\xB1\n\n"},
        SaveCase{"Cp932Cr", U"A\r\nB", SourceEncoding::Cp932, LineEndStyle::Cr, "A\rB\r"},
        SaveCase{"Utf8Lf", U"あ\r\n\U0001F600", SourceEncoding::Utf8, LineEndStyle::Lf,
                 "\xE3\x81\x82\n\xF0\x9F\x98\x80\n"},
        SaveCase{"Utf8WithBomCrLf", U"é", SourceEncoding::Utf8WithBom, LineEndStyle::CrLf,
                 "\xEF\xBB\xBF\xC3\xA9\r\n"},
        SaveCase{"EmptyUtf8WithBom", U"", SourceEncoding::Utf8WithBom, LineEndStyle::Lf,
                 "\xEF\xBB\xBF\n"},
        // Only CR LF pairs are line ends of the editor; a lone LF is a character like others.
        SaveCase{"LoneLineEndsKept", U"a\nb\rc", SourceEncoding::Cp932, LineEndStyle::CrLf,
                 "a\nb\rc\r\n"},
        SaveCase{"NulKept", U"A\0B"s, SourceEncoding::Cp932, LineEndStyle::CrLf, "A\0B\r\n"s},
        SaveCase{"Utf16LittleEndianCrLf", U"Aあ", SourceEncoding::Utf16LeWithBom,
                 LineEndStyle::CrLf,
                 "\xFF\xFE"
                 "A\0\x42\x30\r\0\n\0"s},
        SaveCase{"Utf16BigEndianLf", U"\U0001F600\r\nB", SourceEncoding::Utf16BeWithBom,
                 LineEndStyle::Lf, "\xFE\xFF\xD8\x3D\xDE\x00\0\n\0B\0\n"s}),
    [](const auto& info) { return info.param.name; });

struct RoundTripCase {
    std::string name;
    std::string original;
    std::string lineEnd; ///< The bytes of one line end in the file's encoding.
};

void PrintTo(const RoundTripCase& file, std::ostream* out) {
    *out << file.name;
}

class SaveBackTest : public testing::TestWithParam<RoundTripCase> {};

TEST_P(SaveBackTest, OpenThenSaveAddsOneLineEndInTheFilesOwnEncoding) {
    ScratchFolder folder;
    const auto path = folder.path() / "prog.cas";
    const std::string& original = GetParam().original;
    writeBytes(path, original);
    const auto read = readSourceFile(path);
    ASSERT_TRUE(std::holds_alternative<SourceText>(read));
    const auto& source = std::get<SourceText>(read);
    ASSERT_FALSE(writeSourceFile(path, source.text, source.encoding, source.lineEnds));
    EXPECT_EQ(readBytes(path), original + GetParam().lineEnd);
}

INSTANTIATE_TEST_SUITE_P(
    Encodings, SaveBackTest,
    testing::Values(RoundTripCase{"Utf8WithBom", "\xEF\xBB\xBFPGM START\n DC '\xE3\x81\x82'\n END",
                                  "\n"},
                    RoundTripCase{"Utf16LittleEndian", "\xFF\xFEP\0\r\0\n\0\x42\x30"s, "\r\0\n\0"s},
                    RoundTripCase{"Utf16BigEndian", "\xFE\xFF\0P\0\r\0\r\x30\x42"s, "\0\r"s}),
    [](const auto& info) { return info.param.name; });

TEST(WriteSourceFileTest, ReplacesAnExistingFileAndKeepsItsPermissions) {
    ScratchFolder folder;
    const auto path = folder.path() / "prog.cas";
    writeBytes(path, "old contents that are longer than the new ones\r\n");
    ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
    ASSERT_FALSE(writeSourceFile(path, U"NEW", SourceEncoding::Cp932, LineEndStyle::CrLf));
    EXPECT_EQ(readBytes(path), "NEW\r\n");
    struct stat info {};
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
}

TEST(WriteSourceFileTest, SavesThroughASymbolicLinkIntoTheFileItPointsTo) {
    ScratchFolder folder;
    const auto real = folder.path() / "real.cas";
    const auto link = folder.path() / "link.cas";
    writeBytes(real, "OLD\r\n");
    std::filesystem::create_symlink(real, link);
    ASSERT_FALSE(writeSourceFile(link, U"NEW", SourceEncoding::Cp932, LineEndStyle::CrLf));
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(readBytes(real), "NEW\r\n");
}

TEST(WriteSourceFileTest, PassesOverFilesThatEarlierSavesOfThisProcessIdLeftBehind) {
    ScratchFolder folder;
    const auto path = folder.path() / "prog.cas";
    const std::string stem = ".casl2-save-" + std::to_string(::getpid()) + "-";
    for (const char* attempt : {"0", "1"}) {
        writeBytes(folder.path() / (stem + attempt + ".tmp"), "left");
    }
    for (const char32_t* text : {U"FIRST", U"SECOND"}) {
        ASSERT_FALSE(writeSourceFile(path, text, SourceEncoding::Cp932, LineEndStyle::CrLf));
    }
    EXPECT_EQ(readBytes(path), "SECOND\r\n");
    EXPECT_EQ(readBytes(folder.path() / (stem + "0.tmp")), "left");
    EXPECT_EQ(readBytes(folder.path() / (stem + "1.tmp")), "left");
    EXPECT_FALSE(std::filesystem::exists(folder.path() / (stem + "2.tmp")));
}

struct UnencodableCase {
    std::string name;
    std::u32string editorText;
    SourceEncoding encoding;
    std::size_t line;
    std::u32string messageStart;
};

void PrintTo(const UnencodableCase& item, std::ostream* out) {
    *out << item.name;
}

class UnencodableSaveTest : public testing::TestWithParam<UnencodableCase> {};

TEST_P(UnencodableSaveTest, StopsBeforeWritingAndNamesTheLine) {
    ScratchFolder folder;
    const auto existing = folder.path() / "existing.cas";
    const auto fresh = folder.path() / "fresh.cas";
    writeBytes(existing, "KEEP\r\n");
    for (const auto& path : {existing, fresh}) {
        const auto error =
            writeSourceFile(path, GetParam().editorText, GetParam().encoding, LineEndStyle::CrLf);
        ASSERT_TRUE(error);
        EXPECT_EQ(error->kind, FileErrorKind::Unencodable);
        EXPECT_EQ(error->line, GetParam().line);
        EXPECT_TRUE(error->message.starts_with(GetParam().messageStart)) << toUtf8(error->message);
    }
    EXPECT_EQ(readBytes(existing), "KEEP\r\n");
    EXPECT_EQ(folder.entries(), std::vector<std::string>{"existing.cas"});
}

INSTANTIATE_TEST_SUITE_P(
    Texts, UnencodableSaveTest,
    testing::Values(UnencodableCase{"EmojiInCp932", U"A\r\nB\r\n DC '\U0001F600'",
                                    SourceEncoding::Cp932, 3,
                                    U"3行目の文字「\U0001F600」(U+1F600)は CP932 で保存できません"},
                    UnencodableCase{"AccentOnFirstLine", U"é", SourceEncoding::Cp932, 1,
                                    U"1行目の文字「é」(U+00E9)は CP932"},
                    UnencodableCase{"LoneLineEndsCount", U"a\rb\nc\r\n\x80"s, SourceEncoding::Cp932,
                                    4, U"4行目の文字(U+0080)"},
                    UnencodableCase{"SurrogateInUtf8", U"A\r\n\xDC00"s, SourceEncoding::Utf8, 2,
                                    U"2行目の文字(U+DC00)は UTF-8 で保存できません"},
                    UnencodableCase{"SurrogateInUtf16", U"\xD800"s, SourceEncoding::Utf16BeWithBom,
                                    1, U"1行目の文字(U+D800)は UTF-16 で保存できません"}),
    [](const auto& info) { return info.param.name; });

/// System calls that fail at one chosen step, after doing part of the work for a write.
class FailingCalls : public FileCalls {
public:
    enum class Step { Access, Open, Write, Fsync, Close, Rename };
    explicit FailingCalls(Step step) : step_(step) {}

    int openNew(const char* path, mode_t mode) override {
        return fail(Step::Open) ? -1 : FileCalls::openNew(path, mode);
    }
    ssize_t write(int fd, const void* data, std::size_t size) override {
        // The first write gets half the bytes out, so a partial file is on disk when it fails.
        if (step_ == Step::Write && writes_++ > 0) {
            errno = ENOSPC;
            return -1;
        }
        return FileCalls::write(fd, data, step_ == Step::Write ? size / 2 : size);
    }
    int fsync(int fd) override { return fail(Step::Fsync) ? -1 : FileCalls::fsync(fd); }
    int close(int fd) override {
        // The descriptor is released even when close reports an error, as the system does.
        const int result = FileCalls::close(fd);
        return fail(Step::Close) ? -1 : result;
    }
    int rename(const char* from, const char* to) override {
        return fail(Step::Rename) ? -1 : FileCalls::rename(from, to);
    }
    // Root may write every file, so a read-only target can only be had this way.
    int access(const char* path, int mode) override {
        return fail(Step::Access) ? -1 : FileCalls::access(path, mode);
    }

private:
    bool fail(Step step) {
        if (step != step_) {
            return false;
        }
        // A folder that refuses new files (EACCES) is written in place; a full one is not.
        errno = step == Step::Access ? EACCES : step == Step::Open ? ENOSPC : EIO;
        return true;
    }
    Step step_;
    int writes_ = 0;
};

struct FailureCase {
    std::string name;
    FailingCalls::Step step;
    int errorNumber;
};

void PrintTo(const FailureCase& item, std::ostream* out) {
    *out << item.name;
}

class FailedSaveTest : public testing::TestWithParam<FailureCase> {};

TEST_P(FailedSaveTest, LeavesTheTargetIntactAndNoTemporaryFile) {
    ScratchFolder folder;
    const auto path = folder.path() / "prog.cas";
    const std::string original = "PGM START\r\n RET\r\n END\r\n";
    writeBytes(path, original);
    FailingCalls calls(GetParam().step);
    const auto error = writeSourceFile(path, U"NEW TEXT THAT IS LONGER THAN ONE WRITE",
                                       SourceEncoding::Cp932, LineEndStyle::CrLf, calls);
    ASSERT_TRUE(error);
    EXPECT_EQ(error->kind, FileErrorKind::CannotWrite);
    EXPECT_EQ(error->path, path);
    EXPECT_EQ(error->reason, std::generic_category().message(GetParam().errorNumber));
    EXPECT_TRUE(error->message.starts_with(U"ファイルに書き込めません: "));
    EXPECT_EQ(readBytes(path), original);
    EXPECT_EQ(folder.entries(), std::vector<std::string>{"prog.cas"});
}

INSTANTIATE_TEST_SUITE_P(
    Steps, FailedSaveTest,
    testing::Values(FailureCase{"ReadOnlyTarget", FailingCalls::Step::Access, EACCES},
                    FailureCase{"Open", FailingCalls::Step::Open, ENOSPC},
                    FailureCase{"WritePartWay", FailingCalls::Step::Write, ENOSPC},
                    FailureCase{"Fsync", FailingCalls::Step::Fsync, EIO},
                    FailureCase{"Close", FailingCalls::Step::Close, EIO},
                    FailureCase{"Rename", FailingCalls::Step::Rename, EIO}),
    [](const auto& info) { return info.param.name; });

TEST(FailedSaveTest, ReportsAMissingFolder) {
    ScratchFolder folder;
    const auto path = folder.path() / "no-such-folder" / "prog.cas";
    const auto error = writeSourceFile(path, U"A", SourceEncoding::Cp932, LineEndStyle::CrLf);
    ASSERT_TRUE(error);
    EXPECT_EQ(error->kind, FileErrorKind::CannotWrite);
    EXPECT_EQ(error->reason, std::generic_category().message(ENOENT));
    EXPECT_TRUE(folder.entries().empty());
}

} // namespace
} // namespace casl::platform
