#include "platform/file_writer.h"

#include "platform/text_codec.h"

#include <atomic>
#include <cerrno>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace casl::platform {

int FileCalls::openNew(const char* path, mode_t mode) {
    return ::open(path, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
}

ssize_t FileCalls::write(int fd, const void* data, std::size_t size) {
    return ::write(fd, data, size);
}

int FileCalls::fsync(int fd) {
    return ::fsync(fd);
}

int FileCalls::close(int fd) {
    return ::close(fd);
}

int FileCalls::rename(const char* from, const char* to) {
    return ::rename(from, to);
}

int FileCalls::unlink(const char* path) {
    return ::unlink(path);
}

int FileCalls::access(const char* path, int mode) {
    return ::access(path, mode);
}

FileCalls& systemFileCalls() {
    static FileCalls calls;
    return calls;
}

namespace {

constexpr int maxNameAttempts = 100;

/// A name for the new file that no other save of this or another process uses.
std::filesystem::path temporaryName(const std::filesystem::path& folder) {
    static std::atomic<unsigned long> counter{0};
    return folder / (".casl2-save-" + std::to_string(::getpid()) + "-" +
                     std::to_string(counter.fetch_add(1)) + ".tmp");
}

/// Saving through a symbolic link replaces the file it points to, not the link.
std::filesystem::path resolvedTarget(const std::filesystem::path& target) {
    std::error_code error;
    if (std::filesystem::is_symlink(target, error)) {
        std::filesystem::path real = std::filesystem::weakly_canonical(target, error);
        if (!error) {
            return real;
        }
    }
    return target;
}

} // namespace

std::optional<FileError> writeFileAtomically(const std::filesystem::path& target,
                                             std::string_view bytes, FileCalls& calls) {
    const std::filesystem::path destination = resolvedTarget(target);
    std::filesystem::path folder = destination.parent_path();
    if (folder.empty()) {
        folder = ".";
    }

    // 0666 lets the umask decide the permissions of a new file, as for any other created file.
    mode_t mode = 0666;
    struct stat existing {};
    const bool keepMode = ::stat(destination.c_str(), &existing) == 0 && S_ISREG(existing.st_mode);
    if (keepMode) {
        mode = existing.st_mode & 07777;
        // Renaming would replace even a read-only file; a file that may not be written stays.
        if (calls.access(destination.c_str(), W_OK) != 0) {
            return systemFileError(FileErrorKind::CannotWrite, target, errno);
        }
    }

    std::filesystem::path temporary;
    int fd = -1;
    for (int attempt = 0; attempt < maxNameAttempts && fd < 0; ++attempt) {
        temporary = temporaryName(folder);
        fd = calls.openNew(temporary.c_str(), mode);
        if (fd < 0 && errno != EEXIST) {
            return systemFileError(FileErrorKind::CannotWrite, target, errno);
        }
    }
    if (fd < 0) {
        return systemFileError(FileErrorKind::CannotWrite, target, EEXIST);
    }
    if (keepMode) {
        // The umask may have narrowed the mode given at creation.
        ::fchmod(fd, mode);
    }

    const auto fail = [&](int errorNumber) {
        if (fd >= 0) {
            calls.close(fd);
        }
        calls.unlink(temporary.c_str());
        return systemFileError(FileErrorKind::CannotWrite, target, errorNumber);
    };

    std::size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t count = calls.write(fd, bytes.data() + written, bytes.size() - written);
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count < 0) {
            return fail(errno);
        }
        if (count == 0) {
            return fail(EIO);
        }
        written += static_cast<std::size_t>(count);
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
    return std::nullopt;
}

std::optional<FileError> writeSourceFile(const std::filesystem::path& target,
                                         std::u32string_view editorText, SourceEncoding encoding,
                                         LineEndStyle lineEnds, FileCalls& calls) {
    const bool cp932 = encoding == SourceEncoding::Cp932;
    const auto encode = [cp932](std::u32string_view text) {
        return cp932 ? encodeCp932(text) : encodeUtf8(text);
    };

    // Checked on the editor text so that the line named is the line the user sees.
    const EncodedText check = encode(editorText);
    if (check.badCharacter) {
        return unencodableFileError(target, lineNumberAt(editorText, *check.badCharacter),
                                    editorText[*check.badCharacter], cp932 ? U"CP932" : U"UTF-8");
    }

    std::u32string content(editorText);
    content += U"\r\n";
    std::string bytes = encoding == SourceEncoding::Utf8WithBom ? "\xEF\xBB\xBF" : "";
    bytes += encode(convertCrLf(content, lineEnds)).bytes;
    return writeFileAtomically(target, bytes, calls);
}

} // namespace casl::platform
