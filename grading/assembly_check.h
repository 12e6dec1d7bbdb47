#pragma once

#include "assembler/assembler.h"
#include "grading/check_case.h"
#include "grading/check_results.h"
#include "grading/source_lines.h"

#include <map>
#include <string>
#include <vector>

namespace casl::check {

/// The error numbers of every line in error, each list sorted and without repeats, from the
/// findings of the program tables.
std::map<int, std::vector<int>> lineErrors(const ProgramTables& tables);

/// Why a program whose assembly does not allow tracing cannot run: "does not assemble
/// (Assemble Error: 2); line 3 (line 4 of the file): error 5 <GR>レジスタ". `lines` places the
/// program's lines in its file.
std::string assemblyProblem(const ProgramTables& tables, const AssemblyResult& result,
                            const SourceLines& lines = {});

/// What differs from a case with assembles = false; `lines` places the lines in the file.
std::vector<Mismatch> compareAssembly(const ProgramTables& tables, const AssemblyResult& result,
                                      const CheckCase& c, const SourceLines& lines = {});

} // namespace casl::check
