// Reading files that are not what a source file should be: nothing waits, nothing grows
// without bound.
#include "child_process.h"
#include "platform/file_reader.h"
#include "platform/source_file.h"
#include "platform/text_codec.h"
#include "scratch_folder.h"
#include "special_files.h"

#include <gtest/gtest.h>
#include <string>

namespace casl::platform {
namespace {

using test::ScratchFolder;

using test::makeFifo;
using test::SpecialFileCase;

class SpecialFileReadTest : public testing::TestWithParam<SpecialFileCase> {};

TEST_P(SpecialFileReadTest, IsRefusedWithoutWaitingOnIt) {
    ScratchFolder folder;
    const auto path = folder.path() / "prog.cas";
    if (!GetParam().make(path)) {
        GTEST_SKIP() << "this system does not let the test make a " << GetParam().name;
    }
    // Opening a FIFO for reading used to wait for a writer for ever; the child is killed then.
    const test::ChildEnd end = test::runInChild(
        [&] {
            const auto result = readSourceFile(path);
            const auto* error = std::get_if<FileError>(&result);
            return error && error->kind == FileErrorKind::NotRegularFile &&
                   error->message == U"ファイルを開けません: " + fromUtf8(path.native()) +
                                         U" (通常のファイルではなく" + GetParam().kind + U"です)";
        },
        10);
    EXPECT_FALSE(end.timedOut) << "reading waited on the file";
    EXPECT_TRUE(end.passed);
}

INSTANTIATE_TEST_SUITE_P(Kinds, SpecialFileReadTest,
                         testing::Values(test::fifoCase(), test::charDeviceCase(),
                                         test::socketCase(), test::folderCase()),
                         [](const auto& info) { return info.param.name; });

TEST(SpecialFileReadTest, RefusesTheSystemsEndlessDevice) {
    const auto result = readSourceFile("/dev/zero");
    ASSERT_TRUE(std::holds_alternative<FileError>(result));
    EXPECT_EQ(std::get<FileError>(result).kind, FileErrorKind::NotRegularFile);
}

TEST(SpecialFileReadTest, FollowsALinkToARegularFileButNotToAFifo) {
    ScratchFolder folder;
    test::writeBytes(folder.path() / "real.cas", "\tNOP\r\n");
    std::filesystem::create_symlink(folder.path() / "real.cas", folder.path() / "link.cas");
    const auto linked = readSourceFile(folder.path() / "link.cas");
    ASSERT_TRUE(std::holds_alternative<SourceText>(linked));
    EXPECT_EQ(std::get<SourceText>(linked).text, U"\tNOP\r\n");

    ASSERT_TRUE(makeFifo(folder.path() / "pipe"));
    std::filesystem::create_symlink(folder.path() / "pipe", folder.path() / "pipe.cas");
    const test::ChildEnd end = test::runInChild(
        [&] {
            const auto result = readSourceFile(folder.path() / "pipe.cas");
            const auto* error = std::get_if<FileError>(&result);
            return error && error->kind == FileErrorKind::NotRegularFile;
        },
        10);
    EXPECT_FALSE(end.timedOut);
    EXPECT_TRUE(end.passed);
}

struct SizeCase {
    std::string name;
    std::uintmax_t size;
    bool accepted;
};

void PrintTo(const SizeCase& size, std::ostream* out) {
    *out << size.name;
}

class SourceSizeTest : public testing::TestWithParam<SizeCase> {};

TEST_P(SourceSizeTest, RefusesAFilePastTheLimitNamingIt) {
    ScratchFolder folder;
    const auto path = folder.path() / "big.cas";
    test::writeBytes(path, "");
    // A sparse file: its size counts, not the blocks it uses.
    std::filesystem::resize_file(path, GetParam().size);
    const auto result = readSourceFile(path);
    if (GetParam().accepted) {
        ASSERT_TRUE(std::holds_alternative<SourceText>(result));
        EXPECT_EQ(std::get<SourceText>(result).text.size(), GetParam().size);
        return;
    }
    ASSERT_TRUE(std::holds_alternative<FileError>(result));
    const auto& error = std::get<FileError>(result);
    EXPECT_EQ(error.kind, FileErrorKind::TooLarge);
    EXPECT_EQ(error.message, U"ファイルを開けません: " + fromUtf8(path.native()) +
                                 U" (ソースファイルの大きさの上限 2 MiB (2097152 バイト) "
                                 U"を超えています)");
}

INSTANTIATE_TEST_SUITE_P(Sizes, SourceSizeTest,
                         testing::Values(SizeCase{"AtTheLimit", maxSourceFileBytes, true},
                                         SizeCase{"OneBytePast", maxSourceFileBytes + 1, false},
                                         SizeCase{"HundredMegabytes", 100u << 20, false},
                                         SizeCase{"TwentyGigabytes", 20ull << 30, false}),
                         [](const auto& info) { return info.param.name; });

TEST(ReadFileBytesTest, HoldsAFileWithoutAKnownSizeToTheBound) {
    // Files in /proc report the size 0 and have bytes all the same.
    const auto bounded = readFileBytes("/proc/self/status", 16);
    ASSERT_TRUE(std::holds_alternative<FileError>(bounded));
    EXPECT_EQ(std::get<FileError>(bounded).kind, FileErrorKind::TooLarge);
    const auto whole = readFileBytes("/proc/self/status");
    ASSERT_TRUE(std::holds_alternative<std::string>(whole));
    EXPECT_TRUE(std::get<std::string>(whole).starts_with("Name:"));
}

} // namespace
} // namespace casl::platform
