#pragma once

#include <iosfwd>

namespace casl::cli {

/// Where `casl2` writes, and whether each stream is a terminal. On a terminal the control
/// characters of the texts (a student's file may hold escape sequences) are shown as visible
/// escapes instead of acting on the terminal.
struct Console {
    std::ostream& out;
    std::ostream& err;
    bool outIsTerminal = false;
    bool errIsTerminal = false;
};

} // namespace casl::cli
