#include "platform/file_reader.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace casl::platform {

namespace {

/// Closes the descriptor when the read ends, however it ends.
class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }

private:
    int fd_;
};

} // namespace

std::variant<std::string, FileError> readFileBytes(const std::filesystem::path& path,
                                                   std::size_t maxBytes) {
    // Opening some devices has effects of its own, so what stat already shows is refused first.
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0 && !S_ISREG(info.st_mode)) {
        return notRegularFileError(path, info.st_mode, false);
    }
    // Without O_NONBLOCK, opening a FIFO waits until some other process opens it for writing.
    const Descriptor fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (fd.get() < 0) {
        return systemFileError(FileErrorKind::CannotOpen, path, errno);
    }
    // The name may have been replaced since the stat above; the open file decides.
    if (::fstat(fd.get(), &info) != 0) {
        return systemFileError(FileErrorKind::CannotRead, path, errno);
    }
    if (!S_ISREG(info.st_mode)) {
        return notRegularFileError(path, info.st_mode, false);
    }
    const auto size = static_cast<std::uintmax_t>(info.st_size);
    if (size > maxBytes) {
        return tooLargeFileError(path, maxBytes);
    }

    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(size));
    char buffer[65536];
    for (;;) {
        const ssize_t count = ::read(fd.get(), buffer, sizeof buffer);
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count < 0) {
            return systemFileError(FileErrorKind::CannotRead, path, errno);
        }
        if (count == 0) {
            break;
        }
        // A file that grows while it is read, or one whose size the system does not know in
        // advance (as in /proc), is held to the same bound.
        if (static_cast<std::size_t>(count) > maxBytes - bytes.size()) {
            return tooLargeFileError(path, maxBytes);
        }
        bytes.append(buffer, static_cast<std::size_t>(count));
    }
    return bytes;
}

} // namespace casl::platform
