#pragma once

#include "cli/commands.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <ostream>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace casl::cli::test {

/// What a `casl2` command printed and returned.
struct CommandRun {
    int status;
    std::string out;
    std::string err;
};

/// `casl2 ARGS...` as the command line runs it; `terminals`: standard output and standard error
/// are terminals.
inline CommandRun casl2(const std::vector<std::string>& args, bool terminals = false) {
    std::ostringstream out, err;
    const int status = casl2Main(args, Console{out, err, terminals, terminals});
    return {status, out.str(), err.str()};
}

/// `casl2 COMMAND ARGS...`.
inline CommandRun casl2(const std::string& command, std::vector<std::string> args) {
    args.insert(args.begin(), command);
    return casl2(args);
}

/// A folder of its own for the files of one test, removed with them afterwards.
class FileFolder : public ::testing::Test {
protected:
    std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("casl2-cli-test-" + std::to_string(getpid()));
    void SetUp() override { std::filesystem::create_directories(folder); }
    void TearDown() override { std::filesystem::remove_all(folder); }

    std::filesystem::path write(const std::string& name, const std::string& bytes) {
        const std::filesystem::path path = folder / name;
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }
};

} // namespace casl::cli::test
