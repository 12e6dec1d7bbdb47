#include "assembler/listing.h"
#include "simulator/run_messages.h"
#include "simulator/word.h"
#include "tests/simulator/reference/reference_trace_session.h"

namespace casl::test {
namespace {

constexpr int sla = 0x50;
constexpr int sra = 0x51;
constexpr int sll = 0x52;

constexpr int topSlot = stackSlotCount - 1;

/// Whether a jump's condition holds for the flags.
bool jumpTaken(int code, int signZeroState, int overflowFlag) {
    switch (code) {
    case 0x61: // JMI
        return signZeroState == 2;
    case 0x62: // JNZ
        return signZeroState != 1;
    case 0x63: // JZE
        return signZeroState == 1;
    case 0x64: // JUMP
        return true;
    case 0x65: // JPL
        return signZeroState == 0;
    default: // JOV
        return overflowFlag == 1;
    }
}

struct ShiftResult {
    std::int32_t pattern = 0;
    int shiftOutBit = 0;
};

/// A shift of the 16-bit pattern `bits` by `count` ≥ 0, with the last bit shifted out.
ShiftResult shift(int code, std::uint32_t bits, std::int64_t count) {
    const auto bit = [bits](std::int64_t n) { return static_cast<int>((bits >> n) & 1); };
    const std::uint32_t sign = bits & 0x8000;
    ShiftResult r;
    if (code == sla) {
        // The sign stays; the other 15 bits move left.
        r.shiftOutBit = count > 15 ? 0 : bit(15 - count);
        r.pattern = static_cast<std::int32_t>(sign | (count >= 15 ? 0 : (bits << count) & 0x7FFF));
    } else if (code == sra) {
        // The sign stays and fills the vacated bits.
        r.shiftOutBit = count > 15 ? bit(15) : (count == 0 ? 0 : bit(count - 1));
        const std::int64_t n = count > 15 ? 15 : count;
        r.pattern = wordPattern(static_cast<std::int16_t>(bits) >> n);
    } else if (code == sll) {
        r.shiftOutBit = count == 0 || count > 16 ? 0 : bit(16 - count);
        r.pattern = count >= 16 ? 0 : static_cast<std::int32_t>((bits << count) & 0xFFFF);
    } else {
        r.shiftOutBit = count == 0 || count > 16 ? 0 : bit(count - 1);
        r.pattern = count >= 16 ? 0 : static_cast<std::int32_t>(bits >> count);
    }
    return r;
}

} // namespace

ReferenceTraceSession::Flow ReferenceTraceSession::executeShift(int line, int code) {
    showObjectCode(line);
    showProgramRegister(line, 2);
    const std::int32_t count = effectiveAddress(line);
    if (count < 0) {
        return stopWith(messages::negativeShift, messages::errorTitle, false);
    }
    auto& reg =
        machine_.generalRegisters[static_cast<std::size_t>(tables_.code(line, rColumn) & 7)];
    const ShiftResult result = shift(code, static_cast<std::uint16_t>(reg), count);
    reg = fitWord(result.pattern);
    machine_.signZeroState = signZeroOf(reg);
    machine_.overflowFlag = result.shiftOutBit;
    ++machine_.currentLine;
    return Flow::Go;
}

ReferenceTraceSession::Flow ReferenceTraceSession::branchTo(std::int32_t target) {
    const int line = index_.firstCodeLine(target);
    bool valid = false;
    if (line != 0) {
        machine_.currentLine = line;
        showAddress(tables_.address(line));
        const int code = tables_.code(line, opColumn);
        valid = code != 300 && code != 301 && code != 401 &&
                (code != 0 || tables_.field(line, mnemonicColumn) == U"NOP");
    }
    if (valid) {
        return Flow::Go;
    }
    return stopAtBranchTarget(target);
}

ReferenceTraceSession::Flow ReferenceTraceSession::stopAtBranchTarget(std::int32_t target) {
    showAddress(target);
    return stopWith(hex4(target) + U"(" + decimalText(target) + U")" +
                        std::u32string(messages::branchTarget),
                    messages::branchTargetTitle, true);
}

ReferenceTraceSession::Flow ReferenceTraceSession::executeJump(int line, int code) {
    showObjectCode(line);
    setBranchMarks(line);
    if (!jumpTaken(code, machine_.signZeroState, machine_.overflowFlag)) {
        showProgramRegister(line, 2);
        ++machine_.currentLine;
        return Flow::Go;
    }
    if (tables_.code(line, xColumn) != 0) {
        return branchTo(effectiveAddress(line));
    }
    // A target that no line has leaves the jump in place: it executes again next step.
    if (const int target = index_.firstLine(tables_.code(line, adrColumn)); target != 0) {
        machine_.currentLine = target;
        showAddress(tables_.address(target));
    }
    return Flow::Go;
}

bool ReferenceTraceSession::push(std::int32_t value) {
    const int top = machine_.stackSlots[0];
    if (top < 0 || top >= topSlot) {
        return false;
    }
    writeStackSlot(0, top + 1);
    writeStackSlot(top + 1, value);
    machine_.stackPointer = fitWord(std::int64_t{machine_.stackPointer} - 1);
    return true;
}

bool ReferenceTraceSession::pop(std::int16_t& reg) {
    const int top = machine_.stackSlots[0];
    if (top < 0 || top > topSlot) {
        return false;
    }
    reg = fitWord(machine_.stackSlots[static_cast<std::size_t>(top)]);
    writeStackSlot(top, 0);
    writeStackSlot(0, machine_.stackSlots[0] - 1);
    machine_.stackPointer = fitWord(std::int64_t{machine_.stackPointer} + 1);
    return true;
}

ReferenceTraceSession::Flow ReferenceTraceSession::executeCall(int line) {
    showObjectCode(line);
    setBranchMarks(line);
    const std::int32_t returnAddress = tables_.address(line + 1);
    if (tables_.code(line, xColumn) == 0) {
        const int target = index_.firstLine(tables_.code(line, adrColumn));
        if (target == 0) {
            return Flow::Go;
        }
        if (!push(returnAddress)) {
            return stopWith(messages::stackOverflow, messages::errorTitle, false);
        }
        machine_.currentLine = target;
        showAddress(tables_.address(target));
        return Flow::Go;
    }
    const std::int32_t target = effectiveAddress(line);
    if (index_.firstCodeLine(target) != 0 && !push(returnAddress)) {
        return stopWith(messages::stackOverflow, messages::errorTitle, false);
    }
    return branchTo(target);
}

ReferenceTraceSession::Flow ReferenceTraceSession::executeReturn(int line) {
    showObjectCode(line);
    setBranchMarks(line);
    const int top = machine_.stackSlots[0];
    if (top == 1) {
        return stopWith(messages::programEnd, messages::programEndTitle, true);
    }
    const int target = top >= 0 && top <= topSlot
                           ? index_.firstLine(machine_.stackSlots[static_cast<std::size_t>(top)])
                           : 0;
    if (target == 0) {
        return stopWith(messages::returnTarget, messages::errorTitle, true);
    }
    machine_.currentLine = target;
    std::int16_t popped = 0;
    pop(popped);
    showAddress(tables_.address(target));
    return Flow::Go;
}

ReferenceTraceSession::Flow ReferenceTraceSession::executePush(int line) {
    showObjectCode(line);
    showProgramRegister(line, 2);
    if (!push(effectiveAddress(line)) || machine_.stackSlots[0] >= topSlot) {
        return stopWith(messages::stackOverflow, messages::errorTitle, false);
    }
    ++machine_.currentLine;
    return Flow::Go;
}

ReferenceTraceSession::Flow ReferenceTraceSession::executePop(int line) {
    showObjectCode(line);
    showProgramRegister(line, 1);
    auto& reg =
        machine_.generalRegisters[static_cast<std::size_t>(tables_.code(line, rColumn) & 7)];
    if (!pop(reg) || machine_.stackSlots[0] < 1) {
        return stopWith(messages::stackUnderflow, messages::errorTitle, false);
    }
    ++machine_.currentLine;
    return Flow::Go;
}

ReferenceTraceSession::Flow ReferenceTraceSession::executeRegisterPush() {
    for (std::size_t r = 1; r <= 7; ++r) {
        if (!push(machine_.generalRegisters[r])) {
            return stopWith(messages::stackOverflow, messages::errorTitle, false);
        }
    }
    if (machine_.stackSlots[0] >= topSlot) {
        return stopWith(messages::stackOverflow, messages::errorTitle, false);
    }
    ++machine_.currentLine;
    return Flow::Go;
}

ReferenceTraceSession::Flow ReferenceTraceSession::executeRegisterPop() {
    for (std::size_t r = 7; r >= 1; --r) {
        if (!pop(machine_.generalRegisters[r])) {
            return stopWith(messages::stackUnderflow, messages::errorTitle, false);
        }
    }
    if (machine_.stackSlots[0] < 1) {
        return stopWith(messages::stackUnderflow, messages::errorTitle, false);
    }
    ++machine_.currentLine;
    return Flow::Go;
}

} // namespace casl::test
