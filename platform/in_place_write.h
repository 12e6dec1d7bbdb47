#pragma once

#include "platform/file_calls.h"
#include "platform/file_error.h"

#include <filesystem>
#include <optional>
#include <string_view>

namespace casl::platform {

/// Writes `bytes` into the existing regular file `destination` itself, so that it keeps its
/// owner, group, mode, hard links and attributes. A copy of the old contents is made in the
/// temporary folder and checked against the file first; when writing fails part-way, the old
/// contents are put back from it. Should that fail too, the copy is kept (in the state folder
/// where possible) and the error names it. `target` names the file in errors.
std::optional<FileError> writeInPlace(const std::filesystem::path& target,
                                      const std::filesystem::path& destination,
                                      std::string_view bytes, FileCalls& calls);

} // namespace casl::platform
