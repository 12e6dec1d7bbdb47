#pragma once

#include "grading/program_check.h"

#include <string>
#include <vector>

namespace casl::check {

/// The programs that the command line names: a file as it is given (one that does not exist
/// or cannot be read still counts, and fails its cases), a folder as every entry in it whose
/// name ends in ".cas" (in any case) and that is not a folder, sorted by name: a link that
/// points nowhere fails its cases as a program that cannot be read. Sub-folders are not searched.
std::vector<ProgramEntry> programsOf(const std::vector<std::string>& arguments);

} // namespace casl::check
