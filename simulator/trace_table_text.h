#pragma once

#include "assembler/program_tables.h"
#include "simulator/trace_table.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace casl {

/// The value columns a trace table shows; step, line, instruction and the words written are
/// always there. Examination questions often ask for a few registers only.
struct TraceTableColumns {
    std::array<bool, 8> registers{true, true, true, true, true, true, true, true};
    bool programRegister = true;
    bool stackPointer = true;
    bool flags = true;

    /// Columns from a list of names such as "GR1,GR2,PR,FR" ("FR" for OF, SF and ZF); nothing
    /// when a name is none of these.
    static std::optional<TraceTableColumns> parse(std::u32string_view names);
};

/// The header cells of a table with `columns`.
std::vector<std::u32string> traceTableHeader(const TraceTableColumns& columns);

/// The cells of `row`: decimal step and line, the instruction as the listing writes it, values
/// as 4 hexadecimal digits as the displays show them, flags as 0 or 1, and the words written as
/// "address:value" pairs.
std::vector<std::u32string> traceTableCells(const TraceTableRow& row, const ProgramTables& tables,
                                            const TraceTableColumns& columns);

/// The instruction of `line`: its mnemonic and its operands joined by commas.
std::u32string instructionText(const ProgramTables& tables, int line);

enum class TraceTableFormat { Csv, Markdown };

/// The whole table as text: CSV (RFC 4180, CR LF line ends, quoted where a cell needs it) or a
/// Markdown table (LF line ends).
std::u32string traceTableText(const std::vector<TraceTableRow>& rows, const ProgramTables& tables,
                              TraceTableFormat format, const TraceTableColumns& columns = {});
/// The header lines of `traceTableText` alone.
std::u32string traceTableHeaderText(TraceTableFormat format, const TraceTableColumns& columns);
/// The row lines of `traceTableText` alone.
std::u32string traceTableRowsText(const std::vector<TraceTableRow>& rows,
                                  const ProgramTables& tables, TraceTableFormat format,
                                  const TraceTableColumns& columns);

} // namespace casl
