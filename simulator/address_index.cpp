#include "simulator/address_index.h"

#include "assembler/findings.h"
#include "assembler/numeric_text.h"

#include <algorithm>

namespace casl {
namespace {

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
    : tables_(t), numericOperand_(static_cast<std::size_t>(maxLines) + 1, false) {
    const int lastLine = t.lineCounter - 1 < maxLines ? t.lineCounter - 1 : maxLines;
    const int lastRow = t.dataWordCounter - 1 < maxDataWords ? t.dataWordCounter - 1 : maxDataWords;
    // The addresses the program uses: its lines (and the second words after them) and its data.
    std::int32_t lowest = 32767;
    std::int32_t highest = -32768;
    const auto uses = [&](std::int32_t address) {
        lowest = std::min(lowest, address);
        highest = std::max(highest, address);
    };
    for (int k = 1; k <= lastLine; ++k) {
        const std::int32_t address = t.lineAddress[static_cast<std::size_t>(k)];
        uses(address);
        if (hasKey(address + 1)) {
            uses(address + 1);
        }
    }
    for (int w = 1; w <= lastRow; ++w) {
        if (const std::int32_t address =
                t.dataWords[static_cast<std::size_t>(w)][dataAddressColumn];
            hasKey(address)) {
            uses(address);
        }
    }
    if (lowest <= highest) {
        lowest_ = lowest;
        entries_.resize(static_cast<std::size_t>(highest - lowest + 1));
    }
    const auto at = [this](std::int32_t address) -> Entry& {
        return entries_[static_cast<std::size_t>(address - lowest_)];
    };

    // Filled from the last line backwards, so the first line with an address wins.
    for (int k = lastLine; k >= 1; --k) {
        const std::int32_t address = t.lineAddress[static_cast<std::size_t>(k)];
        at(address).firstLine = static_cast<std::int16_t>(k);
        if (t.lineFields[static_cast<std::size_t>(k)][findingsColumn] != commentMark) {
            at(address).firstCodeLine = static_cast<std::int16_t>(k);
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
            at(second).codeWordLine = static_cast<std::int16_t>(k);
        }
        at(address).codeWordLine = static_cast<std::int16_t>(k);
    }
    for (int w = lastRow; w >= 1; --w) {
        const std::int32_t address = t.dataWords[static_cast<std::size_t>(w)][dataAddressColumn];
        if (hasKey(address)) {
            at(address).firstDataRow = static_cast<std::int16_t>(w);
            if (at(address).lastDataRow == 0) {
                at(address).lastDataRow = static_cast<std::int16_t>(w);
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
