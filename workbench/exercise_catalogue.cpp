#include "workbench/exercise_catalogue.h"

#include "grading/test_file_reader.h"
#include "platform/file_reader.h"
#include "platform/source_file.h"
#include "platform/text_codec.h"

#include <algorithm>
#include <system_error>

namespace casl {

namespace {

std::u32string u32(const std::filesystem::path& path) {
    return platform::fromUtf8(path.string());
}

} // namespace

std::u32string exerciseTitle(std::u32string_view name, std::string_view tests) {
    const auto read = check::parseTestFile(tests, "tests.toml");
    const auto* file = std::get_if<check::TestFile>(&read);
    return file == nullptr || file->title.empty() ? std::u32string(name)
                                                  : platform::fromUtf8(file->title);
}

ExerciseFiles exerciseFiles(const std::filesystem::path& folder) {
    ExerciseFiles files;
    files.name = u32(folder.filename());
    const std::filesystem::path tests = folder / exerciseTestsFile;
    // A test file is bounded as a program is, as `casl2 check` bounds it.
    auto bytes = platform::readFileBytes(tests, platform::maxSourceFileBytes);
    if (auto* read = std::get_if<std::string>(&bytes)) {
        files.tests = std::move(*read);
    } else {
        files.problem = std::get<platform::FileError>(bytes).message;
    }
    std::error_code error;
    const std::filesystem::path start = folder / exerciseStartFile;
    if (std::filesystem::is_regular_file(start, error)) {
        files.startProgram = u32(start);
    }
    return files;
}

std::vector<ExerciseEntry> exerciseCatalogue(const std::filesystem::path& folder) {
    std::vector<ExerciseEntry> exercises;
    std::error_code error;
    for (std::filesystem::directory_iterator entry(folder, error), end; !error && entry != end;
         entry.increment(error)) {
        std::error_code ignored;
        if (!entry->is_directory(ignored) ||
            !std::filesystem::is_regular_file(entry->path() / exerciseTestsFile, ignored)) {
            continue;
        }
        const ExerciseFiles files = exerciseFiles(entry->path());
        exercises.push_back({files.name, exerciseTitle(files.name, files.tests), entry->path()});
    }
    std::sort(exercises.begin(), exercises.end(),
              [](const ExerciseEntry& a, const ExerciseEntry& b) { return a.name < b.name; });
    return exercises;
}

} // namespace casl
