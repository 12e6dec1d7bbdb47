#pragma once

#include "grading/case_runner.h"
#include "grading/check_case.h"
#include "grading/check_results.h"

#include <filesystem>
#include <string>
#include <string_view>

namespace casl::check {

/// A program to check: where it is, and how the reports name it.
struct ProgramEntry {
    std::filesystem::path path;
    std::string name;
};

/// Reads and assembles the program once, then runs every case on a fresh copy of its tables
/// and a fresh machine. A program that cannot be read fails every case with the reason; one
/// that does not assemble fails every case that runs it. `watch`, when given, follows every run.
ProgramResult checkProgram(const ProgramEntry& program, const TestFile& tests,
                           const CaseRunWatch* watch = nullptr);

/// Checks a program's text (as read from its file) as `checkProgram` does; `name` names it in
/// the reports.
ProgramResult checkProgramText(const std::string& name, std::u32string_view text,
                               const TestFile& tests, const CaseRunWatch* watch = nullptr);

/// The result of a program whose cases could not run at all, each failing with `problem`.
ProgramResult failedProgram(const ProgramEntry& program, const std::string& problem,
                            const TestFile& tests);

} // namespace casl::check
