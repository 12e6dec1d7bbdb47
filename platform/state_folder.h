#pragma once

#include "platform/file_error.h"

#include <filesystem>
#include <variant>

namespace casl::platform {

/// The folder where the workbench keeps what must outlive a run (the recovery files):
/// `$XDG_STATE_HOME/varnic`, or `~/.local/state/varnic` when XDG_STATE_HOME is unset or not an
/// absolute path. Made with mode 0700 when missing, and closed to others when it is not; a
/// folder of that name owned by another user is refused.
std::variant<std::filesystem::path, FileError> stateFolder();

} // namespace casl::platform
