#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace casl::cli {

/// `casl2 assemble FILE`. Returns the exit status.
int assembleCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

/// `casl2 run FILE [options]`. Returns the exit status.
int runCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

/// The whole `casl2` command: `args` without the program name. Running out of memory anywhere
/// is reported and ends with its own status. Returns the exit status.
int casl2Main(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

/// The usage text of `casl2`.
std::string usageText();

} // namespace casl::cli
