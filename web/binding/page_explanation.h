#pragma once

#include "workbench/run_explanation.h"

#include <string>

namespace casl::web {

/// The explanation of the run as a JSON text (UTF-8) for the page: the tips and writer steps
/// of the registers, PR, SP, flags and of every line of both dumps, the read lines, the reads
/// said in words, the notice, the predictions and their results.
std::string explanationJson(const RunExplanation& explanation);

} // namespace casl::web
