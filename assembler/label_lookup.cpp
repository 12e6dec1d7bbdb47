#include "assembler/label_lookup.h"

namespace casl {

int firstLineLabelled(const ProgramTables& tables, std::u32string_view label) {
    for (int j = 1; j < tables.lineCounter; ++j) {
        if (tables.lineFields[j][labelColumn] == label) {
            return j;
        }
    }
    return 0;
}

int lastLineLabelled(const ProgramTables& tables, std::u32string_view label) {
    for (int j = tables.lineCounter - 1; j >= 1; --j) {
        if (tables.lineFields[j][labelColumn] == label) {
            return j;
        }
    }
    return 0;
}

} // namespace casl
