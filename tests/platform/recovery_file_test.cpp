#include "child_process.h"
#include "platform/recovery_file.h"
#include "scratch_folder.h"

#include <gtest/gtest.h>
#include <string>
#include <sys/stat.h>
#include <thread>

namespace casl::platform {
namespace {

using test::readBytes;
using test::ScratchFolder;
using test::writeBytes;

mode_t modeOf(const std::filesystem::path& path) {
    struct stat info {};
    EXPECT_EQ(::lstat(path.c_str(), &info), 0) << path;
    return info.st_mode & 07777;
}

/// The state folder inside the test's own folder.
class RecoveryFileTest : public testing::Test {
protected:
    std::filesystem::path folder() const { return scratch_.path() / "state" / "varnic"; }

    /// A recovery file as a workbench that crashed leaves it: the text, but no running owner.
    void leaveRecoveryOfACrashedWorkbench(const Recovery& recovery) {
        const test::ChildEnd end = test::runInChild([&] {
            RecoveryFile file;
            if (file.write(recovery)) {
                return false;
            }
            // Ends without the destructor, as a crash would.
            ::_exit(0);
        });
        ASSERT_TRUE(end.passed);
    }

    ScratchFolder scratch_;
    test::EnvironmentVariable stateHome_{"XDG_STATE_HOME", (scratch_.path() / "state").native()};
};

TEST_F(RecoveryFileTest, KeepsTheTextPrivatelyAndRemovesItAtTheEnd) {
    std::filesystem::path path;
    {
        RecoveryFile file;
        EXPECT_TRUE(file.path().empty());
        ASSERT_FALSE(file.write({U"PGM START\r\n; あ", U"/home/student/prog.cas"}));
        path = file.path();
        EXPECT_EQ(path.parent_path(), folder());
        EXPECT_TRUE(path.filename().string().starts_with("unsaved-"));
        EXPECT_EQ(readBytes(path), "varnic-recovery 1\n/home/student/prog.cas\nPGM START\r\n; "
                                   "\xE3\x81\x82");
        EXPECT_EQ(modeOf(path), 0600u);
        EXPECT_EQ(modeOf(folder()), 0700u);
        EXPECT_EQ(modeOf(folder().parent_path()), 0700u);

        ASSERT_FALSE(file.write({U"NEWER", U""}));
        EXPECT_EQ(readBytes(path), "varnic-recovery 1\n\nNEWER");
        EXPECT_EQ(modeOf(path), 0600u);
        EXPECT_EQ(scratch_.entriesOf(folder()).size(), 2u) << "the text and its lock";
    }
    EXPECT_TRUE(scratch_.entriesOf(folder()).empty());
}

TEST_F(RecoveryFileTest, RemoveTakesTheTextAwayAndTheNextWriteBringsItBack) {
    RecoveryFile file;
    ASSERT_FALSE(file.write({U"A", U""}));
    file.remove();
    EXPECT_FALSE(std::filesystem::exists(file.path()));
    ASSERT_FALSE(file.write({U"B", U""}));
    EXPECT_EQ(readBytes(file.path()), "varnic-recovery 1\n\nB");
}

TEST_F(RecoveryFileTest, ARunningWorkbenchsFileIsNotLeftBehind) {
    RecoveryFile file;
    ASSERT_FALSE(file.write({U"MINE", U""}));
    EXPECT_TRUE(leftRecoveries().empty());
}

TEST_F(RecoveryFileTest, ACrashedWorkbenchsFileIsFoundAndCanBeDiscarded) {
    leaveRecoveryOfACrashedWorkbench({U"LOST\r\nTEXT", U"/tmp/a.cas"});
    const auto left = leftRecoveries();
    ASSERT_EQ(left.size(), 1u);
    EXPECT_EQ(left[0].recovery.text, U"LOST\r\nTEXT");
    EXPECT_EQ(left[0].recovery.fileName, U"/tmp/a.cas");
    discardRecovery(left[0]);
    EXPECT_TRUE(leftRecoveries().empty());
    EXPECT_TRUE(scratch_.entriesOf(folder()).empty());
}

TEST_F(RecoveryFileTest, TheNewestLeftFileComesFirst) {
    leaveRecoveryOfACrashedWorkbench({U"OLDER", U""});
    const auto older = leftRecoveries();
    ASSERT_EQ(older.size(), 1u);
    std::filesystem::last_write_time(
        older[0].path, std::filesystem::last_write_time(older[0].path) - std::chrono::hours(1));
    leaveRecoveryOfACrashedWorkbench({U"NEWER", U""});
    const auto left = leftRecoveries();
    ASSERT_EQ(left.size(), 2u);
    EXPECT_EQ(left[0].recovery.text, U"NEWER");
    EXPECT_EQ(left[1].recovery.text, U"OLDER");
}

TEST_F(RecoveryFileTest, ABrokenFileIsRemovedAndOtherFilesAreLeftAlone) {
    std::filesystem::create_directories(folder());
    writeBytes(folder() / "unsaved-AAAAAA.txt", "");
    writeBytes(folder() / "notes.txt", "mine");
    EXPECT_TRUE(leftRecoveries().empty());
    EXPECT_EQ(scratch_.entriesOf(folder()), std::vector<std::string>{"notes.txt"});
}

TEST_F(RecoveryFileTest, DefaultsToTheStateFolderInHome) {
    const test::EnvironmentVariable home("HOME", (scratch_.path() / "home").native());
    ::unsetenv("XDG_STATE_HOME");
    RecoveryFile file;
    ASSERT_FALSE(file.write({U"A", U""}));
    EXPECT_EQ(file.path().parent_path(), scratch_.path() / "home" / ".local" / "state" / "varnic");
}

TEST_F(RecoveryFileTest, ReportsAStateFolderThatCannotBeMade) {
    writeBytes(scratch_.path() / "state", "a file where the folder belongs");
    RecoveryFile file;
    const auto error = file.write({U"A", U""});
    ASSERT_TRUE(error);
    EXPECT_EQ(error->kind, FileErrorKind::CannotWrite);
}

} // namespace
} // namespace casl::platform
