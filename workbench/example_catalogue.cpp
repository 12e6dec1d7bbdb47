#include "workbench/example_catalogue.h"

#include "platform/text_codec.h"

#include <algorithm>
#include <fstream>
#include <system_error>

namespace casl {

namespace {

/// How much of a file its first line may take.
constexpr std::size_t firstLineLimit = 400;

bool isBlank(char32_t c) {
    return c == U' ' || c == U'\t' || c == U'\r' || c == U'\n' || c == U'\v' || c == U'\f';
}

std::u32string_view trimmed(std::u32string_view text) {
    while (!text.empty() && isBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && isBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

bool isProgramName(const std::filesystem::path& path) {
    std::string extension = path.extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(), [](char c) {
        return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    });
    return extension == ".cas";
}

/// The first line of the file at `path` (at most `firstLineLimit` bytes of it), as UTF-8.
std::u32string firstLineOf(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::string bytes(firstLineLimit, '\0');
    file.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    bytes.resize(static_cast<std::size_t>(file.gcount()));
    return platform::fromUtf8(bytes.substr(0, bytes.find('\n')));
}

} // namespace

std::u32string exampleCaption(std::u32string_view name, std::u32string_view text) {
    const std::u32string_view first = trimmed(text.substr(0, text.find_first_of(U"\r\n")));
    const std::size_t dash = first.find(U"--");
    if (!first.starts_with(U';') || dash == std::u32string_view::npos) {
        return std::u32string(name);
    }
    const std::u32string_view description = trimmed(first.substr(dash + 2));
    if (description.empty()) {
        return std::u32string(name);
    }
    return std::u32string(name) + U" — " + std::u32string(description);
}

std::vector<Example> exampleCatalogue(const std::filesystem::path& folder) {
    std::vector<Example> examples;
    std::error_code error;
    for (std::filesystem::directory_iterator entry(folder, error), end; !error && entry != end;
         entry.increment(error)) {
        const std::filesystem::path& path = entry->path();
        if (!isProgramName(path) || !entry->is_regular_file(error)) {
            continue;
        }
        std::ifstream readable(path, std::ios::binary);
        if (!readable) {
            continue;
        }
        const std::u32string name = platform::fromUtf8(path.filename().string());
        examples.push_back({name, exampleCaption(name, firstLineOf(path)), path});
    }
    std::sort(examples.begin(), examples.end(),
              [](const Example& a, const Example& b) { return a.name < b.name; });
    return examples;
}

} // namespace casl
