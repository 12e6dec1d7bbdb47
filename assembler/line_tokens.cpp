#include "assembler/line_tokens.h"

#include "assembler/instruction_table.h"
#include "assembler/numeric_text.h"

namespace casl {
namespace {

constexpr char32_t quote = U'\'';
constexpr std::size_t none = std::u32string_view::npos;

bool isBlank(char32_t c) {
    return c == U' ' || c == U'\t';
}

bool isSeparator(char32_t c) {
    return isBlank(c) || c == U',';
}

char32_t at(std::u32string_view line, std::size_t i) {
    return i < line.size() ? line[i] : 0;
}

TokenKind operandKind(std::u32string_view text) {
    if (registerNumber(text)) {
        return TokenKind::registerName;
    }
    switch (text[0]) {
    case U'=':
        return TokenKind::literal;
    case U'#':
        return TokenKind::hexadecimal;
    case quote:
        return TokenKind::character;
    default:
        return isNumeric(text) ? TokenKind::decimal : TokenKind::name;
    }
}

TokenKind fieldKind(int field, std::u32string_view text) {
    switch (field) {
    case 1:
        return TokenKind::label;
    case 2:
        return findInstruction(text) == unknownRow ? TokenKind::unknownMnemonic
                                                   : TokenKind::mnemonic;
    default:
        return operandKind(text);
    }
}

TokenKind dcItemKind(std::u32string_view text) {
    if (text[0] == U'#') {
        return TokenKind::hexadecimal;
    }
    return isNumeric(text) ? TokenKind::decimal : TokenKind::name;
}

/// Collects tokens, leaving out empty stretches.
class Tokens {
public:
    explicit Tokens(std::u32string_view line) : line_(line) {}

