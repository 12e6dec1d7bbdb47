// What a teacher meets running casl2 over files that students wrote: FIFOs, devices, huge
// files, UTF-16, empty files and names that begin with "-".
#include "../platform/child_process.h"
#include "cli/commands.h"
#include "cli_fixture.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace casl::cli {
namespace {

namespace fs = std::filesystem;

using test::casl2;
using test::CommandRun;

const std::string cleanProgram = "P START\r\n RET\r\n END\r\n";

class HostileFiles : public test::FileFolder {};

TEST_F(HostileFiles, AFifoIsRefusedAtOnceByBothCommands) {
    const fs::path fifo = folder / "pipe.cas";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    for (const char* command : {"assemble", "run"}) {
        // Opening the FIFO used to wait for a writer for ever; the child is killed then.
        const auto end = platform::test::runInChild(
            [&] {
                const CommandRun r = casl2({command, fifo.string()});
                return r.status == 2 && r.out.empty() &&
                       r.err.find("通常のファイルではなく名前付きパイプ (FIFO)です") !=
                           std::string::npos;
            },
            10);
        EXPECT_FALSE(end.timedOut) << command << " waited on the FIFO";
        EXPECT_TRUE(end.passed) << command;
    }
}

TEST_F(HostileFiles, AnEndlessDeviceIsRefused) {
    const CommandRun r = casl2({"assemble", "/dev/zero"});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err,
              "casl2: ファイルを開けません: /dev/zero (通常のファイルではなくデバイスです)\n");
}

TEST_F(HostileFiles, AHugeFileIsRefusedBeforeItIsRead) {
    const fs::path huge = write("huge.cas", cleanProgram);
    fs::resize_file(huge, std::uintmax_t{100} << 20);
    const CommandRun r = casl2({"assemble", huge.string()});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "casl2: ファイルを開けません: " + huge.string() +
                         " (ソースファイルの大きさの上限 2 MiB (2097152 バイト) を超えています)\n");
}

TEST_F(HostileFiles, Utf16WithAByteOrderMarkAssembles) {
    std::string utf16 = "\xFF\xFE";
    for (const char c : cleanProgram) {
        utf16 += c;
        utf16 += '\0';
    }
    const CommandRun r = casl2({"assemble", write("utf16.cas", utf16).string()});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(r.out.ends_with("\nAssemble Error: 0\n"));
}

TEST_F(HostileFiles, Utf16WithoutAMarkIsNamed) {
    std::string utf16;
    for (const char c : cleanProgram) {
        utf16 += c;
        utf16 += '\0';
    }
    const CommandRun r = casl2({"run", write("utf16.cas", utf16).string()});
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("UTF-16 のファイルのようですが"), std::string::npos) << r.err;
}

TEST_F(HostileFiles, AnEmptyFileGivesTheReasonForItsStatus) {
    const fs::path empty = write("empty.cas", "");
    const CommandRun r = casl2({"run", empty.string()});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "casl2: " + empty.string() +
                         ": nothing to assemble: the file is empty or holds only blanks\n");
}

TEST_F(HostileFiles, DoubleDashEndsTheOptions) {
    const fs::path dashed = write("-x.cas", cleanProgram);
    const fs::path previous = fs::current_path();
    fs::current_path(folder);
    const CommandRun assembled = casl2({"assemble", "--", "-x.cas"});
    EXPECT_EQ(assembled.status, 0) << assembled.err;
    const CommandRun ran = casl2({"run", "--simple", "--", "-x.cas"});
    EXPECT_EQ(ran.status, 0) << ran.err;
    EXPECT_NE(ran.out.find("Program終了"), std::string::npos);
    // Without "--" the name is an unknown option; after it, a second FILE is one too many.
    EXPECT_EQ(casl2({"run", "-x.cas"}).status, 2);
    EXPECT_EQ(casl2({"run", "--", "-x.cas", "-x.cas"}).status, 2);
    EXPECT_EQ(casl2({"assemble", "--"}).status, 2);
    // "--" as the value of an option is that value.
    EXPECT_EQ(casl2({"run", "--input", "--", "--", dashed.string()}).status, 0);
    fs::current_path(previous);
}

} // namespace
} // namespace casl::cli
