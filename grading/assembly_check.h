#pragma once

#include "assembler/assembler.h"
#include "grading/check_case.h"
#include "grading/check_results.h"

#include <map>
#include <string>
#include <vector>

namespace casl::check {

/// The error numbers of every line in error, each list sorted and without repeats, from the
/// findings of the program tables.
std::map<int, std::vector<int>> lineErrors(const ProgramTables& tables);

/// Why a program whose assembly does not allow tracing cannot run: "does not assemble
/// (Assemble Error: 2); line 3: error 5 <GR>レジスタ".
std::string assemblyProblem(const ProgramTables& tables, const AssemblyResult& result);

/// What differs from a case with assembles = false.
std::vector<Mismatch> compareAssembly(const ProgramTables& tables, const AssemblyResult& result,
                                      const CheckCase& c);

} // namespace casl::check
