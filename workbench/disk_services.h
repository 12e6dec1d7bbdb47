#pragma once

#include "platform/recovery_file.h"
#include "workbench/session_services.h"

#include <vector>

namespace casl {

/// Source files on the disk, named by their paths: Open refuses a file that the editor could
/// not show without delay, and saving keeps the old file whole until the new one is written.
class DiskSourceFiles : public SourceFiles {
public:
    std::variant<platform::SourceText, platform::FileError> read(std::u32string_view name) override;
    std::optional<platform::FileError> write(std::u32string_view name, std::u32string_view text,
                                             const SourceFormat& format) override;
};

/// "info.tmp" and "temp.temp" in the workbench's private temporary folder.
class DiskScratchFiles : public ScratchFiles {
public:
    std::optional<std::u32string> writeInfoText(std::u32string_view text) override;
    void keepProgramText(std::u32string_view text) override;
    std::optional<std::u32string> takeProgramText() override;
};

/// The recovery file in the state folder, and the ones that crashed workbenches left there.
class RecoveryStore : public UnsavedTextStore {
public:
    bool keep(std::u32string_view text, std::u32string_view fileName) override;
    void remove() override;
    std::optional<Left> left() override;
    void discardLeft() override;

private:
    platform::RecoveryFile file_;
    std::vector<platform::LeftRecovery> left_;
};

} // namespace casl
