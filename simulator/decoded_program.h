#pragma once

#include "assembler/program_tables.h"
#include "simulator/address_index.h"
#include "simulator/provenance.h"

#include <array>
#include <cstdint>

namespace casl {

/// What a line does when it executes, decided once per run from its `lineCode` row, so that a
/// step dispatches on one small number and never looks at the tables' texts.
enum class Operation : std::uint8_t {
    PastEnd,  ///< No line: the run has gone past the last line (or line 0).
    Skip,     ///< A line without code (comment, blank, `NOP`): passed over without a step.
    NoAction, ///< `DC`, `DS`, `END`, `SVC` and unknown codes: the same line executes again.
    Start,
    Lad,
    // Memory operands, in the order of their codes.
    Ld,
    St,
    Adda,
    Suba,
    Addl,
    Subl,
    And,
    Or,
    Xor,
    Cpa,
    Cpl,
    // Register forms.
    LdRegisters,
    AddaRegisters,
    SubaRegisters,
    AddlRegisters,
    SublRegisters,
    AndRegisters,
    OrRegisters,
    XorRegisters,
    CpaRegisters,
    CplRegisters,
    // Shifts and jumps, in the order of their codes.
    Sla,
    Sra,
    Sll,
    Srl,
    Jmi,
    Jnz,
    Jze,
    Jump,
    Jpl,
    Jov,
    Push,
    Pop,
    Call,
    Ret,
    RegisterPush,
    RegisterPop,
    In,
    Out,
};

/// How a memory operand finds its word.
enum class OperandForm : std::uint8_t {
    /// A label or literal without an index register that names a data word: `row` is the word
    /// (the last with the address for `CPA` and `CPL`, the first for the others).
    Row,
    /// A label or literal: the label's address plus GR[x] when `indexed`, exactly.
    Label,
    /// A number or #hex: the address plus GR[x] when `indexed`, fitted into a word.
    Number,
    /// A label or literal that names no data word: every execution stops the run.
    NotData,
};

/// One program line as a step needs it: the operation, its registers, and every address and
/// line that does not change while the run goes on, resolved in advance.
struct DecodedLine {
    Operation operation = Operation::PastEnd;
    /// r or r1, 0 to 7.
    std::uint8_t r = 0;
    /// The index register, or r2 of a register form, 0 to 7.
    std::uint8_t x = 0;
    /// Whether the address adds GR[x] (by the rule of the operation: a raw x of 8 indexes
    /// with GR0 where the effective address is formed, and not at all for `LAD` and labels).
    bool indexed = false;
    OperandForm form = OperandForm::Row;
    /// `START`: the line is at address 0 and begins the main program.
    bool beginsProgram = false;
    /// `START`: the line names a start address.
    bool hasStartAddress = false;
    /// The line is a valid target of an indexed branch: no `DC`, `DS` or `END`, and code or
    /// the mnemonic `NOP`.
    bool branchTarget = false;
    /// The mnemonic is `DC`, `DS` or `END`: a start address there is an error.
    bool dataMnemonic = false;
    std::int16_t adr = 0;
    /// What `pc` shows before the instruction acts: the next sequential address, as a pattern.
    std::int32_t programRegister = 0;
    /// Skip: the line execution lands on. Unindexed jumps and `CALL`: the first line at adr
    /// (0 = none). `START`: the first line with code at the start address (0 = none).
    std::int16_t target = 0;
    /// The address of `target`.
    std::int16_t targetAddress = 0;
    /// Row form: the data row. `IN`, `OUT`: the length word (0 = no such label).
    std::int16_t row = 0;
    /// `IN`, `OUT`: the first word of the character area (0 = no such label).
    std::int16_t areaRow = 0;
    /// `CALL`: the address of the line after it.
    std::int16_t returnAddress = 0;
    /// The machine values (bits of `MachineValue`) a step of the line writes.
    std::uint16_t writes = 0;
    /// An unindexed jump or `CALL` to an address no line has: when it is taken nothing moves
    /// and it writes nothing.
    bool writesOnlyWhenMoving = false;
};

/// The program of one run, decoded once: a `DecodedLine` per line, and the few values the run
/// start and the end of the program need. Built from tables whose lines do not change during
/// the run (the data words' values may).
class DecodedProgram {
public:
    DecodedProgram(const ProgramTables& tables, const AddressIndex& index);

    /// Line `n`; every number outside 1 to the last line reads as `PastEnd`. The index is
    /// chosen, not the reference: every step reads a line, and the WebAssembly engine then keeps
    /// one address of the lines in a register instead of two.
    const DecodedLine& line(int n) const {
        return lines_[static_cast<unsigned>(n) < lines_.size() ? static_cast<std::size_t>(n) : 0];
    }
    /// SP at the run start and at the main program's `START`: the last line's address + 32.
    std::int16_t startStackPointer() const { return startStackPointer_; }
    /// The address after the program's last word, where a run that passed the last line would
    /// find its next instruction.
    std::int16_t pastEndAddress() const { return pastEndAddress_; }

private:
    std::array<DecodedLine, maxLines + 2> lines_{};
    std::int16_t startStackPointer_ = 0;
    std::int16_t pastEndAddress_ = 0;
};

} // namespace casl
