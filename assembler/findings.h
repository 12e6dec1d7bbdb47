#pragma once

#include <string>
#include <vector>

namespace casl {

/// A line's findings are a string of error digits. Most checks add their digit; a few replace
/// everything found so far with theirs.
inline void appendFinding(std::u32string& findings, int error) {
    findings.push_back(static_cast<char32_t>(U'0' + error));
}

inline void setFinding(std::u32string& findings, int error) {
    findings.assign(1, static_cast<char32_t>(U'0' + error));
}

/// The mark of a line that holds nothing to assemble (a comment or blanks); not an error.
inline constexpr char32_t commentMark[] = U"0";

/// Whether the findings hold an error (anything but "" and the comment mark).
inline bool hasError(const std::u32string& findings) {
    return !findings.empty() && findings != commentMark;
}

/// The error numbers in the findings, in their order (the comment mark is none).
inline std::vector<int> errorNumbers(const std::u32string& findings) {
    std::vector<int> errors;
    for (const char32_t digit : findings) {
        if (digit >= U'1' && digit <= U'9') {
            errors.push_back(static_cast<int>(digit - U'0'));
        }
    }
    return errors;
}

} // namespace casl
