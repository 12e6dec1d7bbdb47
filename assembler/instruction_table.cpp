#include "assembler/instruction_table.h"

namespace casl {

int findInstruction(std::u32string_view mnemonic) {
    for (int r = 0; r < static_cast<int>(instructionTable.size()); ++r) {
        if (instructionTable[r].mnemonic == mnemonic) {
            return r;
        }
    }
    return unknownRow;
}

} // namespace casl
