#pragma once

#include "cli/check/reports.h"

#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

namespace casl::check {

/// The arguments of `casl2 check`.
struct CheckOptions {
    std::string testsPath;
    std::vector<std::string> programs;
    ReportFormat format = ReportFormat::Text;
    bool verbose = false;
    /// Where the report goes; empty: standard output.
    std::string outputPath;
    /// Programs checked at once; 0: one per core.
    unsigned jobs = 0;
};

/// What parsing the arguments came to.
struct ParsedCheckOptions {
    /// The options, when the command is to run.
    std::optional<CheckOptions> options;
    /// The exit status otherwise: 0 after --help, 2 after a wrong argument.
    int status = 0;
};

/// Parses the arguments after `check`; prints the help to `out`, or what is wrong to `err`.
ParsedCheckOptions parseCheckOptions(const std::vector<std::string>& args, std::ostream& out,
                                     std::ostream& err);

/// The usage of `casl2 check` in short, for the usage of `casl2`.
std::string checkUsageText();

} // namespace casl::check
