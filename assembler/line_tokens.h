#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace casl {

/// What a stretch of a source line is to the assembler.
enum class TokenKind : std::uint8_t {
    label,           ///< field 1
    mnemonic,        ///< field 2, a row of the instruction table
    unknownMnemonic, ///< field 2, in no row of the instruction table (error 7)
    registerName,    ///< an operand "GR0" … "GR7"
    decimal,         ///< an operand or `DC` item of an optional sign and digits
    hexadecimal,     ///< an operand or `DC` item that begins with `#`
    literal,         ///< an operand that begins with `=`
    character,       ///< a quoted character constant
    name,            ///< any other operand or `DC` item: a label the line refers to
    comment,         ///< from `;` to the end of the line
    separator,       ///< blanks, tabs and commas between fields or `DC` items
    ignored,         ///< text after the third operand, which the assembler drops (a comment
                     ///< there is a comment)
};

/// One stretch of a source line: `length` characters from `start`.
struct LineToken {
    std::size_t start = 0;
    std::size_t length = 0;
    TokenKind kind = TokenKind::separator;
    /// The `lineFields` column (1–5) whose text the token is part of; 0 for none. The commas
    /// between `DC` items belong to field 3, since the assembler keeps them there.
    int field = 0;

    friend bool operator==(const LineToken&, const LineToken&) = default;
};

/// The tokens of one source line (no line end in it), in order, covering every character of
/// the line exactly once. This is the assembler's own split of the line into fields: the
/// assembler takes its fields from these tokens (`fieldsOfTokens`), and the editors colour
/// the same tokens.
std::vector<LineToken> lineTokens(std::u32string_view line);

/// `lineTokens(line)` with starts and lengths counted in UTF-16 units, as editors count them.
std::vector<LineToken> lineTokensInUtf16(std::u32string_view line);

/// The label, mnemonic and up to three operands (`lineFields` columns 1–5; index 0 unused) that
/// the tokens of `line` make: each field is its tokens' text, except that the blanks and tabs
/// between `DC` items are dropped.
std::array<std::u32string, 6> fieldsOfTokens(std::u32string_view line,
                                             const std::vector<LineToken>& tokens);

} // namespace casl
