#include "assembler/breakpoint_choice.h"

#include "assembler/instruction_table.h"

namespace casl {

namespace {

/// Operation codes at which execution never stops: none, DC, DS and END.
bool cannotStopAt(int code) {
    return code == 0 || code == instructionTable[row::dc].firstCode ||
           code == instructionTable[row::ds].firstCode ||
           code == instructionTable[row::end].firstCode;
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
