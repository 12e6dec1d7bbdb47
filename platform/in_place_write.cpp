#include "platform/in_place_write.h"

#include "platform/state_folder.h"
#include "platform/temp_folder.h"

#include <cerrno>
#include <ctime>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <variant>

namespace casl::platform {

namespace {

constexpr std::size_t chunkSize = 65536;
constexpr int maxBackupNames = 100;
constexpr int openFlags = O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC;

/// Reads until `size` bytes or the end; the count, or -1 with errno set.
ssize_t readFull(FileCalls& calls, int fd, char* data, std::size_t size) {
    std::size_t done = 0;
    while (done < size) {
        const ssize_t count = calls.read(fd, data + done, size - done);
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count < 0) {
            return -1;
        }
        if (count == 0) {
            break;
        }
        done += static_cast<std::size_t>(count);
    }
    return static_cast<ssize_t>(done);
}

/// Copies all of `from` over the start of `to`, counting the bytes in `copied` when given; 0 or
/// the errno of the failure.
int copyContents(FileCalls& calls, int from, int to, off_t* copied = nullptr) {
    off_t count = 0;
    if (calls.lseek(from, 0, SEEK_SET) < 0 || calls.lseek(to, 0, SEEK_SET) < 0) {
        return errno;
    }
    char buffer[chunkSize];
    for (;;) {
        const ssize_t got = readFull(calls, from, buffer, sizeof buffer);
        if (got < 0) {
            return errno;
        }
        if (got == 0) {
            if (copied) {
                *copied = count;
            }
            return 0;
        }
        if (const int error = writeAll(calls, to, buffer, static_cast<std::size_t>(got))) {
            return error;
        }
        count += got;
    }
}

/// 0 when both files hold the same bytes, EIO when they differ, or the errno of a failure.
int compareContents(FileCalls& calls, int first, int second) {
    if (calls.lseek(first, 0, SEEK_SET) < 0 || calls.lseek(second, 0, SEEK_SET) < 0) {
        return errno;
    }
    char one[chunkSize];
    char other[chunkSize];
    for (;;) {
        const ssize_t a = readFull(calls, first, one, sizeof one);
        const ssize_t b = a < 0 ? -1 : readFull(calls, second, other, sizeof other);
        if (a < 0 || b < 0) {
            return errno;
        }
        if (a != b || std::string_view(one, static_cast<std::size_t>(a)) !=
                          std::string_view(other, static_cast<std::size_t>(b))) {
            return EIO;
        }
        if (a == 0) {
            return 0;
        }
    }
}

/// A new private file in the temporary folder for the old contents.
int createBackup(FileCalls& calls, std::filesystem::path& path) {
    auto folder = temporaryFolder();
    if (std::holds_alternative<FileError>(folder)) {
        errno = EACCES;
        return -1;
    }
    for (int attempt = 0; attempt < maxBackupNames; ++attempt) {
        path = std::get<std::filesystem::path>(folder) / ("save-backup-" + std::to_string(attempt));
        const int fd = calls.openNew(path.c_str(), 0600);
        if (fd >= 0 || errno != EEXIST) {
            return fd;
        }
    }
    errno = EEXIST;
    return -1;
}

/// Puts the contents of `backup` back into `destination`; 0 or the errno of the failure.
int restore(FileCalls& calls, const std::filesystem::path& destination, int backup) {
    const int fd = calls.openExisting(destination.c_str(), O_WRONLY | openFlags);
    if (fd < 0) {
        return errno;
    }
    off_t size = 0;
    int error = copyContents(calls, backup, fd, &size);
    if (error == 0 && calls.ftruncate(fd, size) != 0) {
        error = errno;
    }
    if (error == 0 && calls.fsync(fd) != 0) {
        error = errno;
    }
    if (calls.close(fd) != 0 && error == 0) {
        error = errno;
    }
    return error;
}

/// Moves the copy of the old contents where the end of the program does not remove it.
std::filesystem::path keepBackup(const std::filesystem::path& backup,
                                 const std::filesystem::path& target) {
    auto folder = stateFolder();
    if (const auto* path = std::get_if<std::filesystem::path>(&folder)) {
        const std::filesystem::path kept = *path / ("backup-" + std::to_string(std::time(nullptr)) +
                                                    "-" + target.filename().string());
        std::error_code error;
        if (std::filesystem::copy_file(backup, kept, error)) {
            std::filesystem::remove(backup, error);
            return kept;
        }
    }
    return backup;
}

} // namespace

std::optional<FileError> writeInPlace(const std::filesystem::path& target,
                                      const std::filesystem::path& destination,
                                      std::string_view bytes, FileCalls& calls) {
    const int fd = calls.openExisting(destination.c_str(), O_RDWR | openFlags);
    if (fd < 0) {
        return systemFileError(FileErrorKind::CannotWrite, target, errno);
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        const int error = errno;
        calls.close(fd);
        return systemFileError(FileErrorKind::CannotWrite, target, error);
    }
    // The name may have been given to something else since it was looked at.
    if (!S_ISREG(info.st_mode)) {
        calls.close(fd);
        return notRegularFileError(target, info.st_mode, true);
    }

    std::filesystem::path backupPath;
    const int backup = createBackup(calls, backupPath);
    if (backup < 0) {
        const int error = errno;
        calls.close(fd);
        return backupFailedFileError(target, error);
    }
    int error = copyContents(calls, fd, backup);
    if (error == 0 && calls.fsync(backup) != 0) {
        error = errno;
    }
    if (error == 0) {
        error = compareContents(calls, fd, backup);
    }
    if (error != 0) {
        calls.close(fd);
        calls.close(backup);
        calls.unlink(backupPath.c_str());
        return backupFailedFileError(target, error);
    }

    if (calls.lseek(fd, 0, SEEK_SET) < 0) {
        error = errno;
    }
    if (error == 0) {
        error = writeAll(calls, fd, bytes.data(), bytes.size());
    }
    if (error == 0 && calls.ftruncate(fd, static_cast<off_t>(bytes.size())) != 0) {
        error = errno;
    }
    if (error == 0 && calls.fsync(fd) != 0) {
        error = errno;
    }
    if (calls.close(fd) != 0 && error == 0) {
        error = errno;
    }
    if (error == 0) {
        calls.close(backup);
        calls.unlink(backupPath.c_str());
        return std::nullopt;
    }

    const int restoreError = restore(calls, destination, backup);
    calls.close(backup);
    if (restoreError == 0) {
        calls.unlink(backupPath.c_str());
        return systemFileError(FileErrorKind::CannotWrite, target, error);
    }
    return restoreFailedFileError(target, error, keepBackup(backupPath, target));
}

} // namespace casl::platform
