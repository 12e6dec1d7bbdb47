#include "platform/file_error.h"
#include "platform/text_codec.h"

#include <cerrno>
#include <gtest/gtest.h>
#include <ostream>
#include <string>
#include <system_error>

namespace casl::platform {
namespace {

const std::filesystem::path path = "/home/student/prog.cas";

struct ReasonCase {
    std::string name;
    FileErrorKind kind;
    int errorNumber;
    std::u32string shown; ///< What the message says in its parentheses.
};

void PrintTo(const ReasonCase& c, std::ostream* out) {
    *out << c.name;
}

class SystemReasonTest : public testing::TestWithParam<ReasonCase> {};

// The common reasons read as Japanese; the system's own English stays in `reason` for casl2's
// English messages, and in the message only for the rare reasons that have no sentence.
TEST_P(SystemReasonTest, ReadsAsAJapaneseSentence) {
    const ReasonCase& c = GetParam();
    const FileError error = systemFileError(c.kind, path, c.errorNumber);
    const std::u32string lead = c.kind == FileErrorKind::CannotOpen ? U"ファイルを開けません: "
                                : c.kind == FileErrorKind::CannotRead
                                    ? U"ファイルを読み込めません: "
                                    : U"ファイルに書き込めません: ";
    EXPECT_EQ(error.message, lead + fromUtf8(path.native()) + U" (" + c.shown + U")");
    EXPECT_EQ(error.reason, std::generic_category().message(c.errorNumber));
}

INSTANTIATE_TEST_SUITE_P(
    Reasons, SystemReasonTest,
    testing::Values(
        ReasonCase{"NoPermissionToWrite", FileErrorKind::CannotWrite, EACCES,
                   U"書き込む権限がありません"},
        ReasonCase{"NotPermittedToWrite", FileErrorKind::CannotWrite, EPERM,
                   U"書き込む権限がありません"},
        ReasonCase{"NoPermissionToOpen", FileErrorKind::CannotOpen, EACCES,
                   U"読む権限がありません"},
        ReasonCase{"DiskFull", FileErrorKind::CannotWrite, ENOSPC, U"ディスクの空きが足りません"},
        ReasonCase{"QuotaReached", FileErrorKind::CannotWrite, EDQUOT,
                   U"ディスクの使用量の上限に達しています"},
        ReasonCase{"ReadOnlyFileSystem", FileErrorKind::CannotWrite, EROFS,
                   U"読み取り専用のファイルシステムです"},
        ReasonCase{"FileNotFound", FileErrorKind::CannotOpen, ENOENT, U"ファイルがありません"},
        ReasonCase{"FolderNotFound", FileErrorKind::CannotWrite, ENOENT,
                   U"保存先のフォルダがありません"},
        ReasonCase{"PathThroughAFile", FileErrorKind::CannotOpen, ENOTDIR,
                   U"途中のフォルダがありません"},
        ReasonCase{"FileTooLarge", FileErrorKind::CannotWrite, EFBIG, U"ファイルが大きすぎます"},
        ReasonCase{"NameTooLong", FileErrorKind::CannotOpen, ENAMETOOLONG,
                   U"ファイル名が長すぎます"},
        ReasonCase{"RareReasonKeepsTheSystemsText", FileErrorKind::CannotRead, EIO,
                   fromUtf8(std::generic_category().message(EIO))}),
    [](const auto& info) { return info.param.name; });

TEST(SystemReasonTest, SavesThatStopOrCannotBeUndoneGiveTheReasonInJapanese) {
    const FileError backup = backupFailedFileError(path, ENOSPC);
    EXPECT_EQ(backup.message, U"ファイルに書き込めません: " + fromUtf8(path.native()) +
                                  U" (元の内容の控えを作れないため、保存をやめました: "
                                  U"ディスクの空きが足りません)");
    EXPECT_EQ(backup.reason,
              "cannot keep a copy of the old contents: " + std::generic_category().message(ENOSPC));

    const FileError restore = restoreFailedFileError(path, EROFS, "/tmp/prog.cas~");
    EXPECT_EQ(restore.message, U"ファイルに書き込めません: " + fromUtf8(path.native()) +
                                   U" (読み取り専用のファイルシステムです。書きかけのファイルを元に"
                                   U"戻せませんでした。元の内容は /tmp/prog.cas~ にあります)");
}

} // namespace
} // namespace casl::platform
