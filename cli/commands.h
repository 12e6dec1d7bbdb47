#pragma once

#include "cli/command_line.h"
#include "cli/console.h"

#include <iosfwd>
#include <string>
#include <vector>

namespace casl::cli {

/// `casl2 assemble`. Returns the exit status.
int assembleCommand(const AssembleOptions& options, std::ostream& out, std::ostream& err);

/// `casl2 run`. Returns the exit status.
int runCommand(const RunOptions& options, std::ostream& out, std::ostream& err);

/// `casl2 check --explain CASE`: the run of one case as `casl2 run --trace` prints it, then
/// the case's verdict as the text report gives it. Returns the exit status.
int explainCommand(const check::CheckOptions& options, std::ostream& out, std::ostream& err);

/// The whole `casl2` command: `args` without the program name. Running out of memory anywhere
/// is reported and ends with its own status, and so is an output that could not be written.
/// Returns the exit status.
int casl2Main(const std::vector<std::string>& args, const Console& console);

} // namespace casl::cli
