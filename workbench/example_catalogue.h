#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace casl {

/// A shipped example program as the examples menu offers it.
struct Example {
    /// The file's name ("hello.cas").
    std::u32string name;
    /// What the menu says: the name and the description that the file's first line gives.
    std::u32string caption;
    /// Where the file is (the window reads it from there; the page fetches it by its name).
    std::filesystem::path path;
};

/// The menu caption of the example `name` whose text begins with `text`: the first line reads
/// "; NAME.cas -- what it shows", and the caption is "NAME.cas — what it shows"; without a
/// description, the name alone.
std::u32string exampleCaption(std::u32string_view name, std::u32string_view text);

/// The examples in `folder`: every readable `.cas` file (the extension in any case), sorted by
/// name, with its caption. None for a folder that does not exist or holds none.
std::vector<Example> exampleCatalogue(const std::filesystem::path& folder);

} // namespace casl
