// Saving over a file that has more than its contents (hard links, an owner, a mode, extended
// attributes) and over things that are not regular files at all.
#include "child_process.h"
#include "platform/file_writer.h"
#include "platform/temp_folder.h"
#include "platform/text_codec.h"
#include "scratch_folder.h"
#include "special_files.h"

#include <cerrno>
#include <gtest/gtest.h>
#include <set>
#include <string>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <system_error>
#include <unistd.h>

namespace casl::platform {
namespace {

using test::readBytes;
using test::writeBytes;

constexpr uid_t otherUser = 4242;
constexpr gid_t otherGroup = 4343;
/// The user and group "nobody" of Debian.
constexpr uid_t nobody = 65534;
constexpr gid_t nogroup = 65534;

const std::string oldContents = "PGM START\r\n RET\r\n END\r\n";
const std::u32string newText = U"NEW START\r\n NOP\r\n RET\r\n END";
const std::string newContents = "NEW START\r\n NOP\r\n RET\r\n END\r\n";

struct stat statOf(const std::filesystem::path& path) {
    struct stat info {};
    EXPECT_EQ(::lstat(path.c_str(), &info), 0) << path;
    return info;
}

std::optional<FileError> save(const std::filesystem::path& path,
                              FileCalls& calls = systemFileCalls()) {
    return writeSourceFile(path, newText, SourceEncoding::Cp932, LineEndStyle::CrLf, calls);
}

/// An extended attribute of the file, or "" when it has none of that name.
std::string attribute(const std::filesystem::path& path, const char* name) {
    char value[256];
    const ssize_t size = ::getxattr(path.c_str(), name, value, sizeof value);
    return size < 0 ? std::string() : std::string(value, static_cast<std::size_t>(size));
}

/// Every save runs with the temporary folder and the state folder inside the test's own.
class CarefulSaveTest : public testing::Test {
protected:
    CarefulSaveTest()
        : tmpdir_("TMPDIR", (scratch_.path() / "tmp").native()),
          stateHome_("XDG_STATE_HOME", (scratch_.path() / "state").native()) {
        std::filesystem::create_directory(scratch_.path() / "tmp");
        std::filesystem::create_directory(work());
        removeTemporaryFolder();
    }
    ~CarefulSaveTest() override { removeTemporaryFolder(); }

    std::filesystem::path work() const { return scratch_.path() / "work"; }
    std::filesystem::path target() const { return work() / "prog.cas"; }

    /// The copies of old contents that saves left in temporary folders; none when all is well.
    std::vector<std::string> backupsLeft() const {
        std::vector<std::string> left;
        for (const auto& folder : std::filesystem::directory_iterator(scratch_.path() / "tmp")) {
            for (const auto& entry : std::filesystem::directory_iterator(folder)) {
                left.push_back(entry.path().filename());
            }
        }
        return left;
    }

    /// A file with a second name, which a save must not part from it.
    void makeHardLinkedTarget() {
        writeBytes(target(), oldContents);
        std::filesystem::create_hard_link(target(), work() / "other-name.cas");
    }

