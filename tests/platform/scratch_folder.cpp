#include "scratch_folder.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <stdlib.h>

namespace casl::platform::test {

ScratchFolder::ScratchFolder() {
    std::string pattern = "/tmp/casl2-platform-test-XXXXXX";
    if (mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("cannot create a scratch folder");
    }
    path_ = pattern;
}

ScratchFolder::~ScratchFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

std::vector<std::string> ScratchFolder::entriesOf(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    std::error_code missing;
    for (const auto& entry : std::filesystem::directory_iterator(folder, missing)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

EnvironmentVariable::EnvironmentVariable(const char* name, const std::string& value) : name_(name) {
    if (const char* old = std::getenv(name)) {
        old_ = old;
    }
    ::setenv(name, value.c_str(), 1);
}

EnvironmentVariable::~EnvironmentVariable() {
    if (old_) {
        ::setenv(name_.c_str(), old_->c_str(), 1);
    } else {
        ::unsetenv(name_.c_str());
    }
}

std::string readBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeBytes(const std::filesystem::path& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

} // namespace casl::platform::test
