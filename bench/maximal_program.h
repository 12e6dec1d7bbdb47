#pragma once

#include <string>

namespace casl::bench {

/// A program at every table limit: 300 lines (100 of them literal lines) and 2000 data words.
inline std::u32string maximalProgram() {
    std::u32string text = U"MAX     START\r\n";
    for (int i = 1; i <= 100; ++i) {
        const std::string n = std::to_string(i);
        text += U"        LD      GR1,=" + std::u32string(n.begin(), n.end()) + U"\r\n";
    }
    for (int i = 0; i < 95; ++i) {
        text += U"        ADDA    GR1,AREA,GR2   ; keep adding\r\n";
    }
    text += U"        RET\r\n";
    text += U"AREA    DS      1800\r\n";
    text += U"TEXT    DC      '" + std::u32string(100, U'A') + U"'\r\n";
    text += U"        END\r\n";
    return text;
}

} // namespace casl::bench
