#include "workbench/statement_text.h"

#include <algorithm>
#include <optional>

namespace casl {

namespace {

bool isBlank(char32_t c) {
    return c == U' ' || c == U'\t';
}

bool isBlankLine(std::u32string_view line) {
    return std::all_of(line.begin(), line.end(), isBlank);
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

std::size_t indentOf(std::u32string_view line) {
    std::size_t n = 0;
    while (n < line.size() && isBlank(line[n])) {
        ++n;
    }
    return n;
}

bool isAsciiPunctuation(char32_t c) {
    return (c >= U'!' && c <= U'/') || (c >= U':' && c <= U'@') || (c >= U'[' && c <= U'`') ||
           (c >= U'{' && c <= U'~');
}

bool isWordCharacter(char32_t c) {
    return (c >= U'0' && c <= U'9') || (c >= U'A' && c <= U'Z') || (c >= U'a' && c <= U'z');
}

/// Characters of Japanese text, between which Markdown's line joining puts no blank.
bool isWide(char32_t c) {
    return c >= U'\u2E80';
}

/// The lines of `text`, without their line ends (LF, CR LF or CR).
std::vector<std::u32string_view> linesOf(std::u32string_view text) {
    std::vector<std::u32string_view> lines;
    std::size_t begin = 0;
    while (begin <= text.size()) {
        const std::size_t end = text.find_first_of(U"\r\n", begin);
        if (end == std::u32string_view::npos) {
            if (begin < text.size()) {
                lines.push_back(text.substr(begin));
            }
            break;
        }
        lines.push_back(text.substr(begin, end - begin));
        begin =
            end + (text[end] == U'\r' && end + 1 < text.size() && text[end + 1] == U'\n' ? 2 : 1);
    }
    return lines;
}

/// The spans of inline text, inside markers that already gave `outer` its look.
class InlineReader {
public:
    explicit InlineReader(std::vector<StatementSpan>& spans) : spans_(spans) {}

    void read(std::u32string_view text, const StatementSpan& outer) {
        std::u32string plain;
        auto flush = [&] {
            if (!plain.empty()) {
                add(StatementSpan{plain, outer.strong, outer.emphasis, false});
                plain.clear();
            }
        };
        std::size_t i = 0;
        while (i < text.size()) {
            const char32_t c = text[i];
            if (c == U'\\' && i + 1 < text.size() && isAsciiPunctuation(text[i + 1])) {
                plain.push_back(text[i + 1]);
                i += 2;
                continue;
            }
            if (c == U'`') {
                const std::size_t run = runLength(text, i);
                if (const auto close = closingTicks(text, i + run, run)) {
                    flush();
                    add(StatementSpan{codeText(text.substr(i + run, *close - i - run)),
                                      outer.strong, outer.emphasis, true});
                    i = *close + run;
                    continue;
                }
                plain.append(text.substr(i, run));
                i += run;
                continue;
            }
            if (c == U'*' || c == U'_') {
                const std::size_t run = std::min<std::size_t>(runLength(text, i), 2);
                if (const auto close = closingMarker(text, i, run)) {
                    flush();
                    StatementSpan inner = outer;
                    (run == 2 ? inner.strong : inner.emphasis) = true;
                    read(text.substr(i + run, *close - i - run), inner);
                    i = *close + run;
                    continue;
                }
                plain.append(text.substr(i, run));
                i += run;
                continue;
            }
            plain.push_back(c);
            ++i;
        }
        flush();
    }

private:
    static std::size_t runLength(std::u32string_view text, std::size_t at) {
        std::size_t n = 0;
        while (at + n < text.size() && text[at + n] == text[at]) {
            ++n;
        }
        return n;
    }

    /// Where a run of exactly `run` backticks closes a code span begun before `from`.
    static std::optional<std::size_t> closingTicks(std::u32string_view text, std::size_t from,
                                                   std::size_t run) {
        for (std::size_t at = text.find(U'`', from); at != std::u32string_view::npos;) {
            const std::size_t length = runLength(text, at);
            if (length == run) {
                return at;
            }
            at = text.find(U'`', at + length);
        }
        return std::nullopt;
    }

    /// A code span's text: one blank is taken from each end when both have one.
    static std::u32string codeText(std::u32string_view inside) {
        if (inside.size() >= 2 && inside.front() == U' ' && inside.back() == U' ' &&
            !isBlankLine(inside)) {
            inside = inside.substr(1, inside.size() - 2);
        }
        return std::u32string(inside);
    }

    /// Where the `run` markers opened at `at` close: the same markers after some text that
    /// neither begins nor ends with a blank, code spans passed over. An underscore inside a word
    /// (MAX_VALUE) neither opens nor closes.
    static std::optional<std::size_t> closingMarker(std::u32string_view text, std::size_t at,
                                                    std::size_t run) {
        const char32_t marker = text[at];
        const std::size_t from = at + run;
        if (from >= text.size() || isBlank(text[from])) {
            return std::nullopt;
        }
        if (marker == U'_' && at > 0 && isWordCharacter(text[at - 1])) {
            return std::nullopt;
        }
        std::size_t i = from;
        while (i < text.size()) {
            if (text[i] == U'\\') {
                i += 2;
                continue;
            }
            if (text[i] == U'`') {
                const std::size_t ticks = runLength(text, i);
                const auto close = closingTicks(text, i + ticks, ticks);
                i = close ? *close + ticks : i + ticks;
                continue;
            }
            if (text[i] == marker) {
                const std::size_t length = runLength(text, i);
                const bool after = i + length < text.size() && isWordCharacter(text[i + length]);
                if (length >= run && i > from && !isBlank(text[i - 1]) &&
                    !(marker == U'_' && after)) {
                    // A longer run of markers closes with its first ones.
                    return i;
                }
                i += length;
                continue;
            }
            ++i;
        }
        return std::nullopt;
    }

    void add(StatementSpan span) {
        if (!spans_.empty()) {
            StatementSpan& last = spans_.back();
            if (last.strong == span.strong && last.emphasis == span.emphasis &&
                last.code == span.code) {
                last.text += span.text;
                return;
            }
        }
        spans_.push_back(std::move(span));
    }

    std::vector<StatementSpan>& spans_;
};

/// A line that begins a list item: its kind, number and the text after the marker.
struct ItemStart {
    StatementBlock::Kind kind;
    int number = 0;
    std::u32string_view text;
};

std::optional<ItemStart> itemStart(std::u32string_view line) {
    const std::u32string_view rest = line.substr(std::min<std::size_t>(indentOf(line), 3));
    if (rest.size() >= 2 && (rest[0] == U'-' || rest[0] == U'*' || rest[0] == U'+') &&
        isBlank(rest[1])) {
        return ItemStart{StatementBlock::Kind::BulletItem, 0, trimmed(rest.substr(2))};
    }
    std::size_t digits = 0;
    while (digits < rest.size() && digits < 9 && rest[digits] >= U'0' && rest[digits] <= U'9') {
        ++digits;
    }
    if (digits > 0 && digits + 1 < rest.size() && (rest[digits] == U'.' || rest[digits] == U')') &&
        isBlank(rest[digits + 1])) {
        int number = 0;
        for (std::size_t i = 0; i < digits; ++i) {
            number = number * 10 + static_cast<int>(rest[i] - U'0');
        }
        return ItemStart{StatementBlock::Kind::NumberedItem, number,
                         trimmed(rest.substr(digits + 2))};
    }
    return std::nullopt;
}

/// A heading line's level and text.
std::optional<std::pair<int, std::u32string_view>> headingOf(std::u32string_view line) {
    const std::u32string_view rest = line.substr(std::min<std::size_t>(indentOf(line), 3));
    std::size_t level = 0;
    while (level < rest.size() && rest[level] == U'#') {
        ++level;
    }
    if (level == 0 || level > 6 || (level < rest.size() && !isBlank(rest[level]))) {
        return std::nullopt;
    }
    std::u32string_view text = trimmed(rest.substr(level));
    // Closing hashes go when a blank stands before them.
    std::size_t end = text.size();
    while (end > 0 && text[end - 1] == U'#') {
        --end;
    }
    if (end == 0 || isBlank(text[end - 1])) {
        text = trimmed(text.substr(0, end));
    }
    return std::pair{static_cast<int>(level), text};
}

bool isFence(std::u32string_view line) {
    return trimmed(line).starts_with(U"```");
}

} // namespace

std::vector<StatementBlock> statementBlocks(std::u32string_view markdown) {
    std::vector<StatementBlock> blocks;
    // The text of the paragraph or item under way, lines joined.
    std::optional<StatementBlock> open;
    std::u32string openText;
    auto close = [&] {
        if (open) {
            InlineReader(open->spans).read(openText, StatementSpan{});
            blocks.push_back(std::move(*open));
            open.reset();
            openText.clear();
        }
    };
    auto join = [&](std::u32string_view line) {
        const std::u32string_view text = trimmed(line);
        if (!openText.empty() && !text.empty() && !isWide(openText.back()) &&
            !isWide(text.front())) {
            openText.push_back(U' ');
        }
        openText += text;
    };

    const std::vector<std::u32string_view> lines = linesOf(markdown);
    for (std::size_t n = 0; n < lines.size(); ++n) {
        const std::u32string_view line = lines[n];
        if (isBlankLine(line)) {
            close();
            continue;
        }
        if (isFence(line)) {
            close();
            std::u32string code;
            std::size_t end = n + 1;
            for (; end < lines.size() && !isFence(lines[end]); ++end) {
                code += (end == n + 1 ? U"" : U"\n");
                code += lines[end];
            }
            blocks.push_back(
                StatementBlock{StatementBlock::Kind::Code, 0, {{code, false, false, true}}});
            n = end;
            continue;
        }
        if (const auto heading = headingOf(line)) {
            close();
            StatementBlock block{StatementBlock::Kind::Heading, heading->first, {}};
            InlineReader(block.spans).read(heading->second, StatementSpan{});
            blocks.push_back(std::move(block));
            continue;
        }
        if (const auto item = itemStart(line)) {
            close();
            open = StatementBlock{item->kind, item->number, {}};
            join(item->text);
            continue;
        }
        if (!open) {
            open = StatementBlock{StatementBlock::Kind::Paragraph, 0, {}};
        }
        // An indented or lazy line goes on with the paragraph or item under way.
        join(line);
    }
    close();
    return blocks;
}

} // namespace casl
