#include "cli/check/report_destination.h"

#include <algorithm>
#include <array>
#include <string_view>
#include <sys/stat.h>

namespace casl::check {
namespace {

constexpr std::array<std::string_view, 3> outputNames = {"/dev/stdout", "/dev/fd/1",
                                                         "/proc/self/fd/1"};
constexpr std::array<std::string_view, 3> errorNames = {"/dev/stderr", "/dev/fd/2",
                                                        "/proc/self/fd/2"};

bool named(const auto& names, const std::string& path) {
    return std::find(names.begin(), names.end(), path) != names.end();
}

/// Whether `a` and `b` are one file: the same device and inode, through links.
bool sameFile(const struct stat& a, const std::filesystem::path& b) {
    struct stat other {};
    return ::stat(b.c_str(), &other) == 0 && other.st_dev == a.st_dev && other.st_ino == a.st_ino;
}

} // namespace

std::variant<ReportDestination, DestinationRefused>
reportDestination(const std::string& outputPath, const std::vector<std::filesystem::path>& inputs) {
    if (outputPath.empty() || named(outputNames, outputPath)) {
        return ReportDestination{ReportDestination::Kind::StandardOutput, {}};
    }
    if (named(errorNames, outputPath)) {
        return ReportDestination{ReportDestination::Kind::StandardError, {}};
    }
    struct stat target {};
    if (::stat(outputPath.c_str(), &target) == 0) {
        for (const std::filesystem::path& input : inputs) {
            if (sameFile(target, input)) {
                return DestinationRefused{"--output " + outputPath + " is the same file as " +
                                          input.string() +
                                          ", an input of the check: the report would replace "
                                          "it; nothing was written"};
            }
        }
    }
    return ReportDestination{ReportDestination::Kind::File, outputPath};
}

} // namespace casl::check
