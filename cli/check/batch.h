#pragma once

#include "grading/check_case.h"
#include "grading/check_results.h"
#include "grading/program_check.h"

#include <cstddef>
#include <functional>
#include <vector>

namespace casl::check {

/// Told the number of programs done and of all, on the calling thread.
using Progress = std::function<void(std::size_t done, std::size_t total)>;

/// Checks every program against the test file, `jobs` programs at a time on threads of their
/// own; the results come in the order of `programs`. `progress`, when given, hears every
/// change of the number done.
std::vector<ProgramResult> checkPrograms(const std::vector<ProgramEntry>& programs,
                                         const TestFile& tests, unsigned jobs,
                                         const Progress& progress = {});

} // namespace casl::check
