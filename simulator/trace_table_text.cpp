#include "simulator/trace_table_text.h"

#include "assembler/listing.h"
#include "simulator/word.h"

namespace casl {
namespace {

constexpr std::u32string_view registerNames[8] = {U"GR0", U"GR1", U"GR2", U"GR3",
                                                  U"GR4", U"GR5", U"GR6", U"GR7"};

std::u32string writtenText(const std::vector<WordOfStep>& written) {
    std::u32string text;
    for (const WordOfStep& w : written) {
        if (!text.empty()) {
            text.push_back(U' ');
        }
        text += hex4(w.address);
        text.push_back(U':');
        text += hex4(w.value);
    }
    return text;
}

std::u32string csvCell(const std::u32string& cell) {
    if (cell.find_first_of(U",\"\r\n") == std::u32string::npos) {
        return cell;
    }
    std::u32string quoted = U"\"";
    for (const char32_t c : cell) {
        if (c == U'"') {
            quoted.push_back(U'"');
        }
        quoted.push_back(c);
    }
    quoted.push_back(U'"');
    return quoted;
}

std::u32string markdownCell(const std::u32string& cell) {
    std::u32string escaped;
    for (const char32_t c : cell) {
        if (c == U'|') {
            escaped.push_back(U'\\');
        }
        escaped.push_back(c);
    }
    return escaped;
}

void appendRow(std::u32string& out, const std::vector<std::u32string>& cells,
               TraceTableFormat format) {
    if (format == TraceTableFormat::Csv) {
        for (std::size_t i = 0; i < cells.size(); ++i) {
            out += i == 0 ? U"" : U",";
            out += csvCell(cells[i]);
        }
        out += U"\r\n";
        return;
    }
    out += U"|";
    for (const std::u32string& cell : cells) {
        out += U" ";
        out += markdownCell(cell);
        out += U" |";
    }
    out += U"\n";
}

} // namespace

std::optional<TraceTableColumns> TraceTableColumns::parse(std::u32string_view names) {
    TraceTableColumns columns;
    columns.registers.fill(false);
    columns.programRegister = false;
    columns.stackPointer = false;
    columns.flags = false;
    while (!names.empty()) {
        const std::size_t comma = names.find(U',');
        const std::u32string_view name = names.substr(0, comma);
        names = comma == std::u32string_view::npos ? U"" : names.substr(comma + 1);
        bool known = false;
        for (int r = 0; r < 8; ++r) {
            if (name == registerNames[r]) {
                columns.registers[static_cast<std::size_t>(r)] = true;
                known = true;
            }
        }
        if (name == U"PR") {
            columns.programRegister = known = true;
        } else if (name == U"SP") {
            columns.stackPointer = known = true;
        } else if (name == U"FR") {
            columns.flags = known = true;
        }
        if (!known) {
            return std::nullopt;
        }
    }
    return columns;
}

std::vector<std::u32string> traceTableHeader(const TraceTableColumns& columns) {
    std::vector<std::u32string> cells{U"step", U"line", U"instruction"};
    for (int r = 0; r < 8; ++r) {
        if (columns.registers[static_cast<std::size_t>(r)]) {
            cells.emplace_back(registerNames[r]);
        }
    }
    if (columns.programRegister) {
        cells.emplace_back(U"PR");
    }
    if (columns.stackPointer) {
        cells.emplace_back(U"SP");
    }
    if (columns.flags) {
        cells.insert(cells.end(), {U"OF", U"SF", U"ZF"});
    }
    cells.emplace_back(U"written");
    return cells;
}

std::u32string instructionText(const ProgramTables& tables, int line) {
    if (line < 1 || line >= tables.lineCounter) {
        return {};
    }
    std::u32string text = tables.field(line, mnemonicColumn);
    const std::u32string& first = tables.field(line, operand1Column);
    if (!first.empty()) {
        text += U" ";
        text += first;
        for (const int k : {operand2Column, operand3Column}) {
            if (!tables.field(line, k).empty()) {
                text += U",";
                text += tables.field(line, k);
            }
        }
    }
    return text;
}

std::vector<std::u32string> traceTableCells(const TraceTableRow& row, const ProgramTables& tables,
                                            const TraceTableColumns& columns) {
    std::vector<std::u32string> cells{decimalText(row.step), decimalText(row.line),
                                      instructionText(tables, row.line)};
    for (int r = 0; r < 8; ++r) {
        if (columns.registers[static_cast<std::size_t>(r)]) {
            cells.push_back(hex4(row.registers[static_cast<std::size_t>(r)]));
        }
    }
    if (columns.programRegister) {
        cells.push_back(hex4(row.programRegister));
    }
    if (columns.stackPointer) {
        cells.push_back(hex4(row.stackPointer));
    }
    if (columns.flags) {
        cells.push_back(decimalText(row.overflowFlag != 0 ? 1 : 0));
        cells.push_back(decimalText(signFlagOf(row.signZeroState)));
        cells.push_back(decimalText(zeroFlagOf(row.signZeroState)));
    }
    cells.push_back(writtenText(row.written));
    return cells;
}

std::u32string traceTableHeaderText(TraceTableFormat format, const TraceTableColumns& columns) {
    std::u32string out;
    const std::vector<std::u32string> header = traceTableHeader(columns);
    appendRow(out, header, format);
    if (format == TraceTableFormat::Markdown) {
        appendRow(out, std::vector<std::u32string>(header.size(), U"---"), format);
    }
    return out;
}

std::u32string traceTableRowsText(const std::vector<TraceTableRow>& rows,
                                  const ProgramTables& tables, TraceTableFormat format,
                                  const TraceTableColumns& columns) {
    std::u32string out;
    for (const TraceTableRow& row : rows) {
        appendRow(out, traceTableCells(row, tables, columns), format);
    }
    return out;
}

std::u32string traceTableText(const std::vector<TraceTableRow>& rows, const ProgramTables& tables,
                              TraceTableFormat format, const TraceTableColumns& columns) {
    return traceTableHeaderText(format, columns) +
           traceTableRowsText(rows, tables, format, columns);
}

} // namespace casl
