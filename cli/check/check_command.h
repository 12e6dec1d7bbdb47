#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace casl::check {

/// Exit statuses of `casl2 check`.
inline constexpr int everyCasePassed = 0;
inline constexpr int someCaseFailed = 1;
inline constexpr int wrongTestsOrArguments = 2;

/// `casl2 check TESTS.toml PROGRAM_OR_FOLDER... [options]`. Returns the exit status. With
/// `progressOnErr`, `err` is a terminal and shows how many programs are done.
int checkCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                 bool progressOnErr = false);

} // namespace casl::check
