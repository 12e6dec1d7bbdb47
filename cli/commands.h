#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace casl::cli {

/// `casl2 assemble FILE`. Returns the exit status.
int assembleCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

/// `casl2 run FILE [options]`. Returns the exit status.
int runCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

/// The usage text of `casl2`.
std::string usageText();

} // namespace casl::cli
