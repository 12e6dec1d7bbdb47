#include "cli/terminal_text.h"

#include "platform/text_codec.h"

namespace casl::cli {

std::string terminalText(std::u32string_view text) {
    std::u32string lines;
    lines.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == U'\r' && i + 1 < text.size() && text[i + 1] == U'\n') {
            continue;
        }
        lines.push_back(text[i]);
    }
    return platform::toUtf8(lines);
}

std::string terminalLines(std::u32string_view text) {
    return terminalText(text) + '\n';
}

} // namespace casl::cli
