#pragma once

#include "platform/file_error.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <variant>

namespace casl::platform {

/// No bound on the bytes that `readFileBytes` reads.
inline constexpr std::size_t unlimitedBytes = SIZE_MAX;

/// Every byte of the regular file at `path`, or why it could not be read: CannotOpen,
/// CannotRead, NotRegularFile, or TooLarge past `maxBytes`. Nothing ever waits on the file: a
/// FIFO, a device, a socket or a folder is refused without reading from it, and a file larger
/// than `maxBytes` is refused before it is read.
std::variant<std::string, FileError> readFileBytes(const std::filesystem::path& path,
                                                   std::size_t maxBytes = unlimitedBytes);

} // namespace casl::platform
