// The step loop: every step dispatches on its line's decoded operation, and the instructions a
// loop spends its time in are executed here without leaving this file, so that running on
// towards a breakpoint costs a few nanoseconds a step. What is rare (boxes, the START line,
// calls, the stack, IN and OUT) is in the files beside it.
#include "simulator/run_messages.h"
#include "simulator/trace_session.h"
#include "simulator/word_arithmetic.h"

#include <utility>

namespace casl {
namespace {

// The functions of a step are inlined into the loop (a call each would cost as much as the
// step itself); the rare paths stay calls.

/// Whether a jump's condition holds for the flags.
[[gnu::always_inline]] inline bool jumpTaken(Operation op, int signZeroState, int overflowFlag) {
    switch (op) {
    case Operation::Jmi:
        return signZeroState == 2;
    case Operation::Jnz:
        return signZeroState != 1;
    case Operation::Jze:
        return signZeroState == 1;
    case Operation::Jump:
        return true;
    case Operation::Jpl:
        return signZeroState == 0;
    default: // JOV
        return overflowFlag == 1;
    }
}

/// A memory operation other than `ST` with the operand's value: GR[r] and the flags.
[[gnu::always_inline]] inline void applyOperandValue(Operation op, std::int16_t& reg,
                                                     std::int32_t value, MachineState& m) {
    switch (op) {
    case Operation::Ld:
        reg = fitWord(value > 32767 ? value - 65536 : value);
        m.overflowFlag = 0;
        m.signZeroState = signZeroOf(reg);
        break;
    case Operation::Adda:
    case Operation::Suba: {
        const std::int64_t result =
            op == Operation::Adda ? std::int64_t{reg} + value : std::int64_t{reg} - value;
        reg = fitWord(result);
        m.signZeroState = signZeroOf(reg);
        m.overflowFlag = inWordRange(result) ? 0 : 1;
        break;
    }
    case Operation::Addl:
    case Operation::Subl: {
        const std::int64_t a = asUnsigned(reg);
        const std::int64_t b = asUnsigned(value);
        const std::int64_t carry = op == Operation::Addl ? a + b : a - b;
        reg = fitCarry(carry);
        m.signZeroState = signZeroOf(reg);
        m.overflowFlag = carry > 65535 || carry < 0 ? 1 : 0;
        break;
    }
    case Operation::And:
    case Operation::Or:
    case Operation::Xor: {
        const std::int32_t pattern = wordPattern(value);
        const std::int32_t bits = wordPattern(reg);
        reg = fitWord(op == Operation::And  ? bits & pattern
                      : op == Operation::Or ? bits | pattern
                                            : bits ^ pattern);
        m.overflowFlag = 0;
        m.signZeroState = signZeroOf(reg);
        break;
    }
    case Operation::Cpa:
        m.signZeroState = compareArithmetic(std::int64_t{reg} - value);
        m.overflowFlag = 0;
        break;
    default: // CPL
        m.signZeroState = compareLogical(reg, value);
        m.overflowFlag = 0;
        break;
    }
}

} // namespace

void TraceSession::carryOn(Next next) {
    for (;;) {
        next = explain_             ? runSteps<Recording::Explained>(next)
               : history_.enabled() ? runSteps<Recording::Steps>(next)
                                    : runSteps<Recording::Nothing>(next);
        if (next == Next::Wait) {
            state_ = TraceState::Waiting;
            showToHost();
            return;
        }
        if (next == Next::Stop) {
            return;
        }
        // A box is open; the wait after it is one the host wants to see.
        passWaits_ = false;
        if (!immediateAnswer_) {
            state_ = TraceState::Asking;
            return;
        }
        next = resumeImmediately();
    }
}

TraceSession::Next TraceSession::resumeImmediately() {
    return resume(*std::exchange(immediateAnswer_, std::nullopt));
}

// A call of its own, left at least at every step question: a WebAssembly engine moves a
// function to its optimised code only when the function is called again, so a loop that
// never returned would run on in its first, slow translation. Never inlined: inside `carryOn`,
// which a host that answers every box at once does not leave until the run ends, it would be
// such a loop. Nothing inlined into it takes a local's address or passes a structure by value:
// in WebAssembly either would give it a stack frame, set up at every call, and a run that waits
// at every step calls it at every step.
template <TraceSession::Recording R>
[[gnu::noinline]] TraceSession::Next TraceSession::runSteps(Next next) {
    // A run may come back in the middle of a step (after a box); from then on every step
    // executes, finishes and proceeds until one waits, asks or stops.
    if (next == Next::Finish) {
        next = finishStep<R>();
    }
    if (next == Next::Proceed) {
        next = proceed();
    }
    while (next == Next::Execute) {
        next = executeStep<R>();
        if (next == Next::Finish) {
            next = finishStep<R>();
            if (next == Next::Proceed) {
                next = proceed();
            }
        }
    }
    return next;
}

template <TraceSession::Recording R>
[[gnu::always_inline]] TraceSession::Next TraceSession::executeStep() {
    displayOnly_ = false;
    int line = machine_.currentLine;
    const DecodedLine* d = &program_.line(line);
    // Lines without code (comments, NOP) are passed over without a step.
    if (d->operation == Operation::Skip) {
        line = d->target;
        machine_.currentLine = line;
        d = &program_.line(line);
    }
    if (d->operation == Operation::PastEnd) {
        return after(passedLastLine());
    }
    branchMark_ = false;
    if constexpr (R == Recording::Explained) {
        ++stepNumber_;
        executedLine_ = line;
    }
    return after(execute<R>(line, *d));
}

template <TraceSession::Recording R>
[[gnu::always_inline]] TraceSession::Next TraceSession::finishStep() {
    refresh();
    if constexpr (R == Recording::Explained) {
        noteMachineWriters();
    }
    if constexpr (R != Recording::Nothing) {
        if (TracePosition* reached = history_.newPosition()) {
            notePosition(*reached);
        }
    }
    if (displayOnly_) {
        return Next::Execute;
    }
    const int executed = branchMark_ ? lineAfterBranch_ - 1 : machine_.currentLine - 1;
    // Passing a wait is what Next at it does: the run proceeds.
    if ((breakpointLine_ == 0 || executed == breakpointLine_) && !passWaits_) {
        return Next::Wait;
    }
    return Next::Proceed;
}

[[gnu::always_inline]] TraceSession::Next TraceSession::proceed() {
    ++stepCount_;
    ++countedSteps_;
    if (stepCount_ <= 100) {
        return Next::Execute;
    }
    return askStepQuestion();
}

template <TraceSession::Recording R>
[[gnu::always_inline]] TraceSession::Flow TraceSession::execute(int line, const DecodedLine& d) {
    auto& registers = machine_.generalRegisters;
    switch (d.operation) {
    case Operation::Ld:
    case Operation::St:
    case Operation::Adda:
    case Operation::Suba:
    case Operation::Addl:
    case Operation::Subl:
    case Operation::And:
    case Operation::Or:
    case Operation::Xor:
    case Operation::Cpa:
    case Operation::Cpl:
        return executeMemoryOperand<R>(line, d);
    case Operation::Lad:
        showObjectCode(line);
        showProgramRegister(line, d.programRegister);
        registers[d.r] = d.indexed ? fitWord(std::int64_t{d.adr} + registers[d.x]) : d.adr;
        ++machine_.currentLine;
        return Flow::Go;
    case Operation::LdRegisters:
    case Operation::AddaRegisters:
    case Operation::SubaRegisters:
    case Operation::AddlRegisters:
    case Operation::SublRegisters:
    case Operation::AndRegisters:
    case Operation::OrRegisters:
    case Operation::XorRegisters:
    case Operation::CpaRegisters:
    case Operation::CplRegisters:
        showObjectCode(line);
        showProgramRegister(line, d.programRegister);
        executeRegisterForm(d);
        ++machine_.currentLine;
        return Flow::Go;
    case Operation::Sla:
    case Operation::Sra:
    case Operation::Sll:
    case Operation::Srl:
        showObjectCode(line);
        showProgramRegister(line, d.programRegister);
        return executeShift(d);
    case Operation::Jmi:
    case Operation::Jnz:
    case Operation::Jze:
    case Operation::Jump:
    case Operation::Jpl:
    case Operation::Jov:
        return executeJump(line, d);
    case Operation::Push:
        showObjectCode(line);
        showProgramRegister(line, d.programRegister);
        return executePush(d);
    case Operation::Pop:
        showObjectCode(line);
        showProgramRegister(line, d.programRegister);
        return executePop(d);
    case Operation::Call:
        return executeCall(line, d);
    case Operation::Ret:
        return executeReturn(line);
    case Operation::Start:
        return executeStart(line, d);
    case Operation::In:
        return executeIn(line, d);
    case Operation::Out:
        return executeOut(line, d);
    case Operation::RegisterPush:
    case Operation::RegisterPop:
        showObjectCodeBlank();
        showProgramRegister(line, d.programRegister);
        return d.operation == Operation::RegisterPush ? executeRegisterPush()
                                                      : executeRegisterPop();
    default:
        // `DC`, `DS`, `END` and `SVC` have no action: the same line executes again.
        return Flow::Go;
    }
}

template <TraceSession::Recording R>
[[gnu::always_inline]] TraceSession::Flow TraceSession::executeMemoryOperand(int line,
                                                                             const DecodedLine& d) {
    showObjectCode(line);
    showProgramRegister(line, d.programRegister);
    int row = d.row;
    if (d.form != OperandForm::Row) {
        if (d.form == OperandForm::NotData) {
            return stopAtCodeLabel();
        }
        std::int32_t address = d.adr;
        if (d.indexed) {
            const std::int64_t sum = std::int64_t{d.adr} + machine_.generalRegisters[d.x];
            // A number wraps around; a label's address plus the index is taken exactly.
            address = d.form == OperandForm::Number ? fitWord(sum) : static_cast<std::int32_t>(sum);
        }
        row = index_.firstDataRow(address);
        if (row == 0) {
            return askAboutOperand(line, d, address);
        }
        if (index_.repeatedDataAddress(address)) {
            // Which of the words with the address take part depends on the operation.
            return applyMemoryOperand(d, address, false);
        }
    }
    auto& reg = machine_.generalRegisters[d.r];
    if (d.operation == Operation::St) {
        writeDataWord<R != Recording::Nothing>(row, reg);
    } else {
        const std::int32_t value =
            tables_.dataWords[static_cast<std::size_t>(row)][dataValueColumn];
        if constexpr (R == Recording::Explained) {
            history_.recordRead(static_cast<std::uint16_t>(row), value);
        }
        applyOperandValue(d.operation, reg, value, machine_);
    }
    ++machine_.currentLine;
    return Flow::Go;
}

TraceSession::Flow TraceSession::stopAtCodeLabel() {
    // The label names an instruction line, not a `DC` or `DS`.
    return stopWith(messages::outsideProgram, messages::operandErrorTitle, true);
}

TraceSession::Flow TraceSession::applyMemoryOperand(const DecodedLine& d, std::int32_t operand,
                                                    bool inCode) {
    auto& reg = machine_.generalRegisters[d.r];
    const auto& words = tables_.dataWords;
    const auto wordAt = [&](int row) {
        const std::int32_t value = words[static_cast<std::size_t>(row)][dataValueColumn];
        noteRead(static_cast<std::uint16_t>(row), value);
        return value;
    };
    switch (d.operation) {
    case Operation::St:
        if (inCode) {
            return stopWith(messages::storeIntoCode, messages::warningTitle, true);
        }
        writeDataWord(index_.firstDataRow(operand), reg);
        break;
    case Operation::And:
    case Operation::Or:
    case Operation::Xor:
        if (inCode) {
            applyOperandValue(d.operation, reg, operand, machine_);
        } else if (!index_.repeatedDataAddress(operand)) {
            applyOperandValue(d.operation, reg, wordAt(index_.firstDataRow(operand)), machine_);
        } else {
            // Every data word with the address takes part, in index order.
            for (int w = 1; w < tables_.dataWordCounter && ProgramTables::isDataRow(w); ++w) {
                if (words[static_cast<std::size_t>(w)][dataAddressColumn] == operand) {
                    applyOperandValue(d.operation, reg, wordAt(w), machine_);
                }
            }
        }
        break;
    default: {
        // The code word's value after a No to the question, else the data word's: the last
        // one with the address for the comparisons, the first for the others.
        const bool comparison = d.operation == Operation::Cpa || d.operation == Operation::Cpl;
        const std::int32_t value = inCode ? operand
                                          : wordAt(comparison ? index_.lastDataRow(operand)
                                                              : index_.firstDataRow(operand));
        applyOperandValue(d.operation, reg, value, machine_);
        break;
    }
    }
    ++machine_.currentLine;
    return Flow::Go;
}

[[gnu::always_inline]] void TraceSession::executeRegisterForm(const DecodedLine& d) {
    auto& r1 = machine_.generalRegisters[d.r];
    const std::int16_t r2 = machine_.generalRegisters[d.x];
    switch (d.operation) {
    case Operation::LdRegisters:
    case Operation::AndRegisters:
    case Operation::OrRegisters:
    case Operation::XorRegisters:
        r1 = d.operation == Operation::LdRegisters    ? r2
             : d.operation == Operation::AndRegisters ? static_cast<std::int16_t>(r1 & r2)
             : d.operation == Operation::OrRegisters  ? static_cast<std::int16_t>(r1 | r2)
                                                      : static_cast<std::int16_t>(r1 ^ r2);
        machine_.overflowFlag = 0;
        machine_.signZeroState = signZeroOf(r1);
        break;
    case Operation::AddaRegisters:
    case Operation::SubaRegisters: {
        const std::int64_t result =
            d.operation == Operation::AddaRegisters ? std::int64_t{r1} + r2 : std::int64_t{r1} - r2;
        r1 = fitWord(result);
        machine_.signZeroState = signZeroOf(r1);
        machine_.overflowFlag = inWordRange(result) ? 0 : 1;
        break;
    }
    case Operation::AddlRegisters:
    case Operation::SublRegisters: {
        const std::int64_t a = asUnsigned(r1);
        const std::int64_t b = asUnsigned(r2);
        const std::int64_t carry = d.operation == Operation::AddlRegisters ? a + b : a - b;
        r1 = fitCarry(carry);
        machine_.signZeroState = signZeroOf(r1);
        machine_.overflowFlag = carry > 65535 || carry < 0 ? 1 : 0;
        break;
    }
    case Operation::CpaRegisters:
        machine_.signZeroState = compareArithmetic(std::int64_t{r1} - r2);
        machine_.overflowFlag = 0;
        break;
    default: // CPL r1,r2
        machine_.signZeroState = compareLogical(r1, r2);
        machine_.overflowFlag = 0;
        break;
    }
}

[[gnu::always_inline]] TraceSession::Flow TraceSession::executeJump(int line,
                                                                    const DecodedLine& d) {
    showObjectCode(line);
    setBranchMarks(line);
    if (!jumpTaken(d.operation, machine_.signZeroState, machine_.overflowFlag)) {
        showProgramRegister(line, d.programRegister);
        ++machine_.currentLine;
        return Flow::Go;
    }
    if (d.indexed) {
        return branchTo(effectiveAddress(d));
    }
    // A target that no line has leaves the jump in place: it executes again next step.
    if (d.target != 0) {
        machine_.currentLine = d.target;
        showAddress(d.targetAddress);
    }
    return Flow::Go;
}

} // namespace casl
