#include "web/binding/page_tokens.h"

#include "assembler/line_tokens.h"
#include "platform/text_codec.h"

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

/// The length of the prefix that the marked listing puts before a program line.
std::size_t traceListingPrefixLength(std::u32string_view line) {
    constexpr std::u32string_view marked = U">>>>>> \t";
    if (line.starts_with(marked)) {
        return marked.size();
    }
    return line.starts_with(U'\t') ? 1 : 0;
}

} // namespace

std::vector<PageToken> pageLineTokens(std::string_view line, bool traceListing) {
    const std::u32string text = platform::fromUtf8(line);
    const std::size_t skipped = traceListing ? traceListingPrefixLength(text) : 0;
    const std::u32string_view source = std::u32string_view(text).substr(skipped);
    std::vector<PageToken> tokens;
    // Token positions count characters; the editor counts UTF-16 units.
    int unit = static_cast<int>(skipped);
    std::size_t character = 0;
    const auto advanceTo = [&](std::size_t end) {
        for (; character < end; ++character) {
            unit += source[character] > 0xFFFF ? 2 : 1;
        }
    };
    for (const LineToken& token : lineTokens(source)) {
        advanceTo(token.start);
        const int from = unit;
        advanceTo(token.start + token.length);
        if (const char* kind = kindName(token.kind)) {
            tokens.push_back(PageToken{from, unit, kind});
        }
    }
    return tokens;
}

} // namespace casl::web
