#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace casl::web {

/// A stretch of an editor line that the page colours: [`from`, `to`) in UTF-16 code units of
/// the line, as the editor counts positions.
struct PageToken {
    int from = 0;
    int to = 0;
    /// The token kind: "label", "mnemonic", "unknownMnemonic", "register", "decimal",
    /// "hexadecimal", "literal", "character", "comment" or "ignored".
    std::string kind;
};

/// The coloured tokens of one editor line (UTF-8, no line end), as the assembler splits it.
/// Operand names and separators are left plain. With `traceListing` the line is one of the
/// listing that the editor shows during a run: its ">>>>>> " TAB or TAB prefix is not source.
std::vector<PageToken> pageLineTokens(std::string_view line, bool traceListing);

} // namespace casl::web
