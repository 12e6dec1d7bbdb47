#include "platform/temp_folder.h"

#include <cerrno>
#include <cstdlib>
#include <mutex>
#include <pwd.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace casl::platform {

namespace {

constexpr int maxFolderAttempts = 100;

struct FolderState {
    std::mutex mutex;
    std::filesystem::path folder; ///< Empty until first use and after removal.
};

FolderState& folderState() {
    static FolderState state;
    return state;
}

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

std::variant<std::filesystem::path, FileError> createFolder() {
    const std::string stem =
        (baseFolder() / ("casl2-" + userName() + "-" + std::to_string(::getpid()))).native();
    for (int attempt = 0; attempt < maxFolderAttempts; ++attempt) {
        const std::filesystem::path candidate =
            attempt == 0 ? stem : stem + "-" + std::to_string(attempt);
        if (::mkdir(candidate.c_str(), 0700) != 0) {
            if (errno != EEXIST) {
                return systemFileError(FileErrorKind::CannotWrite, candidate, errno);
            }
            struct stat existing {};
            const bool ours = ::lstat(candidate.c_str(), &existing) == 0 &&
                              S_ISDIR(existing.st_mode) && existing.st_uid == ::geteuid();
            if (!ours) {
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

/// Whether the folder made earlier is still this user's private folder: a cleaner of /tmp may
/// have removed it while the program runs.
bool stillPrivate(const std::filesystem::path& folder) {
    struct stat info {};
    return ::lstat(folder.c_str(), &info) == 0 && S_ISDIR(info.st_mode) &&
           info.st_uid == ::geteuid() && (info.st_mode & 077) == 0;
}

} // namespace

std::variant<std::filesystem::path, FileError> temporaryFolder() {
    FolderState& state = folderState();
    const std::lock_guard lock(state.mutex);
    if (state.folder.empty() || !stillPrivate(state.folder)) {
        std::variant<std::filesystem::path, FileError> created = createFolder();
        if (std::holds_alternative<FileError>(created)) {
            return created;
        }
        state.folder = std::get<std::filesystem::path>(created);
    }
    return state.folder;
}

std::variant<std::filesystem::path, FileError> temporaryFilePath(std::string_view name) {
    std::variant<std::filesystem::path, FileError> folder = temporaryFolder();
    if (auto* path = std::get_if<std::filesystem::path>(&folder)) {
        return *path / name;
    }
    return folder;
}

void removeTemporaryFolder() {
    FolderState& state = folderState();
    const std::lock_guard lock(state.mutex);
    if (!state.folder.empty()) {
        std::error_code ignored;
        std::filesystem::remove_all(state.folder, ignored);
        state.folder.clear();
    }
}

} // namespace casl::platform
