#pragma once

#include "grading/check_case.h"

#include <string>
#include <string_view>
#include <vector>

namespace casl::check {

/// Adds the cases of every `[[generate]]` section of `file` after its fixed cases, without
/// expectations: the reference gives them (`expectFromReference`).
void addGeneratedCases(TestFile& file);

/// Runs the reference (`name`, its program text `text`) on every generated case of `file` and
/// sets the case's expectations to what that run shows of the observations it compares. A run
/// of the reference that cannot serve as the answer (it does not assemble, cannot be set up,
/// is stopped by a bound, or ends otherwise than normally when the ending is not compared) is
/// a fault of the test file or its reference: one message per case, with the case's inputs,
/// for the first ten such cases (then one that says the rest were not tried).
std::vector<std::string> expectFromReference(TestFile& file, const std::string& name,
                                             std::u32string_view text);

} // namespace casl::check
