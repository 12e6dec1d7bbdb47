#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace casl::platform::test {

/// A fresh folder for one test, removed with everything in it afterwards.
class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    /// The names of the entries in the folder, sorted.
    std::vector<std::string> entries() const { return entriesOf(path_); }
    /// The names of the entries in any folder, sorted; none for a missing folder.
    static std::vector<std::string> entriesOf(const std::filesystem::path& folder);

private:
    std::filesystem::path path_;
};

/// Sets an environment variable for as long as it lives, then puts back what was there.
class EnvironmentVariable {
public:
    EnvironmentVariable(const char* name, const std::string& value);
    ~EnvironmentVariable();
    EnvironmentVariable(const EnvironmentVariable&) = delete;
    EnvironmentVariable& operator=(const EnvironmentVariable&) = delete;

private:
    std::string name_;
    std::optional<std::string> old_;
};

std::string readBytes(const std::filesystem::path& path);
void writeBytes(const std::filesystem::path& path, std::string_view bytes);

} // namespace casl::platform::test