    test::ScratchFolder scratch_;
    test::EnvironmentVariable tmpdir_;
    test::EnvironmentVariable stateHome_;
};

class SpecialTargetSaveTest : public CarefulSaveTest,
                              public testing::WithParamInterface<test::SpecialFileCase> {};

TEST_P(SpecialTargetSaveTest, IsRefusedAndLeftAsItIs) {
    if (!GetParam().make(target())) {
        GTEST_SKIP() << "this system does not let the test make a " << GetParam().name;
    }
    const mode_t kind = statOf(target()).st_mode & S_IFMT;
    std::filesystem::create_symlink(target(), work() / "link.cas");
    for (const auto& path : {target(), work() / "link.cas"}) {
        const auto error = save(path);
        ASSERT_TRUE(error);
        EXPECT_EQ(error->kind, FileErrorKind::NotRegularFile);
        EXPECT_EQ(error->message, U"ファイルに書き込めません: " + fromUtf8(path.native()) +
                                      U" (通常のファイルではなく" + GetParam().kind + U"です)");
    }
    EXPECT_EQ(statOf(target()).st_mode & S_IFMT, kind);
    EXPECT_EQ(test::ScratchFolder::entriesOf(work()),
              (std::vector<std::string>{"link.cas", "prog.cas"}));
}

INSTANTIATE_TEST_SUITE_P(Kinds, SpecialTargetSaveTest,
                         testing::Values(test::fifoCase(), test::charDeviceCase(),
                                         test::socketCase(), test::folderCase()),
                         [](const auto& info) { return info.param.name; });

TEST_F(CarefulSaveTest, KeepsTheModeButNotTheSetIdBits) {
    writeBytes(target(), oldContents);
    ASSERT_EQ(::chmod(target().c_str(), 06754), 0);
    ASSERT_FALSE(save(target()));
    EXPECT_EQ(readBytes(target()), newContents);
    EXPECT_EQ(statOf(target()).st_mode & 07777, 0754u);
}

TEST_F(CarefulSaveTest, KeepsTheOwnerAndGroupOfAnotherUsersFile) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "only root can give a file to another user";
    }
    writeBytes(target(), oldContents);
    ASSERT_EQ(::chown(target().c_str(), otherUser, otherGroup), 0);
    ASSERT_FALSE(save(target()));
    EXPECT_EQ(readBytes(target()), newContents);
    EXPECT_EQ(statOf(target()).st_uid, otherUser);
    EXPECT_EQ(statOf(target()).st_gid, otherGroup);
}

TEST_F(CarefulSaveTest, WritesAHardLinkedFileInPlace) {
    makeHardLinkedTarget();
    const ino_t inode = statOf(target()).st_ino;
    ASSERT_FALSE(save(target()));
    EXPECT_EQ(readBytes(target()), newContents);
    EXPECT_EQ(readBytes(work() / "other-name.cas"), newContents);
    EXPECT_EQ(statOf(target()).st_ino, inode);
    EXPECT_EQ(statOf(target()).st_nlink, 2u);
    EXPECT_TRUE(backupsLeft().empty());
}

TEST_F(CarefulSaveTest, ShortensAFileWrittenInPlace) {
    makeHardLinkedTarget();
    ASSERT_FALSE(writeSourceFile(target(), U"X", SourceEncoding::Cp932, LineEndStyle::Lf));
    EXPECT_EQ(readBytes(work() / "other-name.cas"), "X\n");
}

TEST_F(CarefulSaveTest, KeepsExtendedAttributes) {
    writeBytes(target(), oldContents);
    if (::setxattr(target().c_str(), "user.casl2.note", "kept", 4, 0) != 0) {
        GTEST_SKIP() << "the file system of " << work() << " holds no user attributes ("
                     << std::generic_category().message(errno) << ")";
    }
    ASSERT_FALSE(save(target()));
    EXPECT_EQ(readBytes(target()), newContents);
    EXPECT_EQ(attribute(target(), "user.casl2.note"), "kept");
}

TEST_F(CarefulSaveTest, SavesThroughAChainOfLinks) {
    writeBytes(target(), oldContents);
    std::filesystem::create_symlink("prog.cas", work() / "first.cas");
    std::filesystem::create_symlink(work() / "first.cas", work() / "second.cas");
    ASSERT_FALSE(save(work() / "second.cas"));
    EXPECT_EQ(readBytes(target()), newContents);
    EXPECT_TRUE(std::filesystem::is_symlink(work() / "first.cas"));
    EXPECT_TRUE(std::filesystem::is_symlink(work() / "second.cas"));
}

