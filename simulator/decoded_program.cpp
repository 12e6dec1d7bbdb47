#include "simulator/decoded_program.h"

#include "assembler/instruction_table.h"
#include "simulator/word.h"

#include <algorithm>

namespace casl {
namespace {

bool hasNoCode(const ProgramTables& t, int line) {
    if (!ProgramTables::isLine(line)) {
        return true;
    }
    const auto& code = t.lineCode[static_cast<std::size_t>(line)];
    return code[0] == 0 && code[1] == 0 && code[2] == 0 && code[3] == 0 && code[4] == 0;
}

/// The number of words of a line, from its code (the address pass's rule).
int wordsOfLine(const ProgramTables& t, int line) {
    const int op = t.code(line, opColumn);
    if (hasNoCode(t, line)) {
        return t.field(line, mnemonicColumn) == U"NOP" ? 1 : 0;
    }
    const bool oneWord = isRegisterFormCode(op) || op == instructionTable[row::pop].firstCode ||
                         op == instructionTable[row::ret].firstCode;
    return oneWord ? 1 : 2;
}

/// The operation of an operation code; every code without an action is `NoAction`.
Operation operationOf(int code) {
    switch (code) {
    case 0x10:
        return Operation::Ld;
    case 0x11:
        return Operation::St;
    case 0x12:
        return Operation::Lad;
    case 0x14:
        return Operation::LdRegisters;
    case 0x20:
        return Operation::Adda;
    case 0x21:
        return Operation::Suba;
    case 0x22:
        return Operation::Addl;
    case 0x23:
        return Operation::Subl;
    case 0x24:
        return Operation::AddaRegisters;
    case 0x25:
        return Operation::SubaRegisters;
    case 0x26:
        return Operation::AddlRegisters;
    case 0x27:
        return Operation::SublRegisters;
    case 0x30:
        return Operation::And;
    case 0x31:
        return Operation::Or;
    case 0x32:
        return Operation::Xor;
    case 0x34:
        return Operation::AndRegisters;
    case 0x35:
        return Operation::OrRegisters;
    case 0x36:
        return Operation::XorRegisters;
    case 0x40:
        return Operation::Cpa;
    case 0x41:
        return Operation::Cpl;
    case 0x44:
        return Operation::CpaRegisters;
    case 0x45:
        return Operation::CplRegisters;
    case 0x70:
        return Operation::Push;
    case 0x71:
        return Operation::Pop;
    case 0x80:
        return Operation::Call;
    case 0x81:
        return Operation::Ret;
    case 400:
        return Operation::Start;
    case 500:
        return Operation::In;
    case 501:
        return Operation::Out;
    case 502:
        return Operation::RegisterPush;
    case 503:
        return Operation::RegisterPop;
    default:
        if (code >= 0x50 && code <= 0x53) {
            return static_cast<Operation>(static_cast<int>(Operation::Sla) + code - 0x50);
        }
        if (code >= 0x61 && code <= 0x66) {
            return static_cast<Operation>(static_cast<int>(Operation::Jmi) + code - 0x61);
        }
        return Operation::NoAction;
    }
}

bool isMemoryOperation(Operation op) {
    return op >= Operation::Ld && op <= Operation::Cpl;
}

bool isRegisterForm(Operation op) {
    return op >= Operation::LdRegisters && op <= Operation::CplRegisters;
}

bool isJump(Operation op) {
    return op >= Operation::Jmi && op <= Operation::Jov;
}

/// The words `pc` counts past the line before the instruction acts.
int shownWords(Operation op) {
    return isRegisterForm(op) || op == Operation::Pop ? 1 : 2;
}

void decodeMemoryOperand(DecodedLine& d, const AddressIndex& index, int line, int rawX) {
    if (index.numericOperand(line)) {
        d.form = OperandForm::Number;
        d.indexed = rawX != 0;
        return;
    }
    d.indexed = d.x != 0;
    if (index.firstDataRow(d.adr) == 0) {
        d.form = OperandForm::NotData;
        return;
    }
    const bool comparison = d.operation == Operation::Cpa || d.operation == Operation::Cpl;
    const bool bitwise = d.operation >= Operation::And && d.operation <= Operation::Xor;
    // An AND, OR or XOR on a repeated address takes every word there: looked up at run time.
    if (d.indexed || (bitwise && index.repeatedDataAddress(d.adr))) {
        d.form = OperandForm::Label;
        return;
    }
    d.form = OperandForm::Row;
    d.row = static_cast<std::int16_t>(comparison ? index.lastDataRow(d.adr)
                                                 : index.firstDataRow(d.adr));
}

/// The machine values a step of the decoded line `d` writes. `pc` is written by every line
/// that acts; what else follows from the operation.
std::uint16_t machineWrites(const DecodedLine& d) {
    constexpr std::uint16_t pr = valueBit(MachineValue::ProgramRegister);
    constexpr std::uint16_t sp = valueBit(MachineValue::StackPointer);
    constexpr std::uint16_t flags = valueBit(MachineValue::Flags);
    const Operation op = d.operation;
    switch (op) {
    case Operation::Cpa:
    case Operation::Cpl:
    case Operation::CpaRegisters:
    case Operation::CplRegisters:
        return flags | pr;
    case Operation::St:
    case Operation::In:
    case Operation::Out:
        return pr;
    case Operation::Lad:
        return registerBit(d.r) | pr;
    case Operation::Push:
    case Operation::Call:
    case Operation::Ret:
    case Operation::RegisterPush:
        return sp | pr;
    case Operation::Pop:
        return registerBit(d.r) | sp | pr;
    case Operation::RegisterPop:
        // GR1 to GR7.
        return 0xFE | sp | pr;
    case Operation::Start:
        return d.beginsProgram ? 0xFF | sp | pr : pr;
    case Operation::PastEnd:
    case Operation::Skip:
    case Operation::NoAction:
        return 0;
    default:
        if (isJump(op)) {
            return pr;
        }
        // Loads, arithmetic, logic and shifts: the register and the flags.
        return registerBit(d.r) | flags | pr;
    }
}

} // namespace

DecodedProgram::DecodedProgram(const ProgramTables& t, const AddressIndex& index) {
    const int lastLine = std::min(t.lineCount(), maxLines);
    const int last = t.lineCount();
    startStackPointer_ = fitWord(std::int64_t{t.address(last)} + 32);
    pastEndAddress_ =
        fitWord(std::int64_t{t.address(last)} + (last >= 1 ? wordsOfLine(t, last) : 0));

    // Where execution lands from each line without code: the next line with code, or past
    // the end. Filled from the last line backwards.
    int landing = lastLine + 1;
    for (int n = lastLine; n >= 1; --n) {
        DecodedLine& d = lines_[static_cast<std::size_t>(n)];
        const int op = t.code(n, opColumn);
        const std::u32string& mnemonic = t.field(n, mnemonicColumn);
        d.branchTarget = op != 300 && op != 301 && op != 401 && (op != 0 || mnemonic == U"NOP");
        d.dataMnemonic = mnemonic == U"DC" || mnemonic == U"DS" || mnemonic == U"END";
        if (hasNoCode(t, n)) {
            d.operation = Operation::Skip;
            d.target = static_cast<std::int16_t>(landing);
            continue;
        }
        landing = n;
        const int rawX = t.code(n, xColumn);
        d.operation = operationOf(op);
        d.r = static_cast<std::uint8_t>(t.code(n, rColumn) & 7);
        d.x = static_cast<std::uint8_t>(rawX & 7);
        d.adr = t.code(n, adrColumn);
        d.programRegister = wordPattern(std::int64_t{t.address(n)} + shownWords(d.operation));
        // Where the effective address is formed, any x but 0 indexes.
        d.indexed = rawX != 0;
        if (isMemoryOperation(d.operation)) {
            decodeMemoryOperand(d, index, n, rawX);
        } else if (d.operation == Operation::Lad) {
            d.indexed = d.x != 0;
        } else if (isJump(d.operation) || d.operation == Operation::Call) {
            d.target = static_cast<std::int16_t>(index.firstLine(d.adr));
            d.targetAddress = t.address(d.target);
            d.returnAddress = t.address(n + 1);
        } else if (d.operation == Operation::Start) {
            d.beginsProgram = t.address(n) == 0;
            d.hasStartAddress = !t.field(n, operand1Column).empty();
            // A comment line before the start line only borrows its address: the line that
            // holds something answers.
            d.target = static_cast<std::int16_t>(index.firstCodeLine(d.adr));
        } else if (d.operation == Operation::In || d.operation == Operation::Out) {
            d.row = static_cast<std::int16_t>(index.labelledDataRow(t.field(n, operand2Column)));
            d.areaRow =
                static_cast<std::int16_t>(index.labelledDataRow(t.field(n, operand1Column)));
        }
        d.writes = machineWrites(d);
        d.writesOnlyWhenMoving =
            (isJump(d.operation) || d.operation == Operation::Call) && !d.indexed && d.target == 0;
    }
}

} // namespace casl
