#pragma once

#include "cli/check/reports.h"

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
    /// The wall-clock time each case may take; none: no limit.
    std::optional<double> timeLimitSeconds;
    /// The cases to run, by name; empty: every case of the test file.
    std::vector<std::string> caseNames;
    /// The teacher's solution that must pass every case first; empty: the test file's
    /// `reference`, if it names one.
    std::string referencePath;
    /// The one case whose run is printed instead of a report (`--explain`), by name.
    std::optional<std::string> explainCase;
};

} // namespace casl::check
