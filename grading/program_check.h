#pragma once

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
/// that does not assemble fails every case that runs it.
ProgramResult checkProgram(const ProgramEntry& program, const TestFile& tests);

/// Checks the program text `text` (its lines separated by CR LF or LF) as `checkProgram` checks
/// a file that holds it; `name` names it in the result.
ProgramResult checkProgramText(std::u32string_view text, const std::string& name,
                               const TestFile& tests);

/// The result of a program whose cases could not run at all, each failing with `problem`.
ProgramResult failedProgram(const ProgramEntry& program, const std::string& problem,
                            const TestFile& tests);

} // namespace casl::check
