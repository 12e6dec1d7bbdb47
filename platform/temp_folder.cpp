#include "platform/temp_folder.h"

#include <cerrno>
#include <cstdlib>
#include <pwd.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace casl::platform {

namespace {

constexpr int maxFolderAttempts = 100;

std::filesystem::path baseFolder() {
    const char* tmpdir = std::getenv("TMPDIR");
    if (tmpdir != nullptr && tmpdir[0] == '/') {
        return tmpdir;
    }
    return "/tmp";
}

/// The user's login name, reduced to characters that are safe in a file name.
std::string userName() {
    std::string name;
    passwd entry{};
    passwd* found = nullptr;
    char buffer[4096];
    if (::getpwuid_r(::geteuid(), &entry, buffer, sizeof buffer, &found) == 0 && found != nullptr) {
        name = found->pw_name;
    } else if (const char* user = std::getenv("USER"); user != nullptr) {
        name = user;
    }
    if (name.empty()) {
        return std::to_string(::geteuid());
    }
    for (char& c : name) {
        const bool safe = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                          (c >= '0' && c <= '9') || c == '-' || c == '_' || c == '.';
        if (!safe) {
            c = '_';
        }
    }
    return name;
}

/// The candidate names of the folder, in the order they are tried.
std::filesystem::path candidateName(const std::string& stem, int attempt) {
    return attempt == 0 ? stem : stem + "-" + std::to_string(attempt);
}

std::string folderStem() {
    return (baseFolder() / ("casl2-" + userName() + "-" + std::to_string(::getpid()))).native();
}

/// Whether `folder` is a folder (not a link) of this user.
bool isOurs(const std::filesystem::path& folder) {
    struct stat info {};
    return ::lstat(folder.c_str(), &info) == 0 && S_ISDIR(info.st_mode) &&
           info.st_uid == ::geteuid();
}

} // namespace

// Nothing is remembered between calls: every use finds the folder again by its name, so a
// folder that a cleaner of /tmp removed meanwhile is made again, and one that something else
// took the place of is passed over.
std::variant<std::filesystem::path, FileError> temporaryFolder() {
    const std::string stem = folderStem();
    for (int attempt = 0; attempt < maxFolderAttempts; ++attempt) {
        const std::filesystem::path candidate = candidateName(stem, attempt);
        if (::mkdir(candidate.c_str(), 0700) != 0) {
            if (errno != EEXIST) {
                return systemFileError(FileErrorKind::CannotWrite, candidate, errno);
            }
            if (!isOurs(candidate)) {
                continue;
            }
        }
        // Neither the umask nor an earlier owner may leave the folder open to others.
        if (::chmod(candidate.c_str(), 0700) != 0) {
            return systemFileError(FileErrorKind::CannotWrite, candidate, errno);
        }
        return candidate;
    }
    return systemFileError(FileErrorKind::CannotWrite, stem, EEXIST);
}

std::variant<std::filesystem::path, FileError> temporaryFilePath(std::string_view name) {
    std::variant<std::filesystem::path, FileError> folder = temporaryFolder();
    if (auto* path = std::get_if<std::filesystem::path>(&folder)) {
        return *path / name;
    }
    return folder;
}

void removeTemporaryFolder() {
    // The folder that a use would take: the first of the names that is this user's, unless a
    // name before it is free (a use would make that one).
    const std::string stem = folderStem();
    for (int attempt = 0; attempt < maxFolderAttempts; ++attempt) {
        const std::filesystem::path candidate = candidateName(stem, attempt);
        std::error_code missing;
        if (!std::filesystem::exists(std::filesystem::symlink_status(candidate, missing))) {
            return;
        }
        if (isOurs(candidate)) {
            std::error_code ignored;
            std::filesystem::remove_all(candidate, ignored);
            return;
        }
    }
}

} // namespace casl::platform
