#include "platform/file_calls.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#ifdef __linux__
#include <sys/xattr.h>
#endif
#include <unistd.h>

namespace casl::platform {

int FileCalls::openNew(const char* path, mode_t mode) {
    return ::open(path, O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, mode);
}

int FileCalls::openExisting(const char* path, int flags) {
    return ::open(path, flags & ~O_CREAT);
}

ssize_t FileCalls::read(int fd, void* data, std::size_t size) {
    return ::read(fd, data, size);
}

ssize_t FileCalls::write(int fd, const void* data, std::size_t size) {
    return ::write(fd, data, size);
}

off_t FileCalls::lseek(int fd, off_t offset, int whence) {
    return ::lseek(fd, offset, whence);
}

int FileCalls::ftruncate(int fd, off_t size) {
    return ::ftruncate(fd, size);
}

int FileCalls::fsync(int fd) {
    return ::fsync(fd);
}

int FileCalls::close(int fd) {
    return ::close(fd);
}

int FileCalls::fchown(int fd, uid_t owner, gid_t group) {
    return ::fchown(fd, owner, group);
}

int FileCalls::fchmod(int fd, mode_t mode) {
    return ::fchmod(fd, mode);
}

int FileCalls::fsetxattr(int fd, const char* name, const void* value, std::size_t size) {
#ifdef __linux__
    return ::fsetxattr(fd, name, value, size, 0);
#else
    static_cast<void>(fd);
    static_cast<void>(name);
    static_cast<void>(value);
    static_cast<void>(size);
    errno = ENOTSUP;
    return -1;
#endif
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

int writeAll(FileCalls& calls, int fd, const char* data, std::size_t size) {
    std::size_t written = 0;
    while (written < size) {
        const ssize_t count = calls.write(fd, data + written, size - written);
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count < 0) {
            return errno;
        }
        if (count == 0) {
            return EIO;
        }
        written += static_cast<std::size_t>(count);
    }
    return 0;
}

} // namespace casl::platform
