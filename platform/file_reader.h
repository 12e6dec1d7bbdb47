#pragma once

#include "platform/file_error.h"

#include <filesystem>
#include <string>
#include <variant>

namespace casl::platform {

/// Every byte of the file at `path`, or why it could not be read (CannotOpen, CannotRead).
std::variant<std::string, FileError> readFileBytes(const std::filesystem::path& path);

} // namespace casl::platform
