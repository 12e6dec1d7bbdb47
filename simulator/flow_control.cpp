#include "assembler/listing.h"
#include "simulator/run_messages.h"
#include "simulator/trace_session.h"
#include "simulator/word.h"

namespace casl {
namespace {

constexpr int topSlot = stackSlotCount - 1;

struct ShiftResult {
    std::int32_t pattern = 0;
    int shiftOutBit = 0;
};

/// A shift of the 16-bit pattern `bits` by `count` ≥ 0, with the last bit shifted out.
ShiftResult shift(Operation op, std::uint32_t bits, std::int64_t count) {
    const auto bit = [bits](std::int64_t n) { return static_cast<int>((bits >> n) & 1); };
    const std::uint32_t sign = bits & 0x8000;
    ShiftResult r;
    if (op == Operation::Sla) {
        // The sign stays; the other 15 bits move left.
        r.shiftOutBit = count > 15 ? 0 : bit(15 - count);
        r.pattern = static_cast<std::int32_t>(sign | (count >= 15 ? 0 : (bits << count) & 0x7FFF));
    } else if (op == Operation::Sra) {
        // The sign stays and fills the vacated bits.
        r.shiftOutBit = count > 15 ? bit(15) : (count == 0 ? 0 : bit(count - 1));
        const std::int64_t n = count > 15 ? 15 : count;
        r.pattern = wordPattern(static_cast<std::int16_t>(bits) >> n);
    } else if (op == Operation::Sll) {
        r.shiftOutBit = count == 0 || count > 16 ? 0 : bit(16 - count);
        r.pattern = count >= 16 ? 0 : static_cast<std::int32_t>((bits << count) & 0xFFFF);
    } else {
        r.shiftOutBit = count == 0 || count > 16 ? 0 : bit(count - 1);
        r.pattern = count >= 16 ? 0 : static_cast<std::int32_t>(bits >> count);
    }
    return r;
}

} // namespace

TraceSession::Flow TraceSession::executeShift(const DecodedLine& d) {
    const std::int32_t count = effectiveAddress(d);
    if (count < 0) {
        return stopWith(messages::negativeShift, messages::errorTitle, false);
    }
    auto& reg = machine_.generalRegisters[d.r];
    const ShiftResult result = shift(d.operation, static_cast<std::uint16_t>(reg), count);
    reg = fitWord(result.pattern);
    machine_.signZeroState = signZeroOf(reg);
    machine_.overflowFlag = result.shiftOutBit;
    ++machine_.currentLine;
    return Flow::Go;
}

TraceSession::Flow TraceSession::branchTo(std::int32_t target) {
    const int line = index_.firstCodeLine(target);
    if (line != 0) {
        machine_.currentLine = line;
        showAddress(tables_.address(line));
        if (program_.line(line).branchTarget) {
            return Flow::Go;
        }
    }
    return stopAtBranchTarget(target);
}

TraceSession::Flow TraceSession::stopAtBranchTarget(std::int32_t target) {
    showAddress(target);
    return stopWith(hex4(target) + U"(" + decimalText(target) + U")" +
                        std::u32string(messages::branchTarget),
                    messages::branchTargetTitle, true);
}

bool TraceSession::push(std::int32_t value) {
    const int top = machine_.stackSlots[0];
    if (top < 0 || top >= topSlot) {
        return false;
    }
    writeStackSlot(0, top + 1);
    writeStackSlot(top + 1, value);
    machine_.stackPointer = fitWord(std::int64_t{machine_.stackPointer} - 1);
    return true;
}

bool TraceSession::pop(std::int16_t& reg) {
    const int top = machine_.stackSlots[0];
    if (top < 0 || top > topSlot) {
        return false;
    }
    const std::int32_t value = machine_.stackSlots[static_cast<std::size_t>(top)];
    noteRead(static_cast<std::uint16_t>(stackPlace | top), value);
    reg = fitWord(value);
    writeStackSlot(top, 0);
    writeStackSlot(0, machine_.stackSlots[0] - 1);
    machine_.stackPointer = fitWord(std::int64_t{machine_.stackPointer} + 1);
    return true;
}

TraceSession::Flow TraceSession::executeCall(int line, const DecodedLine& d) {
    showObjectCode(line);
    setBranchMarks(line);
    if (!d.indexed) {
        if (d.target == 0) {
            return Flow::Go;
        }
        if (!push(d.returnAddress)) {
            return stopWith(messages::stackOverflow, messages::errorTitle, false);
        }
        machine_.currentLine = d.target;
        showAddress(d.targetAddress);
        return Flow::Go;
    }
    const std::int32_t target = effectiveAddress(d);
    if (index_.firstCodeLine(target) != 0 && !push(d.returnAddress)) {
        return stopWith(messages::stackOverflow, messages::errorTitle, false);
    }
    return branchTo(target);
}

TraceSession::Flow TraceSession::executeReturn(int line) {
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

TraceSession::Flow TraceSession::executePush(const DecodedLine& d) {
    if (!push(effectiveAddress(d)) || machine_.stackSlots[0] >= topSlot) {
        return stopWith(messages::stackOverflow, messages::errorTitle, false);
    }
    ++machine_.currentLine;
    return Flow::Go;
}

TraceSession::Flow TraceSession::executePop(const DecodedLine& d) {
    auto& reg = machine_.generalRegisters[d.r];
    if (!pop(reg) || machine_.stackSlots[0] < 1) {
        return stopWith(messages::stackUnderflow, messages::errorTitle, false);
    }
    ++machine_.currentLine;
    return Flow::Go;
}

TraceSession::Flow TraceSession::executeRegisterPush() {
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

TraceSession::Flow TraceSession::executeRegisterPop() {
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

} // namespace casl
