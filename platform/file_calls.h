#pragma once

#include <cstddef>
#include <sys/types.h>

namespace casl::platform {

/// The low-level calls that writing a file makes. Each behaves like the POSIX call of the same
/// name and leaves its reason in errno; a test derives from this class and overrides one call to
/// make a save fail part-way.
class FileCalls {
public:
    virtual ~FileCalls() = default;
    /// Creates a new file for reading and writing; fails with EEXIST when the name is taken.
    virtual int openNew(const char* path, mode_t mode);
    /// Opens an existing file; `flags` as for open(), without O_CREAT.
    virtual int openExisting(const char* path, int flags);
    virtual ssize_t read(int fd, void* data, std::size_t size);
    virtual ssize_t write(int fd, const void* data, std::size_t size);
    virtual off_t lseek(int fd, off_t offset, int whence);
    virtual int ftruncate(int fd, off_t size);
    virtual int fsync(int fd);
    virtual int close(int fd);
    virtual int fchown(int fd, uid_t owner, gid_t group);
    virtual int fchmod(int fd, mode_t mode);
    virtual int fsetxattr(int fd, const char* name, const void* value, std::size_t size);
    virtual int rename(const char* from, const char* to);
    virtual int unlink(const char* path);
    virtual int access(const char* path, int mode);
};

/// The calls of the operating system.
FileCalls& systemFileCalls();

/// Writes all of `size` bytes, going on after short writes and interruptions. 0, or the errno
/// of the failure.
int writeAll(FileCalls& calls, int fd, const char* data, std::size_t size);

} // namespace casl::platform
