#include "assembler/source_intake.h"

#include "assembler/line_tokens.h"

namespace casl {

std::vector<std::u32string_view> keptLines(std::u32string_view text) {
    std::vector<std::u32string_view> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= text.size(); ++i) {
        const bool atEnd = i == text.size();
        if (!atEnd && text[i] != U'\r' && text[i] != U'\n') {
            continue;
        }
        if (i > start) {
            lines.push_back(text.substr(start, i - start));
        }
        if (!atEnd && text[i] == U'\r' && i + 1 < text.size() && text[i + 1] == U'\n') {
            ++i;
        }
        start = i + 1;
    }
    return lines;
}

std::array<std::u32string, 6> splitLineFields(std::u32string_view line) {
    return fieldsOfTokens(line, lineTokens(line));
}

bool isBlankText(std::u32string_view text) {
    return text.find_first_not_of(U' ') == std::u32string_view::npos;
}

std::u32string takeSource(std::u32string_view text, AssemblyState& state) {
    ProgramTables& t = state.tables;
    t.lineCounter = 1;
    for (int n = 1; n <= maxLines; ++n) {
        t.lineAddress[n] = 0;
        for (auto& field : t.lineFields[n]) {
            field.clear();
        }
        for (int k = 1; k <= 4; ++k) {
            t.lineCode[n][k] = 0;
        }
    }
    for (int w = 1; w <= maxDataWords; ++w) {
        t.dataLabel[w].clear();
        t.dataWords[w] = {0, 0, 0};
    }
    t.dataWordCounter = 1;

    std::u32string editorText;
    editorText.reserve(text.size() + text.size() / 8);
    for (std::u32string_view line : keptLines(text)) {
        // The editor keeps every line, also those the tables have no room for.
        editorText.append(line);
        editorText.append(U"\r\n");
        if (state.stopped()) {
            continue;
        }
        if (t.lineCounter > maxLines) {
            state.stop(tooManyLinesMessage);
            continue;
        }
        auto fields = splitLineFields(line);
        for (int k = 1; k <= 5; ++k) {
            t.lineFields[t.lineCounter][k] = std::move(fields[k]);
        }
        ++t.lineCounter;
    }
    return editorText;
}

} // namespace casl
