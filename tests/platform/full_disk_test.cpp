// A save on a full file system: the file-size limit of a child process stands in for the disk.
#include "platform/file_writer.h"
#include "scratch_folder.h"

#include <csignal>
#include <gtest/gtest.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace casl::platform {
namespace {

using test::readBytes;
using test::ScratchFolder;
using test::writeBytes;

TEST(FullDiskSave, LeavesTheTargetIntactAndNoTemporaryFile) {
    ScratchFolder folder;
    const auto path = folder.path() / "prog.cas";
    const std::string original = "PGM START\r\n RET\r\n END\r\n";
    writeBytes(path, original);
    const std::u32string bigger(8192, U'A');

    const pid_t child = fork();
    ASSERT_NE(child, -1);
    if (child == 0) {
        // Past the limit write() fails with EFBIG, as it fails with ENOSPC on a full disk.
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{1024, 1024};
        setrlimit(RLIMIT_FSIZE, &limit);
        const auto error = writeSourceFile(path, bigger, SourceEncoding::Cp932, LineEndStyle::CrLf);
        const bool reported = error && error->kind == FileErrorKind::CannotWrite &&
                              error->message.starts_with(U"ファイルに書き込めません: ");
        _exit(reported ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "the failed save was not reported";
    EXPECT_EQ(readBytes(path), original);
    EXPECT_EQ(folder.entries(), std::vector<std::string>{"prog.cas"});
}

} // namespace
} // namespace casl::platform
