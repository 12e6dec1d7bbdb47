#pragma once

#include "cli/exit_status.h"
#include "cli/similar/similar_options.h"

#include <iosfwd>
#include <string>
#include <vector>

namespace casl::similar {

/// `casl2 similar`: 0 when the report was written, 2 for wrong arguments or no program to
/// compare, 9 when the report could not be written.
int similarCommand(const SimilarOptions& options, std::ostream& out, std::ostream& err);

/// The .cas programs that the arguments name: a file as given, a folder as every .cas file
/// (in any case) in it and in its sub-folders, sorted by path; links to folders are not
/// followed, so a folder that links to itself is read once.
std::vector<std::string> programPaths(const std::vector<std::string>& arguments);

} // namespace casl::similar