TEST_F(CarefulSaveTest, RefusesALinkThatPointsNowhere) {
    std::filesystem::create_symlink(work() / "missing.cas", target());
    const auto error = save(target());
    ASSERT_TRUE(error);
    EXPECT_EQ(error->kind, FileErrorKind::CannotWrite);
    EXPECT_EQ(error->message, U"ファイルに書き込めません: " + fromUtf8(target().native()) +
                                  U" (シンボリックリンクの指す先がありません)");
    EXPECT_TRUE(std::filesystem::is_symlink(target()));
    EXPECT_EQ(test::ScratchFolder::entriesOf(work()), std::vector<std::string>{"prog.cas"});
}

TEST_F(CarefulSaveTest, RefusesALinkLoop) {
    std::filesystem::create_symlink(work() / "other.cas", target());
    std::filesystem::create_symlink(target(), work() / "other.cas");
    const auto error = save(target());
    ASSERT_TRUE(error);
    EXPECT_EQ(error->message, U"ファイルに書き込めません: " + fromUtf8(target().native()) +
                                  U" (シンボリックリンクが循環しています)");
    EXPECT_TRUE(std::filesystem::is_symlink(target()));
    EXPECT_TRUE(std::filesystem::is_symlink(work() / "other.cas"));
    EXPECT_EQ(test::ScratchFolder::entriesOf(work()),
              (std::vector<std::string>{"other.cas", "prog.cas"}));
}

/// System calls that fail in one chosen way; the file written in place is the one opened as an
/// existing file.
class InjectedCalls : public FileCalls {
public:
    enum class Fault {
        OwnerRefused,     ///< The new file cannot be given the old one's owner.
        AttributeRefused, ///< An extended attribute cannot be set on the new file.
        FolderClosed,     ///< The target's folder takes no new file.
        BackupRefused,    ///< No copy of the old contents can be made.
        TargetWrite,      ///< Writing into the file stops half-way.
        TargetTruncate,
        TargetFsync,
        TargetClose,
    };
    explicit InjectedCalls(Fault fault, bool restoreFails = false)
        : fault_(fault), restoreFails_(restoreFails) {}

    int openNew(const char* path, mode_t mode) override {
        const std::string name = std::filesystem::path(path).filename();
        if (fault_ == Fault::FolderClosed && name.starts_with(".casl2-save-")) {
            return fail(EACCES);
        }
        if (fault_ == Fault::BackupRefused && name.starts_with("save-backup-")) {
            return fail(ENOSPC);
        }
        return FileCalls::openNew(path, mode);
    }
    int openExisting(const char* path, int flags) override {
        const int fd = FileCalls::openExisting(path, flags);
        if (fd >= 0) {
            target_.insert(fd);
        }
        return fd;
    }
    ssize_t write(int fd, const void* data, std::size_t size) override {
        if (target_.contains(fd)) {
            if (failed_ && restoreFails_) {
                return fail(EIO);
            }
            if (fault_ == Fault::TargetWrite && !failed_) {
                // The first write gets half the bytes out, so a partial file is on disk.
                if (!halfWritten_) {
                    halfWritten_ = true;
                    return FileCalls::write(fd, data, size / 2);
                }
                return fail(ENOSPC);
            }
        }
        return FileCalls::write(fd, data, size);
    }
    int ftruncate(int fd, off_t size) override {
        return injected(fd, Fault::TargetTruncate) ? fail(EIO) : FileCalls::ftruncate(fd, size);
    }
    int fsync(int fd) override {
        return injected(fd, Fault::TargetFsync) ? fail(EIO) : FileCalls::fsync(fd);
    }
    int close(int fd) override {
        const bool fails = injected(fd, Fault::TargetClose);
        target_.erase(fd);
        const int result = FileCalls::close(fd);
        return fails ? fail(EIO) : result;
    }
    int fchown(int fd, uid_t owner, gid_t group) override {
        return fault_ == Fault::OwnerRefused ? fail(EPERM) : FileCalls::fchown(fd, owner, group);
    }
    int fsetxattr(int fd, const char* name, const void* value, std::size_t size) override {
        return fault_ == Fault::AttributeRefused ? fail(EPERM)
                                                 : FileCalls::fsetxattr(fd, name, value, size);
    }

private:
    /// The fault hits the first call of its kind on the target.
    bool injected(int fd, Fault fault) {
        return fault_ == fault && !failed_ && target_.contains(fd);
    }
    int fail(int errorNumber) {
        failed_ = true;
        errno = errorNumber;
        return -1;
    }

