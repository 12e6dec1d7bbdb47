#include "simulator/run_messages.h"
#include "simulator/word.h"
#include "tests/simulator/reference/reference_trace_session.h"

namespace casl::test {
namespace {

namespace op {
constexpr int ld = 0x10;
constexpr int st = 0x11;
constexpr int lad = 0x12;
constexpr int ldRegisters = 0x14;
constexpr int adda = 0x20;
constexpr int suba = 0x21;
constexpr int addl = 0x22;
constexpr int subl = 0x23;
constexpr int addaRegisters = 0x24;
constexpr int subaRegisters = 0x25;
constexpr int addlRegisters = 0x26;
constexpr int sublRegisters = 0x27;
constexpr int andMemory = 0x30;
constexpr int orMemory = 0x31;
constexpr int xorMemory = 0x32;
constexpr int andRegisters = 0x34;
constexpr int orRegisters = 0x35;
constexpr int xorRegisters = 0x36;
constexpr int cpa = 0x40;
constexpr int cpl = 0x41;
constexpr int cpaRegisters = 0x44;
constexpr int cplRegisters = 0x45;
constexpr int sla = 0x50;
constexpr int srl = 0x53;
constexpr int jmi = 0x61;
constexpr int jov = 0x66;
constexpr int push = 0x70;
constexpr int pop = 0x71;
constexpr int call = 0x80;
constexpr int ret = 0x81;
constexpr int start = 400;
constexpr int in = 500;
constexpr int out = 501;
constexpr int rpush = 502;
constexpr int rpop = 503;
} // namespace op

/// The value of a code word: the first word of a line is op × 256 + r × 16 + x (the address
/// itself where that would not fit below 32768), the second word its adr.
std::int32_t codeWordValue(const ProgramTables& t, int line, std::int32_t address) {
    const auto& code = t.lineCode[static_cast<std::size_t>(line)];
    if (t.lineAddress[static_cast<std::size_t>(line)] != address) {
        return code[adrColumn];
    }
    const std::int32_t first = code[opColumn] * 256 + code[rColumn] * 16 + code[xColumn];
    return first < 32768 ? first : address;
}

/// Unsigned comparison of two words, as their 4-digit hexadecimal forms compare.
int compareLogical(std::int32_t a, std::int32_t b) {
    const std::int32_t ua = wordPattern(a);
    const std::int32_t ub = wordPattern(b);
    if (ua == ub) {
        return 1;
    }
    return ua > ub ? 0 : 2;
}

int compareArithmetic(std::int64_t difference) {
    if (difference == 0) {
        return 1;
    }
    return difference > 0 ? 0 : 2;
}

std::int64_t asUnsigned(std::int64_t value) {
    return value < 0 ? value + 65536 : value;
}

/// `ADDL`/`SUBL`: the carry result brought into 0 to 65535, then fitted into a word.
std::int16_t fitCarry(std::int64_t carry) {
    if (carry > 65535) {
        carry -= 65536;
    } else if (carry < 0) {
        carry += 65536;
    }
    return fitWord(carry);
}

} // namespace

std::int32_t ReferenceTraceSession::effectiveAddress(int line) const {
    const int x = tables_.code(line, xColumn);
    const std::int64_t adr = tables_.code(line, adrColumn);
    if (x == 0) {
        return static_cast<std::int32_t>(adr);
    }
    return fitWord(adr + machine_.generalRegisters[static_cast<std::size_t>(x & 7)]);
}

ReferenceTraceSession::Flow ReferenceTraceSession::execute(int line) {
    const int code = tables_.code(line, opColumn);
    switch (code) {
    case op::ld:
    case op::st:
    case op::adda:
    case op::suba:
    case op::addl:
    case op::subl:
    case op::andMemory:
    case op::orMemory:
    case op::xorMemory:
    case op::cpa:
    case op::cpl:
        return executeMemoryOperand(line, code);
    case op::lad: {
        showObjectCode(line);
        showProgramRegister(line, 2);
        const int r = tables_.code(line, rColumn) & 7;
        const int x = tables_.code(line, xColumn) & 7;
        const std::int64_t adr = tables_.code(line, adrColumn);
        machine_.generalRegisters[static_cast<std::size_t>(r)] =
            x == 0 ? fitWord(adr)
                   : fitWord(adr + machine_.generalRegisters[static_cast<std::size_t>(x)]);
        ++machine_.currentLine;
        return Flow::Go;
    }
    case op::ldRegisters:
    case op::addaRegisters:
    case op::subaRegisters:
    case op::addlRegisters:
    case op::sublRegisters:
    case op::andRegisters:
    case op::orRegisters:
    case op::xorRegisters:
    case op::cpaRegisters:
    case op::cplRegisters:
        return executeRegisterForm(line, code);
    case op::push:
        return executePush(line);
    case op::pop:
        return executePop(line);
    case op::call:
        return executeCall(line);
    case op::ret:
        return executeReturn(line);
    case op::start:
        return executeStart(line);
    case op::in:
        return executeIn(line);
    case op::out:
        return executeOut(line);
    case op::rpush:
    case op::rpop:
        showObjectCodeBlank();
        showProgramRegister(line, 2);
        return code == op::rpush ? executeRegisterPush() : executeRegisterPop();
    default:
        if (code >= op::sla && code <= op::srl) {
            return executeShift(line, code);
        }
        if (code >= op::jmi && code <= op::jov) {
            return executeJump(line, code);
        }
        // `DC`, `DS`, `END` and `SVC` have no action: the same line executes again.
        return Flow::Go;
    }
}

ReferenceTraceSession::Flow ReferenceTraceSession::executeStart(int line) {
    showObjectCodeBlank();
    if (tables_.address(line) == 0) {
        machine_.generalRegisters.fill(0);
        machine_.stackPointer = fitWord(std::int64_t{tables_.address(tables_.lineCount())} + 32);
        machine_.stackBase = machine_.stackPointer;
    }
    if (tables_.field(line, operand1Column).empty()) {
        showProgramRegister(line, 2);
        ++machine_.currentLine;
        return Flow::Go;
    }
    const std::int32_t startAddress = tables_.code(line, adrColumn);
    showAddress(startAddress);
    // A comment line before the start line only borrows its address: the line that holds
    // something answers, so a start on a data line is caught behind a comment too.
    const int target = index_.firstCodeLine(startAddress);
    if (target == 0) {
        return stopWith(messages::startAddress, messages::runtimeErrorTitle, true);
    }
    machine_.currentLine = target;
    const std::u32string& mnemonic = tables_.field(target, mnemonicColumn);
    if (mnemonic == U"DC" || mnemonic == U"DS" || mnemonic == U"END") {
        return stopWith(messages::startAddress, messages::runtimeErrorTitle, true);
    }
    return Flow::Go;
}

ReferenceTraceSession::Flow ReferenceTraceSession::resolveOperand(int line, int code,
                                                                  Operand& operand) {
    operand = Operand{};
    if (index_.numericOperand(line)) {
        const std::int32_t ea = effectiveAddress(line);
        if (index_.firstDataRow(ea) != 0) {
            operand.value = ea;
            return Flow::Go;
        }
        const int codeLine = index_.codeWordLine(ea);
        if (codeLine == 0) {
            return stopWith(messages::outsideProgram, messages::warningTitle, true);
        }
        displayOnly_ = true;
        refresh();
        return openBox(
            RunBox::message(std::u32string(messages::outsideData), messages::warningTitle,
                            MessageButtons::YesNo, RunBox::Purpose::OperandQuestion),
            Continuation{Continuation::Kind::OperandQuestion, TraceEnding::RuntimeMessage, line,
                         code, codeWordValue(tables_, codeLine, ea), false});
    }
    const std::int32_t adr = tables_.code(line, adrColumn);
    if (index_.firstDataRow(adr) == 0) {
        return stopWith(messages::outsideProgram, messages::operandErrorTitle, true);
    }
    const int x = tables_.code(line, xColumn) & 7;
    const std::int32_t ea =
        x == 0 ? adr : adr + machine_.generalRegisters[static_cast<std::size_t>(x)];
    if (index_.firstDataRow(ea) != 0) {
        operand.value = ea;
        return Flow::Go;
    }
    const int codeLine = index_.codeWordLine(ea);
    if (codeLine == 0) {
        return stopWith(messages::outsideProgram, messages::operandErrorTitle, true);
    }
    return openBox(RunBox::message(std::u32string(messages::codeArea), messages::warningTitle,
                                   MessageButtons::YesNo, RunBox::Purpose::OperandQuestion),
                   Continuation{Continuation::Kind::OperandQuestion, TraceEnding::RuntimeMessage,
                                line, code, codeWordValue(tables_, codeLine, ea), true});
}

ReferenceTraceSession::Flow ReferenceTraceSession::executeMemoryOperand(int line, int code) {
    showObjectCode(line);
    showProgramRegister(line, 2);
    Operand operand;
    const Flow resolved = resolveOperand(line, code, operand);
    if (resolved != Flow::Go) {
        return resolved;
    }
    return applyMemoryOperand(line, code, operand);
}

ReferenceTraceSession::Flow ReferenceTraceSession::applyMemoryOperand(int line, int code,
                                                                      Operand operand) {
    auto& registers = machine_.generalRegisters;
    auto& reg = registers[static_cast<std::size_t>(tables_.code(line, rColumn) & 7)];
    auto& words = tables_.dataWords;
    // The operand's value: the code word's after a No to the question, else the data word's
    // (the first one with the address, or the last one for the comparisons).
    const auto valueOf = [&](bool lastRow) -> std::int32_t {
        if (operand.inCode) {
            return operand.value;
        }
        const int row =
            lastRow ? index_.lastDataRow(operand.value) : index_.firstDataRow(operand.value);
        return words[static_cast<std::size_t>(row)][dataValueColumn];
    };
    const auto logicalFlags = [&] {
        machine_.overflowFlag = 0;
        machine_.signZeroState = signZeroOf(reg);
    };
    switch (code) {
    case op::ld: {
        const std::int32_t value = valueOf(false);
        reg = fitWord(value > 32767 ? value - 65536 : value);
        logicalFlags();
        break;
    }
    case op::st:
        if (operand.inCode) {
            return stopWith(messages::storeIntoCode, messages::warningTitle, true);
        }
        writeDataWord(index_.firstDataRow(operand.value), reg);
        break;
    case op::adda:
    case op::suba: {
        const std::int64_t value = valueOf(false);
        const std::int64_t result = code == op::adda ? reg + value : reg - value;
        reg = fitWord(result);
        machine_.signZeroState = signZeroOf(reg);
        machine_.overflowFlag = inWordRange(result) ? 0 : 1;
        break;
    }
    case op::addl:
    case op::subl: {
        const std::int64_t a = asUnsigned(reg);
        const std::int64_t b = asUnsigned(valueOf(false));
        const std::int64_t carry = code == op::addl ? a + b : a - b;
        reg = fitCarry(carry);
        machine_.signZeroState = signZeroOf(reg);
        machine_.overflowFlag = carry > 65535 || carry < 0 ? 1 : 0;
        break;
    }
    case op::andMemory:
    case op::orMemory:
    case op::xorMemory: {
        const auto apply = [&](std::int32_t value) {
            const std::int32_t pattern = wordPattern(value);
            const std::int32_t bits = wordPattern(reg);
            reg = fitWord(code == op::andMemory  ? bits & pattern
                          : code == op::orMemory ? bits | pattern
                                                 : bits ^ pattern);
        };
        if (operand.inCode) {
            apply(operand.value);
        } else if (!index_.repeatedDataAddress(operand.value)) {
            apply(words[static_cast<std::size_t>(index_.firstDataRow(operand.value))]
                       [dataValueColumn]);
        } else {
            // Every data word with the address takes part, in index order.
            for (int w = 1; w < tables_.dataWordCounter && ProgramTables::isDataRow(w); ++w) {
                if (words[static_cast<std::size_t>(w)][dataAddressColumn] == operand.value) {
                    apply(words[static_cast<std::size_t>(w)][dataValueColumn]);
                }
            }
        }
        logicalFlags();
        break;
    }
    case op::cpa:
        machine_.signZeroState = compareArithmetic(std::int64_t{reg} - valueOf(true));
        machine_.overflowFlag = 0;
        break;
    default: // op::cpl
        machine_.signZeroState = compareLogical(reg, valueOf(true));
        machine_.overflowFlag = 0;
        break;
    }
    ++machine_.currentLine;
    return Flow::Go;
}

ReferenceTraceSession::Flow ReferenceTraceSession::executeRegisterForm(int line, int code) {
    showObjectCode(line);
    showProgramRegister(line, 1);
    auto& registers = machine_.generalRegisters;
    auto& r1 = registers[static_cast<std::size_t>(tables_.code(line, rColumn) & 7)];
    const std::int16_t r2 = registers[static_cast<std::size_t>(tables_.code(line, xColumn) & 7)];
    switch (code) {
    case op::ldRegisters:
    case op::andRegisters:
    case op::orRegisters:
    case op::xorRegisters:
        r1 = code == op::ldRegisters    ? r2
             : code == op::andRegisters ? static_cast<std::int16_t>(r1 & r2)
             : code == op::orRegisters  ? static_cast<std::int16_t>(r1 | r2)
                                        : static_cast<std::int16_t>(r1 ^ r2);
        machine_.overflowFlag = 0;
        machine_.signZeroState = signZeroOf(r1);
        break;
    case op::addaRegisters:
    case op::subaRegisters: {
        const std::int64_t result =
            code == op::addaRegisters ? std::int64_t{r1} + r2 : std::int64_t{r1} - r2;
        r1 = fitWord(result);
        machine_.signZeroState = signZeroOf(r1);
        machine_.overflowFlag = inWordRange(result) ? 0 : 1;
        break;
    }
    case op::addlRegisters:
    case op::sublRegisters: {
        const std::int64_t a = asUnsigned(r1);
        const std::int64_t b = asUnsigned(r2);
        const std::int64_t carry = code == op::addlRegisters ? a + b : a - b;
        r1 = fitCarry(carry);
        machine_.signZeroState = signZeroOf(r1);
        machine_.overflowFlag = carry > 65535 || carry < 0 ? 1 : 0;
        break;
    }
    case op::cpaRegisters:
        machine_.signZeroState = compareArithmetic(std::int64_t{r1} - r2);
        machine_.overflowFlag = 0;
        break;
    default: // op::cplRegisters
        machine_.signZeroState = compareLogical(r1, r2);
        machine_.overflowFlag = 0;
        break;
    }
    ++machine_.currentLine;
    return Flow::Go;
}

} // namespace casl::test
