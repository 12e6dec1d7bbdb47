#include "cli/check/program_list.h"

#include "platform/text_codec.h"

#include <algorithm>
#include <cctype>
#include <system_error>

namespace casl::check {
namespace {

namespace fs = std::filesystem;

/// A file name as the reports show it: bytes that are not UTF-8 become U+FFFD, so that every
/// report format can hold it.
std::string shownName(const std::string& name) {
    return platform::toUtf8(platform::fromUtf8(name));
}

bool isProgramName(const fs::path& path) {
    std::string extension = path.extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension == ".cas";
}

} // namespace

std::vector<ProgramEntry> programsOf(const std::vector<std::string>& arguments) {
    std::vector<ProgramEntry> programs;
    for (const std::string& argument : arguments) {
        const fs::path given(argument);
        std::error_code error;
        if (!fs::is_directory(given, error)) {
            programs.push_back({given, shownName(argument)});
            continue;
        }
        std::vector<fs::path> found;
        for (fs::directory_iterator it(given, error), end; !error && it != end;
             it.increment(error)) {
            // Whatever is not a folder counts, so that a link that points nowhere or a file of
            // another kind fails as a program that cannot be read instead of going unmentioned.
            std::error_code kindError;
            if (isProgramName(it->path()) && !it->is_directory(kindError)) {
                found.push_back(it->path().filename());
            }
        }
        if (error) {
            // An unreadable folder fails as a program that cannot be read, naming the folder.
            programs.push_back({given, shownName(argument)});
            continue;
        }
        std::sort(found.begin(), found.end());
        for (const fs::path& name : found) {
            programs.push_back({given / name, shownName((given / name).string())});
        }
    }
    return programs;
}

} // namespace casl::check
