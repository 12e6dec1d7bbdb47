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

int closingEndLine(const ProgramTables& tables) {
    int line = tables.lineCounter - 1;
    // The address pass marks the lines with nothing to assemble with the comment mark.
    while (line >= 1 && tables.lineFields[line][findingsColumn] == U"0") {
        --line;
    }
    return line >= 1 && tables.lineFields[line][mnemonicColumn] == U"END" ? line : 0;
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
    const int end = closingEndLine(t);
    const int words = kind == LiteralKind::character ? static_cast<int>(text.size()) : 1;
    const int movedAddress = t.lineAddress[end] + words;
    // The moved END keeps its two words, which must still fit; the blank and comment lines
    // after it stand at the address after them, which must exist.
    const int highest = end == n ? highestAddress + 1 : highestAddress;
    if (movedAddress + 2 > highest) {
        state.stop(addressOverflowMessage);
        return std::nullopt;
    }
    for (int row = n; row >= end; --row) {
        t.lineFields[row + 1] = std::move(t.lineFields[row]);
        t.lineCode[row + 1] = t.lineCode[row];
        t.lineAddress[row + 1] = static_cast<std::int16_t>(t.lineAddress[row] + words);
    }
    t.lineFields[end] = {};
    t.lineCode[end] = {};
    t.lineFields[end][mnemonicColumn] = U"DC";
    t.lineFields[end][literalMarkColumn] = U"1";
    t.lineFields[end][operand1Column] = form;
    t.lineCode[end][opColumn] = instructionTable[row::dc].firstCode;
    t.lineCode[end + 1][opColumn] = instructionTable[row::end].firstCode;
    ++t.lineCounter;
    return t.lineAddress[end];
}

} // namespace casl
