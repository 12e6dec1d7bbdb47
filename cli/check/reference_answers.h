#pragma once

#include "cli/check/check_options.h"
#include "grading/check_case.h"

#include <ostream>
#include <string>

namespace casl::check {

/// The reference of the command line, else that of the test file (beside the test file);
/// empty when there is none.
std::string referenceOf(const CheckOptions& options, const TestFile& file);

/// Gives the generated cases of `file` their expectations: what the reference's run of each
/// shows. Says why on `err` and returns false when the reference is missing, unreadable or
/// cannot answer a case: a fault of the test file, never of the programs checked.
bool answerGeneratedCases(const CheckOptions& options, TestFile& file, std::ostream& err);

} // namespace casl::check
