#include "grading/source_lines.h"

#include "assembler/source_intake.h"

namespace casl::check {

SourceLines::SourceLines(std::u32string_view text) {
    // The kept lines are views into the text: a line's place in the file is the number of line
    // ends before it, each of CR LF, CR and LF ending one line as Assemble reads them.
    int line = 1;
    std::size_t counted = 0;
    for (std::u32string_view kept : keptLines(text)) {
        const auto begin = static_cast<std::size_t>(kept.data() - text.data());
        for (; counted < begin; ++counted) {
            const char32_t c = text[counted];
            if (c == U'\n' ||
                (c == U'\r' && !(counted + 1 < text.size() && text[counted + 1] == U'\n'))) {
                ++line;
            }
        }
        fileLines_.push_back(line);
    }
}

int SourceLines::fileLine(int line) const {
    if (line < 1 || static_cast<std::size_t>(line) > fileLines_.size()) {
        return line;
    }
    return fileLines_[static_cast<std::size_t>(line) - 1];
}

std::string SourceLines::name(int line) const {
    const int inFile = fileLine(line);
    std::string text = "line " + std::to_string(line);
    if (inFile != line) {
        text += " (line " + std::to_string(inFile) + " of the file)";
    }
    return text;
}

} // namespace casl::check
