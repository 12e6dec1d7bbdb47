#pragma once

// The line splitting of the assembler, written out step by step as the assembler has always
// done it, kept apart from the assembler's own code: the tokenizer that the assembler and the
// editors share is checked against it.

#include <array>
#include <string>
#include <string_view>

namespace casl::test {

inline std::array<std::u32string, 6> referenceSplitLineFields(std::u32string_view line) {
    constexpr char32_t quote = U'\'';
    const auto at = [&](std::size_t i) -> char32_t { return i < line.size() ? line[i] : 0; };
    const auto isSeparator = [](char32_t c) { return c == U' ' || c == U'\t' || c == U','; };

    std::array<std::u32string, 6> fields;
    if (line.empty() || line[0] == U';') {
        return fields;
    }
    int field = (line[0] == U' ' || line[0] == U'\t') ? 2 : 1;
    std::u32string token;
    bool inQuote = false;
    bool stopped = false;
    std::size_t mnemonicEnd = line.size();
    for (std::size_t i = 0; i < line.size() && !stopped; ++i) {
        const char32_t c = line[i];
        if (c == quote && !inQuote) {
            inQuote = true;
        } else if (inQuote && c == quote && (i == 0 || line[i - 1] != quote) &&
                   at(i + 1) != quote) {
            inQuote = false;
        }
        if (!inQuote && isSeparator(c)) {
            if (!token.empty()) {
                if (field == 2) {
                    mnemonicEnd = i;
                }
                fields[field] = token;
                token.clear();
                stopped = ++field == 6;
            }
        } else if (c == U';' && !inQuote) {
            if (field == 2) {
                mnemonicEnd = i;
            }
            fields[field] = token;
            token.clear();
            stopped = true;
        } else {
            token.push_back(c);
        }
    }
    if (!stopped) {
        fields[field] = token;
    }
    if (fields[2] != U"DC") {
        return fields;
    }
    // The DC re-scan: the whole operand list, without the blanks and tabs outside quotes.
    fields[3].clear();
    fields[4].clear();
    fields[5].clear();
    enum { outside, inside, pairOpened } state = outside;
    for (std::size_t i = mnemonicEnd; i < line.size(); ++i) {
        const char32_t c = line[i];
        if (state == outside) {
            if (c == U';') {
                break;
            }
            if (c != U'\t' && c != U' ') {
                fields[3].push_back(c);
            }
            if (c == quote) {
                state = inside;
            }
            continue;
        }
        fields[3].push_back(c);
        if (c == quote && at(i + 1) != quote && state != pairOpened) {
            state = outside;
        } else if (c == quote && at(i + 1) == quote) {
            state = pairOpened;
        } else if (c == quote && i > 0 && line[i - 1] == quote && state == pairOpened) {
            state = inside;
        }
    }
    return fields;
}

} // namespace casl::test
