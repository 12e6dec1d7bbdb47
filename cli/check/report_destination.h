#pragma once

#include <filesystem>
#include <string>
#include <variant>
#include <vector>

namespace casl::check {

/// Where the report of `casl2 check` goes.
struct ReportDestination {
    enum class Kind {
        StandardOutput, ///< No `--output`, or a name of standard output (/dev/stdout).
        StandardError,  ///< A name of standard error (/dev/stderr).
        File,           ///< The file `path`, replaced as a whole.
    };
    Kind kind = Kind::StandardOutput;
    std::filesystem::path path;
};

/// Why the report may not be written where `--output` says: the message for standard error.
struct DestinationRefused {
    std::string message;
};

/// The destination of `--output outputPath` (empty: standard output). The names of the
/// standard streams (/dev/stdout, /dev/fd/1, /proc/self/fd/1 and those of standard error) write
/// to the stream, so that a log that the stream is redirected to is written into, never
/// replaced. A path that is the same file as one of `inputs` (the test file and the programs,
/// through links too) is refused: the report would replace it.
std::variant<ReportDestination, DestinationRefused>
reportDestination(const std::string& outputPath, const std::vector<std::filesystem::path>& inputs);

} // namespace casl::check
