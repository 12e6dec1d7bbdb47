#pragma once

#include "cli/check/program_check.h"

#include <string>
#include <vector>

namespace casl::check {

/// The programs that the command line names: a file as it is given (one that does not exist
/// or cannot be read still counts, and fails its cases), a folder as every regular file in it
/// whose name ends in ".cas" (in any case), sorted by name; sub-folders are not searched.
std::vector<ProgramEntry> programsOf(const std::vector<std::string>& arguments);

} // namespace casl::check
