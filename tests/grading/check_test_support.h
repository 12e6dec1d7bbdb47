#pragma once

#include "grading/check_case.h"
#include "grading/check_results.h"

#include <filesystem>
#include <initializer_list>
#include <string>
#include <string_view>

namespace casl::check::test {

/// A folder of its own under the temporary folder, removed with everything in it.
class ScratchFolder {
public:
    ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    ~ScratchFolder();

    const std::filesystem::path& path() const { return path_; }
    /// Writes `bytes` to the file `name` in the folder (sub-folders are made) and returns its
    /// path.
    std::filesystem::path write(const std::string& name, std::string_view bytes) const;

private:
    std::filesystem::path path_;
};

/// Program lines joined with CR LF, as a source file holds them.
std::string program(std::initializer_list<std::string_view> lines);

/// The test file of `toml`; the test fails when it cannot be read.
TestFile testFile(std::string_view toml);

/// `source` checked against the cases of `toml`.
ProgramResult checkSource(std::string_view source, std::string_view toml);

/// The "what" of every mismatch of a case, joined with ", ".
std::string mismatchNames(const CaseResult& result);

/// Why a case failed, for the message of a failing test: its problem and every mismatch.
std::string failureOf(const CaseResult& result);

} // namespace casl::check::test
