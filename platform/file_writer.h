#pragma once

#include "platform/file_error.h"
#include "platform/line_ends.h"
#include "platform/source_file.h"

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string_view>
#include <sys/types.h>

namespace casl::platform {

/// The low-level calls that writing a file makes. Each behaves like the POSIX call of the same
/// name and leaves its reason in errno; a test derives from this class and overrides one call to
/// make a save fail part-way.
class FileCalls {
public:
    virtual ~FileCalls() = default;
    /// Creates a new file for writing; fails with EEXIST when the name is taken.
    virtual int openNew(const char* path, mode_t mode);
    virtual ssize_t write(int fd, const void* data, std::size_t size);
    virtual int fsync(int fd);
    virtual int close(int fd);
    virtual int rename(const char* from, const char* to);
    virtual int unlink(const char* path);
    virtual int access(const char* path, int mode);
};

/// The calls of the operating system.
FileCalls& systemFileCalls();

/// Replaces the file at `target` by `bytes` so that a failure never damages it: writes a new
/// file in the same folder, syncs it to disk and renames it over the target. On failure the
/// new file is removed and a CannotWrite error returned. A symbolic link is kept and the file it
/// points to is replaced; an existing file keeps its permissions, and one that may not be
/// written is refused.
std::optional<FileError> writeFileAtomically(const std::filesystem::path& target,
                                             std::string_view bytes,
                                             FileCalls& calls = systemFileCalls());

/// Saves editor text (lines separated by CR LF) as a source file: the text followed by one
/// CR LF, every CR LF turned into `lineEnds`, in `encoding` (with a byte-order mark for
/// Utf8WithBom). A character the encoding cannot hold stops the save before anything is written
/// (Unencodable, naming its line); other failures leave the target as it was (CannotWrite).
std::optional<FileError> writeSourceFile(const std::filesystem::path& target,
                                         std::u32string_view editorText, SourceEncoding encoding,
                                         LineEndStyle lineEnds,
                                         FileCalls& calls = systemFileCalls());

} // namespace casl::platform
