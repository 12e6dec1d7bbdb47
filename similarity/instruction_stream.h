#pragma once

#include "assembler/program_tables.h"

#include <cstdint>
#include <vector>

namespace casl::similarity {

/// What the address operand of an instruction names, with the names taken out: a copy that
/// renames its labels or moves its data still names the same things.
enum class OperandKind : std::uint8_t {
    None,   ///< No address operand (register form, NOP, RET, RPUSH, ...).
    Number, ///< A number written in the operand: the value.
    Data,   ///< A DC/DS line or a literal: what it holds, wherever it stands.
    Code,   ///< An instruction line: which one, as the line number of its label.
};

/// One instruction of a program, with its registers and its code label kept as they are
/// written; comparisons rename them in order of first use.
struct StreamInstruction {
    /// The program line (as the listing counts it).
    int line = 0;
    /// The operation code, or the code of IN, OUT, RPUSH and RPOP.
    std::int16_t op = 0;
    /// The registers it names in operand order (the first operand's, then the index or second
    /// register); -1 where there is none.
    std::int8_t registers[2] = {-1, -1};
    OperandKind kind = OperandKind::None;
    /// Number: the value; Data: the hash of what the data holds; Code: the target's line.
    std::uint64_t operand = 0;

    /// The instruction without its registers and code labels: equal for a line and its
    /// disguised copy.
    std::uint64_t shape() const;
};

/// A program as comparisons see it.
struct InstructionStream {
    /// Every instruction in line order, without NOP and without the instructions that change
    /// no register (LD r,r and LAD r,0,r), which a copier pads with.
    std::vector<StreamInstruction> instructions;
    /// The hash of each DC and DS line of the source (not of literals, which their instructions
    /// already name), sorted: the data counts as a set, whatever its order.
    std::vector<std::uint64_t> data;
};

/// The stream of a program whose assembly found no error.
InstructionStream instructionStream(const ProgramTables& tables);

} // namespace casl::similarity
