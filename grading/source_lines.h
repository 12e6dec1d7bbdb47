#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace casl::check {

/// Where each program line stands in the student's file. Assemble drops empty lines and counts
/// the rest, so line 5 of the listing may be line 7 of the file; a student looks for the latter.
class SourceLines {
public:
    SourceLines() = default;
    /// The lines of a program's text, as the file holds it.
    explicit SourceLines(std::u32string_view text);

    /// The line of the file that holds program line `line` (as the listing counts); `line`
    /// itself when it is not a program line of the text.
    int fileLine(int line) const;

    /// "line 5", or "line 5 (line 7 of the file)" where the two differ.
    std::string name(int line) const;

private:
    /// The file line of program line n at index n - 1.
    std::vector<int> fileLines_;
};

} // namespace casl::check
