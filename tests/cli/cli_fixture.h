#pragma once

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

using Command = int (*)(const std::vector<std::string>&, std::ostream&, std::ostream&);

inline CommandRun runWith(Command command, const std::vector<std::string>& args) {
    std::ostringstream out, err;
    const int status = command(args, out, err);
    return {status, out.str(), err.str()};
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
