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
    int firstLine(std::int32_t address) const { return lookup(firstLine_, address); }
    /// The first line with `lineAddress` = `address` that is not a comment or blank line.
    int firstCodeLine(std::int32_t address) const { return lookup(firstCodeLine_, address); }
    /// The first line holding the code word at `address`: its first word, or the second word
    /// of a two-word line that the next line does not start at.
    int codeWordLine(std::int32_t address) const { return lookup(codeWordLine_, address); }
    /// The first data row with that address.
    int firstDataRow(std::int32_t address) const { return lookup(firstDataRow_, address); }
    /// The last data row with that address.
    int lastDataRow(std::int32_t address) const { return lookup(lastDataRow_, address); }
    /// Whether more than one data row has that address.
    bool repeatedDataAddress(std::int32_t address) const {
        return firstDataRow(address) != lastDataRow(address);
    }
    /// The first data row whose label is `label` (0 for an empty label or none).
    int labelledDataRow(std::u32string_view label) const;
    /// Whether the address operand (operand 2) of `line` is written as a number or as #hex,
    /// rather than as a label or a literal.
    bool numericOperand(int line) const {
        return ProgramTables::isLine(line) && numericOperand_[static_cast<std::size_t>(line)];
    }

private:
    using Table = std::vector<std::int16_t>;
    static int lookup(const Table& table, std::int32_t address) {
        const std::int32_t key = address + 32768;
        return key >= 0 && key < 65536 ? table[static_cast<std::size_t>(key)] : 0;
    }

    const ProgramTables& tables_;
    Table firstLine_;
    Table firstCodeLine_;
    Table codeWordLine_;
    Table firstDataRow_;
    Table lastDataRow_;
    std::vector<bool> numericOperand_;
};

} // namespace casl