    Fault fault_;
    bool restoreFails_;
    bool failed_ = false;
    bool halfWritten_ = false;
    std::set<int> target_;
};

TEST_F(CarefulSaveTest, WritesInPlaceWhenTheOwnerCannotBeGiven) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "only root can give a file to another user";
    }
    writeBytes(target(), oldContents);
    ASSERT_EQ(::chown(target().c_str(), otherUser, otherGroup), 0);
    const ino_t inode = statOf(target()).st_ino;
    InjectedCalls calls(InjectedCalls::Fault::OwnerRefused);
    ASSERT_FALSE(save(target(), calls));
    EXPECT_EQ(readBytes(target()), newContents);
    EXPECT_EQ(statOf(target()).st_ino, inode);
    EXPECT_EQ(statOf(target()).st_uid, otherUser);
    EXPECT_TRUE(backupsLeft().empty());
}

TEST_F(CarefulSaveTest, WritesInPlaceWhenAnAttributeCannotBeCopied) {
    writeBytes(target(), oldContents);
    if (::setxattr(target().c_str(), "user.casl2.note", "kept", 4, 0) != 0) {
        GTEST_SKIP() << "the file system of " << work() << " holds no user attributes";
    }
    InjectedCalls calls(InjectedCalls::Fault::AttributeRefused);
    ASSERT_FALSE(save(target(), calls));
    EXPECT_EQ(readBytes(target()), newContents);
    EXPECT_EQ(attribute(target(), "user.casl2.note"), "kept");
}

TEST_F(CarefulSaveTest, WritesInPlaceWhenTheFolderTakesNoNewFile) {
    writeBytes(target(), oldContents);
    const ino_t inode = statOf(target()).st_ino;
    InjectedCalls calls(InjectedCalls::Fault::FolderClosed);
    ASSERT_FALSE(save(target(), calls));
    EXPECT_EQ(readBytes(target()), newContents);
    EXPECT_EQ(statOf(target()).st_ino, inode);
    EXPECT_EQ(test::ScratchFolder::entriesOf(work()), std::vector<std::string>{"prog.cas"});
}

struct InPlaceFailureCase {
    std::string name;
    InjectedCalls::Fault fault;
    int errorNumber;
};

void PrintTo(const InPlaceFailureCase& failure, std::ostream* out) {
    *out << failure.name;
}

class InPlaceFailureTest : public CarefulSaveTest,
                           public testing::WithParamInterface<InPlaceFailureCase> {};

