#include "platform/state_folder.h"

#include <cerrno>
#include <cstdlib>
#include <optional>
#include <pwd.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace casl::platform {

namespace {

constexpr const char* programFolderName = "varnic";

std::filesystem::path homeFolder() {
    if (const char* home = std::getenv("HOME"); home != nullptr && home[0] == '/') {
        return home;
    }
    passwd entry{};
    passwd* found = nullptr;
    char buffer[4096];
    if (::getpwuid_r(::geteuid(), &entry, buffer, sizeof buffer, &found) == 0 && found != nullptr &&
        found->pw_dir != nullptr && found->pw_dir[0] == '/') {
        return found->pw_dir;
    }
    return {};
}

std::filesystem::path stateHome() {
    if (const char* state = std::getenv("XDG_STATE_HOME"); state != nullptr && state[0] == '/') {
        return state;
    }
    const std::filesystem::path home = homeFolder();
    return home.empty() ? home : home / ".local" / "state";
}

/// Makes each missing folder of `path`, the new ones private to the user.
std::optional<FileError> makeFolders(const std::filesystem::path& path) {
    std::filesystem::path partial;
    for (const auto& part : path) {
        partial /= part;
        if (::mkdir(partial.c_str(), 0700) != 0 && errno != EEXIST) {
            return systemFileError(FileErrorKind::CannotWrite, partial, errno);
        }
    }
    return std::nullopt;
}

} // namespace

std::variant<std::filesystem::path, FileError> stateFolder() {
    const std::filesystem::path home = stateHome();
    if (home.empty()) {
        return systemFileError(FileErrorKind::CannotWrite, "~/.local/state", ENOENT);
    }
    const std::filesystem::path folder = home / programFolderName;
    if (auto error = makeFolders(folder)) {
        return std::move(*error);
    }
    struct stat info {};
    if (::lstat(folder.c_str(), &info) != 0) {
        return systemFileError(FileErrorKind::CannotWrite, folder, errno);
    }
    if (!S_ISDIR(info.st_mode) || info.st_uid != ::geteuid()) {
        return systemFileError(FileErrorKind::CannotWrite, folder, EPERM);
    }
    if ((info.st_mode & 077) != 0 && ::chmod(folder.c_str(), 0700) != 0) {
        return systemFileError(FileErrorKind::CannotWrite, folder, errno);
    }
    return folder;
}

} // namespace casl::platform
