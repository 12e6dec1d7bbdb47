#include "simulator/address_index.h"

#include "assembler/findings.h"
#include "assembler/numeric_text.h"

namespace casl {
namespace {

constexpr std::size_t keyOf(std::int32_t address) {
    return static_cast<std::size_t>(address + 32768);
}

constexpr bool hasKey(std::int32_t address) {
    return address >= -32768 && address <= 32767;
}

/// Whether an address operand is written as a number or #hex, by the test the assembler used
/// to resolve it: a label such as `-1X` or `+1D` is a label here too.
bool isNumericText(const std::u32string& text) {
    return text.starts_with(U'#') || isNumeric(text);
}

} // namespace

AddressIndex::AddressIndex(const ProgramTables& t)
    : tables_(t), firstLine_(65536, 0), firstCodeLine_(65536, 0), codeWordLine_(65536, 0),
      firstDataRow_(65536, 0), lastDataRow_(65536, 0),
      numericOperand_(static_cast<std::size_t>(maxLines) + 1, false) {
    const int lastLine = t.lineCounter - 1 < maxLines ? t.lineCounter - 1 : maxLines;
    // Filled from the last line backwards, so the first line with an address wins.
    for (int k = lastLine; k >= 1; --k) {
        const std::int32_t address = t.lineAddress[static_cast<std::size_t>(k)];
        firstLine_[keyOf(address)] = static_cast<std::int16_t>(k);
        if (t.lineFields[static_cast<std::size_t>(k)][findingsColumn] != commentMark) {
            firstCodeLine_[keyOf(address)] = static_cast<std::int16_t>(k);
        }
        numericOperand_[static_cast<std::size_t>(k)] =
            isNumericText(t.lineFields[static_cast<std::size_t>(k)][operand2Column]);
    }
    // A code word at A is line k's first word (lineAddress(k) = A) or its second word
    // (lineAddress(k) = A − 1 and the next line does not start at A); the first k wins. A
    // comment line only borrows the address of the instruction after it, so it holds no word.
    for (int k = lastLine; k >= 1; --k) {
        if (t.lineFields[static_cast<std::size_t>(k)][findingsColumn] == commentMark) {
            continue;
        }
        const std::int32_t address = t.lineAddress[static_cast<std::size_t>(k)];
        const std::int32_t second = address + 1;
        if (hasKey(second) && t.address(k + 1) != second) {
            codeWordLine_[keyOf(second)] = static_cast<std::int16_t>(k);
        }
        codeWordLine_[keyOf(address)] = static_cast<std::int16_t>(k);
    }
    const int lastRow = t.dataWordCounter - 1 < maxDataWords ? t.dataWordCounter - 1 : maxDataWords;
    for (int w = lastRow; w >= 1; --w) {
        const std::int32_t address = t.dataWords[static_cast<std::size_t>(w)][dataAddressColumn];
        if (hasKey(address)) {
            firstDataRow_[keyOf(address)] = static_cast<std::int16_t>(w);
            if (lastDataRow_[keyOf(address)] == 0) {
                lastDataRow_[keyOf(address)] = static_cast<std::int16_t>(w);
            }
        }
    }
}

int AddressIndex::labelledDataRow(std::u32string_view label) const {
    if (label.empty()) {
        return 0;
    }
    for (int w = 1; w < tables_.dataWordCounter && ProgramTables::isDataRow(w); ++w) {
        if (tables_.dataLabel[static_cast<std::size_t>(w)] == label) {
            return w;
        }
    }
    return 0;
}

} // namespace casl
