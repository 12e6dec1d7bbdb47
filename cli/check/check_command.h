#pragma once

#include "cli/check/check_options.h"
#include "cli/exit_status.h"

#include <iosfwd>

namespace casl::check {

/// Exit statuses of `casl2 check`.
inline constexpr int everyCasePassed = cli::exit_status::success;
inline constexpr int someCaseFailed = cli::exit_status::failed;
inline constexpr int wrongTestsOrArguments = cli::exit_status::usageOrFileError;
inline constexpr int reportNotWritten = cli::exit_status::outputLost;

/// `casl2 check`. Returns the exit status. With `progress`, a terminal, a bar there shows how
/// many programs are done.
int checkCommand(const CheckOptions& options, std::ostream& out, std::ostream& err,
                 std::ostream* progress = nullptr);

} // namespace casl::check