    void add(std::size_t start, std::size_t end, TokenKind kind, int field) {
        if (end > start) {
            list_.push_back({start, end - start, kind, field});
        }
    }
    std::u32string_view text(std::size_t start, std::size_t end) const {
        return line_.substr(start, end - start);
    }
    std::vector<LineToken>& list() { return list_; }

private:
    std::u32string_view line_;
    std::vector<LineToken> list_;
};

/// The first scan: fields separated by blanks, tabs and commas outside quotes, up to a comment
/// or the third operand. Returns where the mnemonic ends (the line's length when it has none).
std::size_t scanFields(std::u32string_view line, Tokens& tokens) {
    const std::size_t n = line.size();
    int field = isBlank(line[0]) ? 2 : 1;
    std::size_t tokenStart = none;
    std::size_t separatorStart = none;
    std::size_t mnemonicEnd = n;
    bool inQuote = false;
    const auto closeSeparators = [&](std::size_t end) {
        if (separatorStart != none) {
            tokens.add(separatorStart, end, TokenKind::separator, 0);
            separatorStart = none;
        }
    };
    const auto closeField = [&](std::size_t end) {
        tokens.add(tokenStart, end, fieldKind(field, tokens.text(tokenStart, end)), field);
        if (field == 2) {
            mnemonicEnd = end;
        }
        tokenStart = none;
        ++field;
    };
    for (std::size_t i = 0; i < n; ++i) {
        const char32_t c = line[i];
        // A quote next to another quote is half of a doubled quote, never a closing one.
        if (c == quote && !inQuote) {
            inQuote = true;
        } else if (inQuote && c == quote && (i == 0 || line[i - 1] != quote) &&
                   at(line, i + 1) != quote) {
            inQuote = false;
        }
        if (!inQuote && isSeparator(c)) {
            if (tokenStart != none) {
                closeField(i);
                if (field == 6) {
                    // No field is left: the rest of the line, comment included, is dropped.
                    std::size_t rest = i;
                    while (rest < n && isSeparator(line[rest])) {
                        ++rest;
                    }
                    tokens.add(i, rest, TokenKind::separator, 0);
                    // A comment there is still a comment to the reader.
                    tokens.add(rest, n,
                               at(line, rest) == U';' ? TokenKind::comment : TokenKind::ignored, 0);
                    return mnemonicEnd;
                }
            }
            if (separatorStart == none) {
                separatorStart = i;
            }
        } else if (c == U';' && !inQuote) {
            closeSeparators(i);
            if (tokenStart != none) {
                closeField(i);
            }
            tokens.add(i, n, TokenKind::comment, 0);
            return mnemonicEnd;
        } else {
            closeSeparators(i);
            if (tokenStart == none) {
                tokenStart = i;
            }
        }
    }
    closeSeparators(n);
    if (tokenStart != none) {
        closeField(n);
    }
    return mnemonicEnd;
}

/// The `DC` re-scan from the end of the mnemonic: the whole operand list is field 3, quoted
/// strings keep their blanks, and a comment outside quotes ends it.
void scanDcOperands(std::u32string_view line, std::size_t from, Tokens& tokens) {
    enum class Run { none, separator, item, character };
    Run run = Run::none;
    std::size_t runStart = from;
    const auto closeRun = [&](std::size_t end) {
        switch (run) {
        case Run::separator:
            tokens.add(runStart, end, TokenKind::separator, 3);
            break;
        case Run::item:
            tokens.add(runStart, end, dcItemKind(tokens.text(runStart, end)), 3);
            break;
        case Run::character:
            tokens.add(runStart, end, TokenKind::character, 3);
            break;
        case Run::none:
            break;
        }
        run = Run::none;
        runStart = end;
    };
    const auto openRun = [&](Run kind, std::size_t i) {
        if (run != kind) {
            closeRun(i);
            run = kind;
            runStart = i;
        }
    };
    enum { outside, inside, pairOpened } state = outside;
    for (std::size_t i = from; i < line.size(); ++i) {
        const char32_t c = line[i];
        if (state == outside) {
            if (c == U';') {
                closeRun(i);
                tokens.add(i, line.size(), TokenKind::comment, 0);
                return;
            }
            if (c == quote) {
                closeRun(i);
                run = Run::character;
                runStart = i;
                state = inside;
            } else {
                openRun(isSeparator(c) ? Run::separator : Run::item, i);
            }
            continue;
        }
        if (c == quote && at(line, i + 1) != quote && state != pairOpened) {
            state = outside;
            closeRun(i + 1);
        } else if (c == quote && at(line, i + 1) == quote) {
            state = pairOpened;
        } else if (c == quote && i > 0 && line[i - 1] == quote && state == pairOpened) {
            state = inside;
        }
    }
    closeRun(line.size());
}

} // namespace

std::vector<LineToken> lineTokens(std::u32string_view line) {
    Tokens tokens(line);
    if (line.empty()) {
        return {};
    }
    if (line[0] == U';') {
        tokens.add(0, line.size(), TokenKind::comment, 0);
        return std::move(tokens.list());
    }
    const std::size_t mnemonicEnd = scanFields(line, tokens);
    auto& list = tokens.list();
    for (std::size_t k = 0; k < list.size(); ++k) {
        if (list[k].field == 2 && tokens.text(list[k].start, mnemonicEnd) == U"DC") {
            // The operand list of a DC is read again as a whole, whatever the first scan made
            // of it.
            list.resize(k + 1);
            scanDcOperands(line, mnemonicEnd, tokens);
            break;
        }
    }
    return std::move(list);
}

std::array<std::u32string, 6> fieldsOfTokens(std::u32string_view line,
                                             const std::vector<LineToken>& tokens) {
    std::array<std::u32string, 6> fields;
    for (const LineToken& token : tokens) {
        if (token.field < 1 || token.field > 5) {
            continue;
        }
        const std::u32string_view text = line.substr(token.start, token.length);
        std::u32string& field = fields[static_cast<std::size_t>(token.field)];
        if (token.kind != TokenKind::separator) {
            field.append(text);
            continue;
        }
        for (const char32_t c : text) {
            if (!isBlank(c)) {
                field.push_back(c);
            }
        }
    }
    return fields;
}

std::vector<LineToken> lineTokensInUtf16(std::u32string_view line) {
    std::vector<LineToken> tokens = lineTokens(line);
    std::size_t unit = 0;
    std::size_t character = 0;
    const auto unitsTo = [&](std::size_t end) {
        for (; character < end; ++character) {
            unit += line[character] > 0xFFFF ? 2 : 1;
        }
        return unit;
    };
    for (LineToken& token : tokens) {
        const std::size_t start = unitsTo(token.start);
        token.length = unitsTo(token.start + token.length) - start;
        token.start = start;
    }
    return tokens;
}

} // namespace casl
