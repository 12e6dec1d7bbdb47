#pragma once

#include "workbench/exercise_session.h"

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace casl {

/// The files of an exercise's folder that the workbench reads.
inline constexpr std::string_view exerciseTestsFile = "tests.toml";
inline constexpr std::string_view exerciseStartFile = "start.cas";

/// A shipped exercise as the exercises menu offers it.
struct ExerciseEntry {
    /// The folder's name ("reverse").
    std::u32string name;
    /// What the menu says: the test file's title, or the folder's name without one.
    std::u32string title;
    std::filesystem::path folder;
};

/// The title of the exercise `name` whose test file holds `tests`: the file's `title`, or the
/// name when the file gives none or cannot be read.
std::u32string exerciseTitle(std::u32string_view name, std::string_view tests);

/// The exercises in `folder`: every sub-folder that holds a test file, sorted by name, with its
/// title. None for a folder that does not exist or holds none.
std::vector<ExerciseEntry> exerciseCatalogue(const std::filesystem::path& folder);

/// What opening the exercise in `folder` hands the session: its test file's bytes (or why they
/// cannot be read) and its starting program's path, when it has one.
ExerciseFiles exerciseFiles(const std::filesystem::path& folder);

} // namespace casl
