#pragma once

#include <cstddef>
#include <filesystem>
#include <string>

namespace casl::platform {

/// What went wrong with a file.
enum class FileErrorKind {
    CannotOpen,  ///< The file could not be opened for reading.
    CannotRead,  ///< Reading the opened file failed.
    Undecodable, ///< The bytes are neither valid CP932 nor valid UTF-8 (or bad UTF-8 after a BOM).
    Unencodable, ///< A character has no code in the file's encoding; nothing was written.
    CannotWrite, ///< Creating, writing or renaming failed; the target is as it was.
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
/// The error for bytes that cannot be read as text, at the given 1-based line.
FileError undecodableFileError(const std::filesystem::path& path, std::size_t line,
                               bool declaredUtf8);
/// The error for a character that the file's encoding (named as `encodingName`) cannot hold.
FileError unencodableFileError(const std::filesystem::path& path, std::size_t line,
                               char32_t character, std::u32string_view encodingName);

} // namespace casl::platform
