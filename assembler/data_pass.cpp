#include "assembler/data_pass.h"

#include "assembler/constants.h"
#include "assembler/numeric_text.h"

#include <cstdint>

namespace casl {
namespace {

/// The data dump shows the first words of a `DS` area and marks the rest.
constexpr std::int64_t shownAreaWords = 20;

/// Whether one more data word has a row; names the limit otherwise.
bool roomForWord(AssemblyState& state) {
    if (state.tables.dataWordCounter > maxDataWords) {
        state.stop(tooManyDataWordsMessage);
        return false;
    }
    return true;
}

void labelFirstWord(ProgramTables& t, int line) {
    if (t.dataWordCounter <= maxDataWords) {
        t.dataLabel[t.dataWordCounter] = t.lineFields[line][labelColumn];
    }
}

void storageArea(AssemblyState& state, int line) {
    ProgramTables& t = state.tables;
    labelFirstWord(t, line);
    const std::int64_t count = leadingNumber(t.lineFields[line][operand1Column]);
    if (count != 0) {
        for (std::int64_t w = 0; w < count; ++w) {
            if (!roomForWord(state)) {
                return;
            }
            auto& row = t.dataWords[t.dataWordCounter];
            row[dataAddressColumn] = static_cast<std::int32_t>(t.lineAddress[line] + w);
            if (w >= shownAreaWords) {
                row[displayMarkColumn] = foldedAreaWordMark;
            }
            ++t.dataWordCounter;
        }
    } else if (leadingNumber(t.lineFields[line][labelColumn]) == 0) {
        if (!roomForWord(state)) {
            return;
        }
        t.dataWords[t.dataWordCounter][displayMarkColumn] = emptyAreaPlaceholderMark;
        ++t.dataWordCounter;
    }
}

} // namespace

void dataPass(AssemblyState& state) {
    ProgramTables& t = state.tables;
    t.dataWordCounter = 1;
    for (int i = 1; i < t.lineCounter && !state.stopped(); ++i) {
        state.finishedLines = i - 1;
        const std::u32string& mnemonic = t.lineFields[i][mnemonicColumn];
        if (mnemonic == U"DS") {
            storageArea(state, i);
        } else if (mnemonic == U"DC") {
            labelFirstWord(t, i);
            scanDcOperands(state, i, DcScan::write);
        }
    }
}

} // namespace casl
