#include "platform/file_reader.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace casl::platform {

std::variant<std::string, FileError> readFileBytes(const std::filesystem::path& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return systemFileError(FileErrorKind::CannotOpen, path, errno);
    }
    std::string bytes;
    char buffer[65536];
    for (;;) {
        const ssize_t count = ::read(fd, buffer, sizeof buffer);
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count < 0) {
            const int readError = errno;
            ::close(fd);
            return systemFileError(FileErrorKind::CannotRead, path, readError);
        }
        if (count == 0) {
            break;
        }
        bytes.append(buffer, static_cast<std::size_t>(count));
    }
    ::close(fd);
    return bytes;
}

} // namespace casl::platform
