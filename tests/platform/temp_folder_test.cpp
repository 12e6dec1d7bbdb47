#include "platform/temp_folder.h"
#include "scratch_folder.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace casl::platform {
namespace {

/// Points $TMPDIR at a scratch folder and starts every test without a temporary folder.
class TemporaryFolderTest : public testing::Test {
protected:
    void SetUp() override {
        if (const char* old = std::getenv("TMPDIR")) {
            oldTmpdir_ = old;
        }
        ::setenv("TMPDIR", scratch_.path().c_str(), 1);
        removeTemporaryFolder();
    }
    void TearDown() override {
        removeTemporaryFolder();
        if (oldTmpdir_) {
            ::setenv("TMPDIR", oldTmpdir_->c_str(), 1);
        } else {
            ::unsetenv("TMPDIR");
        }
    }

    static std::filesystem::path folderOrFail() {
        auto folder = temporaryFolder();
        if (auto* error = std::get_if<FileError>(&folder)) {
            ADD_FAILURE() << error->reason;
            return {};
        }
        return std::get<std::filesystem::path>(folder);
    }

    static mode_t modeOf(const std::filesystem::path& path) {
        struct stat info {};
        EXPECT_EQ(::lstat(path.c_str(), &info), 0);
        return info.st_mode & 07777;
    }

    std::filesystem::path expectedName() const {
        const std::string pid = std::to_string(::getpid());
        const std::string name = std::get<std::filesystem::path>(temporaryFolder()).filename();
        EXPECT_TRUE(name.starts_with("casl2-")) << name;
        EXPECT_TRUE(name.ends_with("-" + pid)) << name;
        return scratch_.path() / name;
    }

    test::ScratchFolder scratch_;
    std::optional<std::string> oldTmpdir_;
};

TEST_F(TemporaryFolderTest, IsCreatedPrivateInTmpdirAndNamedAfterTheProcess) {
    const mode_t oldMask = ::umask(0277);
    const auto folder = folderOrFail();
    ::umask(oldMask);
    EXPECT_EQ(folder.parent_path(), scratch_.path());
    EXPECT_EQ(folder, expectedName());
    EXPECT_TRUE(std::filesystem::is_directory(folder));
    EXPECT_EQ(modeOf(folder), 0700u);
    EXPECT_EQ(folderOrFail(), folder);
}

TEST_F(TemporaryFolderTest, GivesThePathsOfTheScratchFiles) {
    const auto folder = folderOrFail();
    EXPECT_EQ(std::get<std::filesystem::path>(temporaryFilePath(infoFileName)),
              folder / "info.tmp");
    EXPECT_EQ(std::get<std::filesystem::path>(temporaryFilePath(scratchFileName)),
              folder / "temp.temp");
}

TEST_F(TemporaryFolderTest, IsRemovedWithItsFilesAndMadeAgainOnNextUse) {
    const auto folder = folderOrFail();
    test::writeBytes(folder / "info.tmp", "x");
    removeTemporaryFolder();
    EXPECT_FALSE(std::filesystem::exists(folder));
    const auto path = temporaryFilePath("temp.temp");
    ASSERT_TRUE(std::holds_alternative<std::filesystem::path>(path));
    EXPECT_TRUE(std::filesystem::is_directory(folder));
}

TEST_F(TemporaryFolderTest, IsMadeAgainWhenACleanerRemovedIt) {
    const auto folder = folderOrFail();
    std::filesystem::remove_all(folder);
    const auto path = temporaryFilePath(infoFileName);
    ASSERT_TRUE(std::holds_alternative<std::filesystem::path>(path));
    EXPECT_EQ(std::get<std::filesystem::path>(path).parent_path(), folder);
    EXPECT_TRUE(std::filesystem::is_directory(folder));
    EXPECT_EQ(modeOf(folder), 0700u);
}

TEST_F(TemporaryFolderTest, IsNotTakenBackWhenSomethingElseStandsInItsPlace) {
    const auto folder = folderOrFail();
    std::filesystem::remove_all(folder);
    std::filesystem::create_directory_symlink(scratch_.path(), folder);
    const auto again = folderOrFail();
    EXPECT_NE(again, folder);
    EXPECT_EQ(modeOf(again), 0700u);
    std::filesystem::remove(folder);
}

TEST_F(TemporaryFolderTest, TakesOverALeftoverFolderOfTheSameUserAndClosesIt) {
    const auto leftover = expectedName();
    removeTemporaryFolder();
    std::filesystem::create_directory(leftover);
    ASSERT_EQ(::chmod(leftover.c_str(), 0777), 0);
    EXPECT_EQ(folderOrFail(), leftover);
    EXPECT_EQ(modeOf(leftover), 0700u);
}

TEST_F(TemporaryFolderTest, PassesOverAFolderOfAnotherUserOrALink) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "only root can give a folder to another user";
    }
    const auto own = expectedName();
    removeTemporaryFolder();
    std::filesystem::create_directory(own);
    ASSERT_EQ(::chown(own.c_str(), ::geteuid() + 1, ::getegid()), 0);
    struct stat given {};
    ASSERT_EQ(::lstat(own.c_str(), &given), 0);
    if (given.st_uid == ::geteuid()) {
        GTEST_SKIP() << "this file system keeps no owners (WebAssembly's in-memory one)";
    }
    const auto second = own.string() + "-1";
    std::filesystem::create_directory_symlink(scratch_.path(), second);
    const auto folder = folderOrFail();
    EXPECT_EQ(folder, own.string() + "-2");
    EXPECT_EQ(modeOf(folder), 0700u);
}

TEST_F(TemporaryFolderTest, FallsBackToTmpForARelativeTmpdir) {
    ::setenv("TMPDIR", "relative", 1);
    const auto folder = folderOrFail();
    EXPECT_EQ(folder.parent_path(), "/tmp");
}

TEST_F(TemporaryFolderTest, ReportsAFolderThatCannotBeMade) {
    ::setenv("TMPDIR", (scratch_.path() / "missing").c_str(), 1);
    const auto folder = temporaryFolder();
    ASSERT_TRUE(std::holds_alternative<FileError>(folder));
    EXPECT_EQ(std::get<FileError>(folder).kind, FileErrorKind::CannotWrite);
    EXPECT_TRUE(std::holds_alternative<FileError>(temporaryFilePath("info.tmp")));
}

} // namespace
} // namespace casl::platform
