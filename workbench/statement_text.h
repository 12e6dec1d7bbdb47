#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace casl {

/// A run of text of one look inside a block of an exercise's statement.
struct StatementSpan {
    std::u32string text;
    bool strong = false;   ///< `**text**` or `__text__`
    bool emphasis = false; ///< `*text*` or `_text_`
    bool code = false;     ///< `` `text` ``: shown as written, in the fixed-pitch font

    friend bool operator==(const StatementSpan&, const StatementSpan&) = default;
};

/// One block of a statement: a heading, a paragraph, an item of a list or a block of code.
struct StatementBlock {
    enum class Kind { Heading, Paragraph, BulletItem, NumberedItem, Code };
    Kind kind = Kind::Paragraph;
    /// A heading's level (1 to 6); a numbered item's number; 0 otherwise.
    int level = 0;
    /// The text; a block of code has one span with its lines (LF between them).
    std::vector<StatementSpan> spans;

    friend bool operator==(const StatementBlock&, const StatementBlock&) = default;
};

/// The blocks of a statement written in a small part of Markdown: ATX headings (`#` to
/// `######`), paragraphs, `-`/`*`/`+` and `1.` list items (with their indented or lazy
/// continuation lines), fenced code blocks, and inside a block code spans, strong and
/// emphasis, with `\` before a punctuation character to write it as it is. Everything else is
/// text: no HTML, links or images are made, so a front end that shows the spans as text shows
/// nothing the statement did not spell out. The lines of a paragraph are joined with a blank,
/// except beside a Japanese character, where a blank would not belong.
std::vector<StatementBlock> statementBlocks(std::u32string_view markdown);

} // namespace casl
