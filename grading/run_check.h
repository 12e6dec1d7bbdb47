#pragma once

#include "assembler/program_tables.h"
#include "grading/case_runner.h"
#include "grading/check_case.h"
#include "grading/check_results.h"

#include <string>
#include <vector>

namespace casl::check {

/// The lines that `OUT` wrote in a run, one per `OUT`, from the run's output text.
std::vector<std::u32string> outputLinesOf(std::u32string_view outputText);

/// What differs between the end of a run (`run`, and the data words in `tables`) and the
/// case's expectations; empty when everything holds.
std::vector<Mismatch> compareRun(const RunRecord& run, const ProgramTables& tables,
                                 const CheckCase& c);

} // namespace casl::check
