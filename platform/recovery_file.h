#pragma once

#include "platform/file_error.h"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace casl::platform {

/// Editor text that has not been saved, kept so that a crash does not lose it.
struct Recovery {
    std::u32string text;     ///< The editor text, lines separated by CR LF.
    std::u32string fileName; ///< The source file the text came from; empty for a new program.
};

/// A recovery file that a workbench left behind because it did not end normally.
struct LeftRecovery {
    std::filesystem::path path;
    Recovery recovery;
};

/// The recovery files in the state folder whose workbenches no longer run, newest first.
/// Files that are not recovery files of this program are left alone; broken ones are removed.
std::vector<LeftRecovery> leftRecoveries();

/// Removes a left recovery file, once it was restored or declined.
void discardRecovery(const LeftRecovery& left);

/// The recovery file of this workbench: `unsaved-XXXXXX.txt` in the state folder, mode 0600,
/// made on the first write and replaced whole at every write, so that a crash part-way leaves the
/// previous contents. While it exists, a lock on `unsaved-XXXXXX.lock` tells other workbenches
/// that its owner still runs. The destructor removes both, as a normal end does.
class RecoveryFile {
public:
    RecoveryFile() = default;
    ~RecoveryFile();
    RecoveryFile(const RecoveryFile&) = delete;
    RecoveryFile& operator=(const RecoveryFile&) = delete;

    std::optional<FileError> write(const Recovery& recovery);
    /// Removes the kept text (the program was saved); the next write makes it again.
    void remove();
    /// The file the text is kept in; empty before the first write.
    const std::filesystem::path& path() const { return textPath_; }

private:
    std::optional<FileError> claim();

    std::filesystem::path textPath_;
    std::filesystem::path lockPath_;
    int lockFd_ = -1;
};

} // namespace casl::platform
