#pragma once

#include "assembler/program_tables.h"

#include <string>
#include <vector>

namespace casl {

/// The errors of one program line as the listing reports them.
struct LineFinding {
    /// The program line, as the listing and the breakpoint count it.
    int line = 0;
    /// The line of the assembled editor text that holds it (see `sourceLineOf`).
    int sourceLine = 0;
    /// The error numbers 1–9, in the order the listing gives their messages.
    std::vector<int> errors;
    /// The messages of `errors`, exactly as the listing shows them (trailing blank included).
    std::vector<std::u32string> messages;

    friend bool operator==(const LineFinding&, const LineFinding&) = default;
};

/// Every program line in error, in line order.
std::vector<LineFinding> lineFindings(const ProgramTables& tables);

/// The line of the assembled editor text (the kept lines, numbered from 1) that program line
/// `line` comes from. The two agree but where literals were placed: the literal lines stand
/// before the closing `END`, which moved down past them with the lines after it. A literal line
/// comes from the first line that writes its literal, or from the `END` when none does; 0 for
/// a line outside the program.
int sourceLineOf(const ProgramTables& tables, int line);

} // namespace casl
