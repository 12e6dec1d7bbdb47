#pragma once

#include "platform/file_error.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

namespace casl::platform {

/// Writes a scratch file holding exactly `text` (no line end is added or changed): in CP932,
/// the system's code page for text files, when every character has a CP932 code; otherwise in
/// UTF-8 behind a byte-order mark, which `readTextFile` recognises. CP932 bytes never begin with
/// that mark, so the two cannot be mistaken for each other.
std::optional<FileError> writeTextFile(const std::filesystem::path& path, std::u32string_view text);

/// Reads a file that `writeTextFile` wrote, every character and line end as it stands.
std::variant<std::u32string, FileError> readTextFile(const std::filesystem::path& path);

} // namespace casl::platform
