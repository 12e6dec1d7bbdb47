#pragma once

#include <nlohmann/json.hpp>
#include <string>

namespace casl::cli {

/// `json` as `casl2` prints it: indented, UTF-8 kept as it is, and no control character left
/// raw. JSON escapes only U+0000–U+001F; DEL and U+0080–U+009F, which a terminal may act on,
/// are escaped here as well. Text that is not UTF-8 shows U+FFFD.
inline std::string jsonText(const nlohmann::ordered_json& json) {
    const std::string dumped =
        json.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace);
    static constexpr char hex[] = "0123456789abcdef";
    std::string text;
    text.reserve(dumped.size());
    // The layout of a JSON text is ASCII: these bytes stand only inside strings.
    for (std::size_t i = 0; i < dumped.size(); ++i) {
        const auto byte = static_cast<unsigned char>(dumped[i]);
        if (byte == 0x7F) {
            text += "\\u007f";
        } else if (byte == 0xC2 && i + 1 < dumped.size() &&
                   static_cast<unsigned char>(dumped[i + 1]) >= 0x80 &&
                   static_cast<unsigned char>(dumped[i + 1]) <= 0x9F) {
            const auto code = static_cast<unsigned char>(dumped[++i]);
            text += "\\u00";
            text += hex[code >> 4];
            text += hex[code & 0xF];
        } else {
            text += dumped[i];
        }
    }
    return text + '\n';
}

} // namespace casl::cli
