#include "cli/terminal_text.h"

#include "platform/line_ends.h"
#include "platform/text_codec.h"

namespace casl::cli {

std::string terminalText(std::u32string_view text) {
    return platform::toUtf8(platform::convertCrLf(text, platform::LineEndStyle::Lf));
}

} // namespace casl::cli
