#pragma once

#include "assembler/program_tables.h"

#include <cstdint>
#include <string_view>
#include <vector>

namespace casl {

/// The lookups by address of one run, built once from the tables, each keeping the first-match
/// rule of its scan. Line numbers are 1 to `lineCount()`, data rows 1 to `dataWordCount()`;
/// 0 means none.
class AddressIndex {
public:
    explicit AddressIndex(const ProgramTables& tables);

    /// The first line with `lineAddress` = `address`.
    int firstLine(std::int32_t address) const { return entry(address).firstLine; }
    /// The first line with `lineAddress` = `address` that is not a comment or blank line.
    int firstCodeLine(std::int32_t address) const { return entry(address).firstCodeLine; }
    /// The first line holding the code word at `address`: its first word, or the second word
    /// of a two-word line that the next line does not start at.
    int codeWordLine(std::int32_t address) const { return entry(address).codeWordLine; }
    /// The first data row with that address.
    int firstDataRow(std::int32_t address) const { return entry(address).firstDataRow; }
    /// The last data row with that address.
    int lastDataRow(std::int32_t address) const { return entry(address).lastDataRow; }
    /// Whether more than one data row has that address.
    bool repeatedDataAddress(std::int32_t address) const {
        const Entry& e = entry(address);
        return e.firstDataRow != e.lastDataRow;
    }
    /// The first data row whose label is `label` (0 for an empty label or none).
    int labelledDataRow(std::u32string_view label) const;
    /// Whether the address operand (operand 2) of `line` is written as a number or as #hex,
    /// rather than as a label or a literal.
    bool numericOperand(int line) const {
        return ProgramTables::isLine(line) && numericOperand_[static_cast<std::size_t>(line)];
    }

private:
    /// What one address holds.
    struct Entry {
        std::int16_t firstLine = 0;
        std::int16_t firstCodeLine = 0;
        std::int16_t codeWordLine = 0;
        std::int16_t firstDataRow = 0;
        std::int16_t lastDataRow = 0;
    };
    const Entry& entry(std::int32_t address) const {
        // Unsigned, so that an address below the first one wraps far beyond the last.
        const auto key = static_cast<std::uint64_t>(std::int64_t{address} - lowest_);
        return key < entries_.size() ? entries_[key] : none_;
    }

    const ProgramTables& tables_;
    /// One entry for every address from `lowest_` to the highest address the program uses,
    /// so that a run of a small program sets up a small table.
    std::vector<Entry> entries_;
    std::int32_t lowest_ = 0;
    Entry none_;
    std::vector<bool> numericOperand_;
};

} // namespace casl
