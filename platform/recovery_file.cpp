#include "platform/recovery_file.h"

#include "platform/file_reader.h"
#include "platform/file_writer.h"
#include "platform/state_folder.h"
#include "platform/text_codec.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#include <variant>

namespace casl::platform {

namespace {

/// The first line of a recovery file; a file without it is not one.
constexpr std::string_view header = "varnic-recovery 1\n";
constexpr std::string_view namePrefix = "unsaved-";
constexpr std::string_view textSuffix = ".txt";
constexpr std::string_view lockSuffix = ".lock";

std::filesystem::path lockPathOf(const std::filesystem::path& textPath) {
    std::filesystem::path lock = textPath;
    lock.replace_extension(lockSuffix);
    return lock;
}

std::string recoveryBytes(const Recovery& recovery) {
    std::string name = toUtf8(recovery.fileName);
    // The name ends at the first line end; a name holding one is not kept.
    if (name.find('\n') != std::string::npos) {
        name.clear();
    }
    return std::string(header) + name + "\n" + toUtf8(recovery.text);
}

std::optional<Recovery> parseRecovery(std::string_view bytes) {
    if (!bytes.starts_with(header)) {
        return std::nullopt;
    }
    bytes.remove_prefix(header.size());
    const std::size_t nameEnd = bytes.find('\n');
    if (nameEnd == std::string_view::npos) {
        return std::nullopt;
    }
    return Recovery{fromUtf8(bytes.substr(nameEnd + 1)), fromUtf8(bytes.substr(0, nameEnd))};
}

/// Whether a running workbench holds the lock of this recovery file.
bool ownerRuns(const std::filesystem::path& textPath) {
    const int fd = ::open(lockPathOf(textPath).c_str(), O_RDWR | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    const bool locked = ::flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK;
    ::close(fd);
    return locked;
}

bool isRecoveryName(const std::string& name) {
    return name.starts_with(namePrefix) && name.ends_with(textSuffix);
}

} // namespace

std::vector<LeftRecovery> leftRecoveries() {
    std::vector<LeftRecovery> found;
    auto folder = stateFolder();
    if (std::holds_alternative<FileError>(folder)) {
        return found;
    }
    std::vector<std::pair<std::filesystem::file_time_type, LeftRecovery>> dated;
    std::error_code error;
    for (const auto& entry :
         std::filesystem::directory_iterator(std::get<std::filesystem::path>(folder), error)) {
        const std::filesystem::path& path = entry.path();
        if (!isRecoveryName(path.filename().string()) || !entry.is_regular_file(error) ||
            ownerRuns(path)) {
            continue;
        }
        auto bytes = readFileBytes(path);
        const std::string* read = std::get_if<std::string>(&bytes);
        std::optional<Recovery> recovery = read ? parseRecovery(*read) : std::nullopt;
        if (!recovery) {
            // A crash between making the file and its first contents leaves it empty.
            discardRecovery(LeftRecovery{path, {}});
            continue;
        }
        dated.emplace_back(entry.last_write_time(error), LeftRecovery{path, std::move(*recovery)});
    }
    std::stable_sort(dated.begin(), dated.end(),
                     [](const auto& a, const auto& b) { return a.first > b.first; });
    for (auto& [time, left] : dated) {
        found.push_back(std::move(left));
    }
    return found;
}

void discardRecovery(const LeftRecovery& left) {
    ::unlink(left.path.c_str());
    ::unlink(lockPathOf(left.path).c_str());
}

RecoveryFile::~RecoveryFile() {
    remove();
    if (lockFd_ >= 0) {
        ::unlink(lockPath_.c_str());
        ::close(lockFd_);
    }
}

std::optional<FileError> RecoveryFile::claim() {
    auto folder = stateFolder();
    if (auto* error = std::get_if<FileError>(&folder)) {
        return std::move(*error);
    }
    std::string lockName = (std::get<std::filesystem::path>(folder) /
                            (std::string(namePrefix) + "XXXXXX" + std::string(lockSuffix)))
                               .native();
    const int fd = ::mkostemps(lockName.data(), static_cast<int>(lockSuffix.size()), O_CLOEXEC);
    if (fd < 0) {
        return systemFileError(FileErrorKind::CannotWrite, lockName, errno);
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int error = errno;
        ::unlink(lockName.c_str());
        ::close(fd);
        return systemFileError(FileErrorKind::CannotWrite, lockName, error);
    }
    lockFd_ = fd;
    lockPath_ = lockName;
    textPath_ = lockPath_;
    textPath_.replace_extension(textSuffix);
    return std::nullopt;
}

std::optional<FileError> RecoveryFile::write(const Recovery& recovery) {
    if (lockFd_ < 0) {
        if (auto error = claim()) {
            return error;
        }
    }
    // Made private first: the save keeps the mode of the file it replaces.
    const int fd = ::open(textPath_.c_str(), O_WRONLY | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0) {
        return systemFileError(FileErrorKind::CannotWrite, textPath_, errno);
    }
    ::close(fd);
    return writeFileAtomically(textPath_, recoveryBytes(recovery));
}

void RecoveryFile::remove() {
    if (!textPath_.empty()) {
        ::unlink(textPath_.c_str());
    }
}

} // namespace casl::platform
