#pragma once

#include "grading/check_case.h"

#include <filesystem>
#include <string>
#include <string_view>
#include <variant>

namespace casl::check {

/// Why a test file cannot be used, with where: "tests.toml:12:5: unknown key 'GR8' …".
struct TestFileError {
    std::string message;
};

/// Reads the test file at `path` (TOML, UTF-8).
std::variant<TestFile, TestFileError> readTestFile(const std::filesystem::path& path);

/// Reads a test file from its text; `path` names it in the errors.
std::variant<TestFile, TestFileError> parseTestFile(std::string_view text, const std::string& path);

} // namespace casl::check
