#include "similarity/instruction_stream.h"

#include "assembler/instruction_table.h"
#include "similarity/stable_hash.h"

#include <algorithm>
#include <map>
#include <string>
#include <unordered_map>

namespace casl::similarity {
namespace {

constexpr int dcCode = 300;
constexpr int dsCode = 301;
constexpr int startCode = 400;
constexpr int endCode = 401;
constexpr int inCode = 500;
constexpr int outCode = 501;

bool isCommentLine(const ProgramTables& tables, int n) {
    return tables.field(n, findingsColumn) == U"0";
}

bool isDataCode(int op) {
    return op == dcCode || op == dsCode;
}

bool isLiteralLine(const ProgramTables& tables, int n) {
    return tables.field(n, literalMarkColumn) == U"1";
}

/// Instructions whose first operand is a register: loads, stores, arithmetic, logic,
/// comparisons, shifts and POP.
bool namesRegister(int op) {
    return (op >= 0x10 && op <= 0x53) || op == 0x71;
}

/// Machine instructions with a second word, the address operand.
bool hasAddress(int op) {
    return op != 0x00 && op != 0x71 && op != 0x81 && op < 0x100 && !isRegisterFormCode(op);
}

/// What the tables of one program say about its labels and data.
class ProgramIndex {
public:
    explicit ProgramIndex(const ProgramTables& tables) : tables_(tables) {
        for (int n = 1; n <= tables.lineCount(); ++n) {
            const std::u32string& label = tables.field(n, labelColumn);
            if (!label.empty()) {
                labels_.emplace(label, n);
            }
        }
        hashData();
    }

    /// The line that defines `label`, 0 when none does.
    int lineLabelled(const std::u32string& label) const {
        const auto found = labels_.find(label);
        return found == labels_.end() ? 0 : found->second;
    }

    /// The hash of what data line `n` holds; 0 for a line that is no data line.
    std::uint64_t contentOf(int n) const {
        const auto found = content_.find(n);
        return found == content_.end() ? 0 : found->second;
    }

    /// The data line whose first word is at `address`, 0 when none is.
    int dataLineAt(std::int16_t address) const {
        const auto found = dataAt_.find(address);
        return found == dataAt_.end() ? 0 : found->second;
    }

private:
    /// A data line's hash is its kind and its words (a DS only by its length, since its words
    /// are all 0), so that the same constants hash alike wherever they stand.
    void hashData() {
        const int rows = tables_.dataWordCount();
        int row = 1;
        for (int n = 1; n <= tables_.lineCount(); ++n) {
            const int op = tables_.code(n, opColumn);
            if (!isDataCode(op) || isCommentLine(tables_, n)) {
                continue;
            }
            // The words of a line follow each other from its address up to the next line's.
            const int wanted = n < tables_.lineCount() ? tables_.address(n + 1) - tables_.address(n)
                                                       : rows - row + 1;
            std::uint64_t hash = mixed(static_cast<std::uint64_t>(op), 0);
            int words = 0;
            if (wanted <= 0 && row <= rows &&
                tables_.dataWords[row][displayMarkColumn] == emptyAreaPlaceholderMark) {
                ++row;
            }
            for (; words < wanted && row <= rows; ++words, ++row) {
                if (op == dcCode) {
                    hash = mixed(
                        hash, static_cast<std::uint32_t>(tables_.dataWords[row][dataValueColumn]));
                }
            }
            content_[n] = mixed(hash, static_cast<std::uint64_t>(words));
            if (words > 0) {
                dataAt_.emplace(tables_.address(n), n);
            }
        }
    }

