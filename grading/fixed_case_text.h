#pragma once

#include "grading/check_case.h"

#include <string>

namespace casl::check {

/// What a case gives its run, on one line: `inputs "12", "5"; TABLE = [3, -1]; GR1 = 7`
/// ("no inputs" when it gives nothing).
std::string givenText(const CheckCase& c);

/// The case as a `[[case]]` table of a test file, ready to paste: its inputs, set-up, call and
/// expectations, so that a generated case that found a fault can be kept as a fixed one. The
/// name's "#" becomes "-", as the generated names stay taken by their section.
std::string fixedCaseToml(const CheckCase& c);

} // namespace casl::check
