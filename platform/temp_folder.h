#pragma once

#include "platform/file_error.h"

#include <filesystem>
#include <string_view>
#include <variant>

namespace casl::platform {

/// The scratch file that holds the editor text during an assembly and during a trace.
inline constexpr std::string_view scratchFileName = "temp.temp";
/// The scratch file that holds the assembled program text, one line per program line.
inline constexpr std::string_view infoFileName = "info.tmp";

/// The folder that holds this process's scratch files ("temp.temp", "info.tmp"), so that two
/// workbenches or two users never share them: `$TMPDIR` (or /tmp) followed by
/// `casl2-<user>-<pid>`, found or created with mode 0700 at every use. A folder of that name
/// left behind by an earlier process of the same user is taken over; one owned by anybody else
/// is passed over for `casl2-<user>-<pid>-<n>`. A folder that has vanished since (a cleaner of
/// /tmp) is made again.
std::variant<std::filesystem::path, FileError> temporaryFolder();

/// The path of the file `name` inside the temporary folder, which is created when needed.
std::variant<std::filesystem::path, FileError> temporaryFilePath(std::string_view name);

/// Removes the temporary folder with everything in it; a later use creates it again. The
/// programs call this when they end normally.
void removeTemporaryFolder();

} // namespace casl::platform
