#include "platform/file_writer.h"

#include "platform/in_place_write.h"
#include "platform/source_bytes.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <memory>
#include <string>
#include <sys/stat.h>
#ifdef __linux__
#include <sys/xattr.h>
#endif
#include <unistd.h>
#include <variant>
#include <vector>

namespace casl::platform {

namespace {

constexpr int maxNameAttempts = 100;

/// The name of the new file at the save's `attempt`: the process id keeps other processes' saves
/// apart, and the file is created only where no file is, so a save in progress (or one left
/// behind) makes the next attempt take the next number.
std::filesystem::path temporaryName(const std::filesystem::path& folder, int attempt) {
    return folder /
           (".casl2-save-" + std::to_string(::getpid()) + "-" + std::to_string(attempt) + ".tmp");
}

/// The file a save writes: the target itself, or the file its symbolic links lead to.
std::variant<std::filesystem::path, FileError> resolveTarget(const std::filesystem::path& target) {
    struct stat link {};
    if (::lstat(target.c_str(), &link) != 0 || !S_ISLNK(link.st_mode)) {
        return target;
    }
    const std::unique_ptr<char, decltype(&std::free)> real(::realpath(target.c_str(), nullptr),
                                                           &std::free);
    if (real) {
        return std::filesystem::path(real.get());
    }
    if (errno == ELOOP || errno == ENOENT) {
        return brokenLinkFileError(target, errno == ELOOP);
    }
    return systemFileError(FileErrorKind::CannotWrite, target, errno);
}

/// Gives the new file every extended attribute of the replaced one; false when one cannot be
/// read or set (the replaced file would lose it). Where the system keeps no extended attributes
/// (WebAssembly), there is nothing to lose.
bool copyAttributes(const std::filesystem::path& from, int to, FileCalls& calls) {
#ifndef __linux__
    static_cast<void>(from);
    static_cast<void>(to);
    static_cast<void>(calls);
    return true;
#else
    const ssize_t listSize = ::listxattr(from.c_str(), nullptr, 0);
    if (listSize < 0) {
        return errno == ENOTSUP;
    }
    std::vector<char> names(static_cast<std::size_t>(listSize));
    const ssize_t listed = ::listxattr(from.c_str(), names.data(), names.size());
    if (listed < 0) {
        return false;
    }
    for (std::size_t at = 0; at < static_cast<std::size_t>(listed);) {
        const char* name = names.data() + at;
        at += std::char_traits<char>::length(name) + 1;
        const ssize_t valueSize = ::getxattr(from.c_str(), name, nullptr, 0);
        if (valueSize < 0) {
            return false;
        }
        std::vector<char> value(static_cast<std::size_t>(valueSize));
        const ssize_t got = ::getxattr(from.c_str(), name, value.data(), value.size());
        if (got < 0 ||
            calls.fsetxattr(to, name, value.data(), static_cast<std::size_t>(got)) != 0) {
            return false;
        }
    }
    return true;
#endif
}

/// How a replacement by renaming went.
struct RenameOutcome {
    std::optional<FileError> error;
    /// The new file could not be given what the replaced one has; nothing was changed.
    bool cannotKeep = false;
};

/// Writes a new file beside `destination` and renames it over it. For an existing file
/// (`existing` set) the new file first takes its owner, group, mode and attributes.
RenameOutcome replaceByRename(const std::filesystem::path& target,
                              const std::filesystem::path& destination, std::string_view bytes,
                              const struct stat* existing, FileCalls& calls) {
    std::filesystem::path folder = destination.parent_path();
    if (folder.empty()) {
        folder = ".";
    }
    // A new file gets 0666 less the umask, as any created file; the copy of an existing one
    // stays private until it has the replaced file's owner and mode.
    const mode_t createMode = existing ? 0600 : 0666;
    std::filesystem::path temporary;
    int fd = -1;
    for (int attempt = 0; attempt < maxNameAttempts && fd < 0; ++attempt) {
        temporary = temporaryName(folder, attempt);
        fd = calls.openNew(temporary.c_str(), createMode);
        if (fd < 0 && errno != EEXIST) {
            // A folder the user may not create files in can still hold a file they may write.
            if (existing && (errno == EACCES || errno == EPERM)) {
                return {std::nullopt, true};
            }
            return {systemFileError(FileErrorKind::CannotWrite, target, errno)};
        }
    }
    if (fd < 0) {
        return {systemFileError(FileErrorKind::CannotWrite, target, EEXIST)};
    }

    const auto discard = [&](std::optional<FileError> error, bool cannotKeep) {
        if (fd >= 0) {
            calls.close(fd);
        }
        calls.unlink(temporary.c_str());
        return RenameOutcome{std::move(error), cannotKeep};
    };
    const auto fail = [&](int errorNumber) {
        return discard(systemFileError(FileErrorKind::CannotWrite, target, errorNumber), false);
    };

    if (existing) {
        struct stat created {};
        if (::fstat(fd, &created) != 0) {
            return fail(errno);
        }
        const bool sameOwner =
            created.st_uid == existing->st_uid && created.st_gid == existing->st_gid;
        // Set-uid and set-gid bits are not carried over to a file that anybody just wrote.
        const mode_t mode = existing->st_mode & 07777 & ~mode_t{S_ISUID | S_ISGID};
        if ((!sameOwner && calls.fchown(fd, existing->st_uid, existing->st_gid) != 0) ||
            calls.fchmod(fd, mode) != 0 || !copyAttributes(destination, fd, calls)) {
            return discard(std::nullopt, true);
        }
    }

    if (const int error = writeAll(calls, fd, bytes.data(), bytes.size())) {
        return fail(error);
    }
    if (calls.fsync(fd) != 0) {
        return fail(errno);
    }
    const int closed = calls.close(fd);
    fd = -1;
    if (closed != 0) {
        return fail(errno);
    }
    if (calls.rename(temporary.c_str(), destination.c_str()) != 0) {
        return fail(errno);
    }
    return {};
}

} // namespace

std::optional<FileError> writeFileAtomically(const std::filesystem::path& target,
                                             std::string_view bytes, FileCalls& calls) {
    auto resolved = resolveTarget(target);
    if (auto* error = std::get_if<FileError>(&resolved)) {
        return std::move(*error);
    }
    const std::filesystem::path& destination = std::get<std::filesystem::path>(resolved);

    struct stat existing {};
    if (::stat(destination.c_str(), &existing) != 0) {
        if (errno != ENOENT) {
            return systemFileError(FileErrorKind::CannotWrite, target, errno);
        }
        return replaceByRename(target, destination, bytes, nullptr, calls).error;
    }
    // Renaming over a device or a FIFO would put a regular file in its place.
    if (!S_ISREG(existing.st_mode)) {
        return notRegularFileError(target, existing.st_mode, true);
    }
    // Renaming would replace even a read-only file; a file that may not be written stays.
    if (calls.access(destination.c_str(), W_OK) != 0) {
        return systemFileError(FileErrorKind::CannotWrite, target, errno);
    }
    // A new file in place of one with other hard links would part it from them.
    if (existing.st_nlink <= 1) {
        RenameOutcome outcome = replaceByRename(target, destination, bytes, &existing, calls);
        if (!outcome.cannotKeep) {
            return std::move(outcome.error);
        }
    }
    return writeInPlace(target, destination, bytes, calls);
}

std::optional<FileError> writeSourceFile(const std::filesystem::path& target,
                                         std::u32string_view editorText, SourceEncoding encoding,
                                         LineEndStyle lineEnds, FileCalls& calls) {
    std::variant<std::string, FileError> bytes =
        sourceFileBytes(editorText, encoding, lineEnds, target);
    if (auto* error = std::get_if<FileError>(&bytes)) {
        return std::move(*error);
    }
    return writeFileAtomically(target, std::get<std::string>(bytes), calls);
}

} // namespace casl::platform
