#pragma once

#include "grading/check_results.h"

#include <string>
#include <vector>

namespace casl::check {

/// What the teacher's reference solution shows to be wrong with a test file, one message per
/// case: a case the reference fails, or an `expect.data` label it has no DC or DS line for (a
/// typo that would fail the whole class). A reference that cannot run at all gives one message.
/// Empty when the reference passes every case.
std::vector<std::string> referenceFaults(const ProgramResult& reference);

} // namespace casl::check
