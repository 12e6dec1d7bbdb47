#include "web/binding/page_tokens.h"

#include "assembler/line_tokens.h"
#include "platform/text_codec.h"
#include "simulator/display_texts.h"

namespace casl::web {
namespace {

/// The kind's name, or nullptr for the kinds that stay plain.
const char* kindName(TokenKind kind) {
    switch (kind) {
    case TokenKind::label:
        return "label";
    case TokenKind::mnemonic:
        return "mnemonic";
    case TokenKind::unknownMnemonic:
        return "unknownMnemonic";
    case TokenKind::registerName:
        return "register";
    case TokenKind::decimal:
        return "decimal";
    case TokenKind::hexadecimal:
        return "hexadecimal";
    case TokenKind::literal:
        return "literal";
    case TokenKind::character:
        return "character";
    case TokenKind::comment:
        return "comment";
    case TokenKind::ignored:
        return "ignored";
    case TokenKind::name:
    case TokenKind::separator:
        break;
    }
    return nullptr;
}

} // namespace

std::vector<PageToken> pageLineTokens(std::string_view line, bool traceListing) {
    const std::u32string text = platform::fromUtf8(line);
    // The listing's prefix is ASCII: as many UTF-16 units as characters.
    const std::size_t skipped = traceListing ? markedListingPrefixLength(text) : 0;
    std::vector<PageToken> tokens;
    for (const LineToken& token : lineTokensInUtf16(std::u32string_view(text).substr(skipped))) {
        if (const char* kind = kindName(token.kind)) {
            const auto from = static_cast<int>(skipped + token.start);
            tokens.push_back(PageToken{from, from + static_cast<int>(token.length), kind});
        }
    }
    return tokens;
}

} // namespace casl::web
