#include "assembler/literal_pool.h"

#include "assembler/instruction_table.h"

namespace casl {

std::u32string literalDcForm(std::u32string_view text, LiteralKind kind) {
    if (kind != LiteralKind::character) {
        return std::u32string(text);
    }
    std::u32string form = U"'";
    for (char32_t c : text) {
        form.push_back(c);
        if (c == U'\'') {
            form.push_back(c);
        }
    }
    form.push_back(U'\'');
    return form;
}

std::optional<std::int16_t> addLiteral(AssemblyState& state, std::u32string_view text,
                                       LiteralKind kind) {
    ProgramTables& t = state.tables;
    const int n = t.lineCounter - 1;
    const std::u32string form = literalDcForm(text, kind);
    for (int j = 1; j <= n; ++j) {
        if (t.lineFields[j][literalMarkColumn] == U"1" && t.lineFields[j][operand1Column] == form) {
            return t.lineAddress[j];
        }
    }
    if (n + 1 > maxLines) {
        state.stop(tooManyLinesMessage);
        return std::nullopt;
    }
    const int words = kind == LiteralKind::character ? static_cast<int>(text.size()) : 1;
    const int movedAddress = t.lineAddress[n] + words;
    // The moved END keeps its two words, which must still fit.
    if (movedAddress + 2 > highestAddress + 1) {
        state.stop(addressOverflowMessage);
        return std::nullopt;
    }
    t.lineFields[n + 1] = std::move(t.lineFields[n]);
    t.lineCode[n + 1] = t.lineCode[n];
    t.lineFields[n] = {};
    t.lineCode[n] = {};
    t.lineFields[n][mnemonicColumn] = U"DC";
    t.lineFields[n][literalMarkColumn] = U"1";
    t.lineFields[n][operand1Column] = form;
    t.lineAddress[n + 1] = static_cast<std::int16_t>(movedAddress);
    t.lineCode[n][opColumn] = instructionTable[row::dc].firstCode;
    t.lineCode[n + 1][opColumn] = instructionTable[row::end].firstCode;
    ++t.lineCounter;
    return t.lineAddress[n];
}

} // namespace casl