    const ProgramTables& tables_;
    std::unordered_map<std::u32string, int> labels_;
    std::map<int, std::uint64_t> content_;
    std::map<std::int16_t, int> dataAt_;
};

/// The address operand of line `n`, written as `text` and encoded as `address`.
void classifyOperand(const ProgramIndex& index, const ProgramTables& tables,
                     const std::u32string& text, std::int16_t address, StreamInstruction& in) {
    if (text.starts_with(U'=')) {
        in.kind = OperandKind::Data;
        in.operand = index.contentOf(index.dataLineAt(address));
        return;
    }
    if (const int target = index.lineLabelled(text); target != 0) {
        if (isDataCode(tables.code(target, opColumn))) {
            in.kind = OperandKind::Data;
            in.operand = index.contentOf(target);
        } else {
            in.kind = OperandKind::Code;
            in.operand = static_cast<std::uint64_t>(target);
        }
        return;
    }
    in.kind = OperandKind::Number;
    in.operand = static_cast<std::uint16_t>(address);
}

/// Whether the instruction leaves every register as it was: padding, not program.
bool changesNothing(const StreamInstruction& in) {
    if (in.op == 0x00) {
        return true;
    }
    const bool sameRegister = in.registers[0] >= 0 && in.registers[0] == in.registers[1];
    if (in.op == 0x14 && sameRegister) {
        return true;
    }
    return in.op == 0x12 && sameRegister && in.kind == OperandKind::Number && in.operand == 0;
}

StreamInstruction machineInstruction(const ProgramIndex& index, const ProgramTables& tables, int n,
                                     int op) {
    StreamInstruction in;
    in.line = n;
    in.op = static_cast<std::int16_t>(op);
    const int r = tables.code(n, rColumn);
    const int x = tables.code(n, xColumn);
    if (namesRegister(op)) {
        in.registers[0] = static_cast<std::int8_t>(r);
    }
    if (isRegisterFormCode(op) || (x != 0 && op != 0x71 && op != 0x81 && op != 0x00)) {
        in.registers[namesRegister(op) ? 1 : 0] = static_cast<std::int8_t>(x);
    }
    if (hasAddress(op)) {
        const int column = namesRegister(op) ? operand2Column : operand1Column;
        classifyOperand(index, tables, tables.field(n, column), tables.code(n, adrColumn), in);
    }
    return in;
}

/// IN and OUT: what their area and length hold.
StreamInstruction transferMacro(const ProgramIndex& index, const ProgramTables& tables, int n,
                                int op) {
    StreamInstruction in;
    in.line = n;
    in.op = static_cast<std::int16_t>(op);
    in.kind = OperandKind::Data;
    in.operand = mixed(index.contentOf(index.lineLabelled(tables.field(n, operand1Column))),
                       index.contentOf(index.lineLabelled(tables.field(n, operand2Column))));
    return in;
}

} // namespace

std::uint64_t StreamInstruction::shape() const {
    std::uint64_t hash = mixed(static_cast<std::uint16_t>(op), static_cast<std::uint64_t>(kind));
    if (kind != OperandKind::Code) {
        hash = mixed(hash, operand);
    }
    const std::uint64_t registerPattern =
        (registers[0] >= 0 ? 1U : 0U) | (registers[1] >= 0 ? 2U : 0U) |
        (registers[0] >= 0 && registers[0] == registers[1] ? 4U : 0U);
    return mixed(hash, registerPattern);
}

InstructionStream instructionStream(const ProgramTables& tables) {
    const ProgramIndex index(tables);
    InstructionStream stream;
    for (int n = 1; n <= tables.lineCount(); ++n) {
        if (isCommentLine(tables, n)) {
            continue;
        }
        const int op = tables.code(n, opColumn);
        if (isDataCode(op)) {
            if (!isLiteralLine(tables, n)) {
                stream.data.push_back(index.contentOf(n));
            }
            continue;
        }
        if (op == startCode || op == endCode) {
            continue;
        }
        StreamInstruction in;
        if (op == inCode || op == outCode) {
            in = transferMacro(index, tables, n, op);
        } else if (op > 0xFF) {
            in.line = n;
            in.op = static_cast<std::int16_t>(op);
        } else {
            in = machineInstruction(index, tables, n, op);
        }
        if (!changesNothing(in)) {
            stream.instructions.push_back(in);
        }
    }
    std::sort(stream.data.begin(), stream.data.end());
    return stream;
}

} // namespace casl::similarity