TEST_P(InPlaceFailureTest, PutsTheOldContentsBack) {
    makeHardLinkedTarget();
    const ino_t inode = statOf(target()).st_ino;
    InjectedCalls calls(GetParam().fault);
    const auto error = save(target(), calls);
    ASSERT_TRUE(error);
    EXPECT_EQ(error->kind, FileErrorKind::CannotWrite);
    EXPECT_EQ(error->reason, std::generic_category().message(GetParam().errorNumber));
    EXPECT_EQ(readBytes(target()), oldContents);
    EXPECT_EQ(readBytes(work() / "other-name.cas"), oldContents);
    EXPECT_EQ(statOf(target()).st_ino, inode);
    EXPECT_TRUE(backupsLeft().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Steps, InPlaceFailureTest,
    testing::Values(InPlaceFailureCase{"WriteHalfWay", InjectedCalls::Fault::TargetWrite, ENOSPC},
                    InPlaceFailureCase{"Truncate", InjectedCalls::Fault::TargetTruncate, EIO},
                    InPlaceFailureCase{"Fsync", InjectedCalls::Fault::TargetFsync, EIO},
                    InPlaceFailureCase{"Close", InjectedCalls::Fault::TargetClose, EIO}),
    [](const auto& info) { return info.param.name; });

TEST_F(CarefulSaveTest, KeepsTheCopyAndNamesItWhenTheOldContentsCannotBePutBack) {
    makeHardLinkedTarget();
    InjectedCalls calls(InjectedCalls::Fault::TargetWrite, true);
    const auto error = save(target(), calls);
    ASSERT_TRUE(error);
    const std::filesystem::path keptFolder = scratch_.path() / "state" / "varnic";
    const auto kept = test::ScratchFolder::entriesOf(keptFolder);
    ASSERT_EQ(kept.size(), 1u);
    EXPECT_TRUE(kept[0].starts_with("backup-") && kept[0].ends_with("-prog.cas")) << kept[0];
    EXPECT_EQ(readBytes(keptFolder / kept[0]), oldContents);
    EXPECT_NE(error->message.find(U"元の内容は " + fromUtf8((keptFolder / kept[0]).native()) +
                                  U" にあります"),
              std::u32string::npos)
        << toUtf8(error->message);
    EXPECT_TRUE(backupsLeft().empty());
}

TEST_F(CarefulSaveTest, ChangesNothingWhenNoCopyOfTheOldContentsCanBeMade) {
    makeHardLinkedTarget();
    InjectedCalls calls(InjectedCalls::Fault::BackupRefused);
    const auto error = save(target(), calls);
    ASSERT_TRUE(error);
    EXPECT_NE(error->message.find(U"元の内容の控えを作れないため、保存をやめました"),
              std::u32string::npos);
    EXPECT_EQ(readBytes(target()), oldContents);
}

/// Saves as the user nobody in a child process; root owns the file.
class UnprivilegedSaveTest : public CarefulSaveTest {
protected:
    void SetUp() override {
        if (::geteuid() != 0) {
            GTEST_SKIP() << "the test needs root to act as another user";
        }
        // nobody must reach the files and make its temporary folder.
        ASSERT_EQ(::chmod(scratch_.path().c_str(), 0755), 0);
        ASSERT_EQ(::chmod((scratch_.path() / "tmp").c_str(), 0777), 0);
        writeBytes(target(), oldContents);
        ASSERT_EQ(::chmod(target().c_str(), 0666), 0);
    }

    bool saveAsNobody() {
        return test::runInChild([&] {
                   if (::setgid(nogroup) != 0 || ::setuid(nobody) != 0) {
                       return false;
                   }
                   const bool saved = !save(target());
                   removeTemporaryFolder();
                   return saved;
               })
            .passed;
    }
};

TEST_F(UnprivilegedSaveTest, KeepsTheOwnerOfAnotherUsersFileInASharedFolder) {
    ASSERT_EQ(::chmod(work().c_str(), 0777), 0);
    const ino_t inode = statOf(target()).st_ino;
    ASSERT_TRUE(saveAsNobody());
    EXPECT_EQ(readBytes(target()), newContents);
    EXPECT_EQ(statOf(target()).st_uid, 0u);
    EXPECT_EQ(statOf(target()).st_ino, inode);
    EXPECT_TRUE(backupsLeft().empty());
}

TEST_F(UnprivilegedSaveTest, WritesAFileInAFolderThatTakesNoNewFiles) {
    ASSERT_EQ(::chmod(work().c_str(), 0755), 0);
    ASSERT_TRUE(saveAsNobody());
    EXPECT_EQ(readBytes(target()), newContents);
    EXPECT_EQ(statOf(target()).st_uid, 0u);
    EXPECT_EQ(statOf(target()).st_mode & 07777, 0666u);
}

} // namespace
} // namespace casl::platform
