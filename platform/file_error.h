#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <sys/types.h>

namespace casl::platform {

/// What went wrong with a file.
enum class FileErrorKind {
    CannotOpen,     ///< The file could not be opened for reading.
    CannotRead,     ///< Reading the opened file failed.
    NotRegularFile, ///< A folder, device, FIFO or socket; nothing was read or written.
    TooLarge,       ///< The file or one of its lines is past a limit; nothing was read.
    Undecodable,    ///< The bytes are not text in an encoding that sources are read in.
    Unencodable,    ///< A character has no code in the file's encoding; nothing was written.
    CannotWrite,    ///< Creating, writing or renaming failed; the target is as it was.
};

/// A failed file operation, with a message for the user.
struct FileError {
    FileErrorKind kind = FileErrorKind::CannotOpen;
    std::filesystem::path path; ///< The file the operation was about.
    std::string reason;         ///< The operating system's reason, where it gave one.
    std::size_t line = 0;       ///< 1-based line of the bad byte or character, else 0.
    std::u32string message;     ///< A short Japanese text that names the file or line.
};

/// An error for a failed system call, with `errno` turned into the reason.
FileError systemFileError(FileErrorKind kind, const std::filesystem::path& path, int errorNumber);
/// The error for a file that is not a regular file (`mode` as stat gives it), met while
/// reading or, with `writing`, while saving.
FileError notRegularFileError(const std::filesystem::path& path, mode_t mode, bool writing);
/// The error for a source file larger than `limit` bytes.
FileError tooLargeFileError(const std::filesystem::path& path, std::size_t limit);
/// The error for a file whose 1-based `line` is longer than `limit` characters.
FileError overlongLineFileError(const std::filesystem::path& path, std::size_t line,
                                std::size_t limit);
/// The error for a save through a symbolic link that points nowhere or, with `loop`, round in
/// a circle.
FileError brokenLinkFileError(const std::filesystem::path& path, bool loop);
/// The error for a save that stopped before it changed anything because no copy of the old
/// contents could be made (`errorNumber` says why).
FileError backupFailedFileError(const std::filesystem::path& path, int errorNumber);
/// The error for a save into the file itself that failed part-way (`errorNumber`) and could not
/// put the old contents back; they are kept in `backup`.
FileError restoreFailedFileError(const std::filesystem::path& path, int errorNumber,
                                 const std::filesystem::path& backup);
/// The error for bytes that cannot be read as text, at the given 1-based line. An empty
/// `declaredEncoding` means that neither CP932 nor UTF-8 reads them; otherwise the file
/// declared that encoding with a byte-order mark.
FileError undecodableFileError(const std::filesystem::path& path, std::size_t line,
                               std::u32string_view declaredEncoding = {});
/// The error for a file that looks like UTF-16 without a byte-order mark.
FileError utf16WithoutMarkFileError(const std::filesystem::path& path);
/// The error for a character that the file's encoding (named as `encodingName`) cannot hold.
FileError unencodableFileError(const std::filesystem::path& path, std::size_t line,
                               char32_t character, std::u32string_view encodingName);

} // namespace casl::platform
