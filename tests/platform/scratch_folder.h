#pragma once

#include <filesystem>
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
    std::vector<std::string> entries() const;

private:
    std::filesystem::path path_;
};

std::string readBytes(const std::filesystem::path& path);
void writeBytes(const std::filesystem::path& path, std::string_view bytes);

} // namespace casl::platform::test
