#include "assembler/source_intake.h"

namespace casl {
namespace {

constexpr char32_t quote = U'\'';

bool isSeparator(char32_t c) {
    return c == U' ' || c == U'\t' || c == U',';
}

char32_t at(std::u32string_view line, std::size_t i) {
    return i < line.size() ? line[i] : 0;
}

/// Gathers the whole operand list of a `DC` line into one field: blanks and tabs outside quoted
/// strings are dropped, a comment ends it.
std::u32string rescanDcOperands(std::u32string_view line, std::size_t from) {
    enum { outside, inside, pairOpened } state = outside;
    std::u32string operands;
    for (std::size_t i = from; i < line.size(); ++i) {
        const char32_t c = line[i];
        if (state == outside) {
            if (c == U';') {
                break;
            }
            if (c != U'\t' && c != U' ') {
                operands.push_back(c);
            }
            if (c == quote) {
                state = inside;
            }
            continue;
        }
        operands.push_back(c);
        if (c == quote && at(line, i + 1) != quote && state != pairOpened) {
            state = outside;
        } else if (c == quote && at(line, i + 1) == quote) {
            state = pairOpened;
        } else if (c == quote && i > 0 && line[i - 1] == quote && state == pairOpened) {
            state = inside;
        }
    }
    return operands;
}

} // namespace

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
    std::array<std::u32string, 6> fields;
    if (line.empty() || line[0] == U';') {
        return fields;
    }
    int field = (line[0] == U' ' || line[0] == U'\t') ? 2 : 1;
    std::u32string token;
    bool inQuote = false;
    bool stoppedAtComment = false;
    bool stoppedAtLastField = false;
    std::size_t mnemonicEnd = line.size();
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char32_t c = line[i];
        if (c == quote && !inQuote) {
            inQuote = true;
        } else if (inQuote && c == quote && (i == 0 || line[i - 1] != quote) &&
                   at(line, i + 1) != quote) {
            inQuote = false;
        }
        if (!inQuote && isSeparator(c)) {
            if (!token.empty()) {
                if (field == 2) {
                    mnemonicEnd = i;
                }
                fields[field] = std::move(token);
                token.clear();
                if (++field == 6) {
                    stoppedAtLastField = true;
                    break;
                }
            }
        } else if (c == U';' && !inQuote) {
            if (field == 2) {
                mnemonicEnd = i;
            }
            fields[field] = std::move(token);
            stoppedAtComment = true;
            break;
        } else {
            token.push_back(c);
        }
    }
    if (!stoppedAtComment && !stoppedAtLastField) {
        fields[field] = std::move(token);
    }
    // A comment after the list does not cut a DC short: the re-scan stops at it by itself.
    if (fields[2] == U"DC") {
        fields[3] = rescanDcOperands(line, mnemonicEnd);
        fields[4].clear();
        fields[5].clear();
    }
    return fields;
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
