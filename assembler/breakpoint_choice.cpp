#include "assembler/breakpoint_choice.h"

namespace casl {

namespace {

/// Operation codes at which execution never stops: none, DC, DS and END.
bool cannotStopAt(int code) {
    return code == 0 || code == 300 || code == 301 || code == 401;
}

} // namespace

std::optional<int> chooseBreakpointLine(int clickedLine, const ProgramTables& tables) {
    if (clickedLine < 1 || clickedLine > maxLines) {
        return std::nullopt;
    }
    int line = clickedLine;
    while (cannotStopAt(tables.code(line, opColumn))) {
        --line;
        if (line < 1) {
            return 1;
        }
    }
    return line;
}

} // namespace casl
