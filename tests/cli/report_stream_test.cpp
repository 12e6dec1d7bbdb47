#include "check_test_support.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <sys/stat.h>
#include <sys/wait.h>

namespace casl::cli {
namespace {

namespace fs = std::filesystem;

std::string contents(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

/// Runs `command` in the shell; its exit status.
int shell(const std::string& command) {
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string quoted(const fs::path& path) {
    return "'" + path.string() + "'";
}

class ReportStream : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(shell(check + " > " + quoted(folder.path() / "plain")), 0);
        plain = contents(folder.path() / "plain");
        ASSERT_NE(plain, "");
    }

    check::test::ScratchFolder folder;
    const std::string check = quoted(CASL2_PROGRAM) + " check " +
                              quoted(fs::path(CASL_CHECK_CLASS_DIR) / "tests.toml") + " " +
                              quoted(fs::path(CASL_CHECK_CLASS_DIR) / "correct.cas");
    std::string plain;
};

TEST_F(ReportStream, ALogThatStandardOutputGoesToIsWrittenIntoNotReplaced) {
    const fs::path log = folder.write("log", "before\n");
    struct stat before {};
    ASSERT_EQ(::stat(log.c_str(), &before), 0);
    EXPECT_EQ(
        shell(check + " -o /dev/stdout >> " + quoted(log) + " 2> " + quoted(folder.path() / "err")),
        0);
    EXPECT_EQ(contents(log), "before\n" + plain);
    struct stat after {};
    ASSERT_EQ(::stat(log.c_str(), &after), 0);
    EXPECT_EQ(after.st_ino, before.st_ino);
    EXPECT_EQ(contents(folder.path() / "err"), "");
}

TEST_F(ReportStream, GoesThroughAPipe) {
    const fs::path err = folder.path() / "err";
    EXPECT_EQ(shell(check + " -o /dev/stdout 2> " + quoted(err) + " | cat > " +
                    quoted(folder.path() / "piped")),
              0);
    EXPECT_EQ(contents(folder.path() / "piped"), plain);
    EXPECT_EQ(contents(err), "");
    EXPECT_EQ(
        shell(check + " -o /dev/stderr 2>&1 >/dev/null | cat > " + quoted(folder.path() / "piped")),
        0);
    EXPECT_EQ(contents(folder.path() / "piped"), plain);
}

} // namespace
} // namespace casl::cli
