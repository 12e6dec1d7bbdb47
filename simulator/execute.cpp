#include "simulator/run_messages.h"
#include "simulator/trace_session.h"
#include "simulator/word.h"

namespace casl {
namespace {

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

} // namespace

std::int32_t TraceSession::effectiveAddress(const DecodedLine& d) const {
    if (!d.indexed) {
        return d.adr;
    }
    return fitWord(std::int64_t{d.adr} + machine_.generalRegisters[d.x]);
}

TraceSession::Flow TraceSession::executeStart(int line, const DecodedLine& d) {
    showObjectCodeBlank();
    if (d.beginsProgram) {
        machine_.generalRegisters.fill(0);
        machine_.stackPointer = program_.startStackPointer();
        machine_.stackBase = machine_.stackPointer;
    }
    if (!d.hasStartAddress) {
        showProgramRegister(line, d.programRegister);
        ++machine_.currentLine;
        return Flow::Go;
    }
    showAddress(d.adr);
    // A comment line before the start line only borrows its address: the line that holds
    // something answers, so a start on a data line is caught behind a comment too.
    const int target = d.target;
    if (target == 0) {
        return stopWith(messages::startAddress, messages::runtimeErrorTitle, true);
    }
    machine_.currentLine = target;
    if (program_.line(target).dataMnemonic) {
        return stopWith(messages::startAddress, messages::runtimeErrorTitle, true);
    }
    return Flow::Go;
}

TraceSession::Flow TraceSession::askAboutOperand(int line, const DecodedLine& d,
                                                 std::int32_t address) {
    // The operand names no data word; it may name a word of the code.
    const int codeLine = index_.codeWordLine(address);
    if (d.form == OperandForm::Number) {
        if (codeLine == 0) {
            return stopWith(messages::outsideProgram, messages::warningTitle, true);
        }
        displayOnly_ = true;
        refresh();
        return openBox(
            RunBox::message(std::u32string(messages::outsideData), messages::warningTitle,
                            MessageButtons::YesNo, RunBox::Purpose::OperandQuestion),
            Continuation{Continuation::Kind::OperandQuestion, TraceEnding::RuntimeMessage, line,
                         codeWordValue(tables_, codeLine, address), false});
    }
    if (codeLine == 0) {
        return stopWith(messages::outsideProgram, messages::operandErrorTitle, true);
    }
    return openBox(RunBox::message(std::u32string(messages::codeArea), messages::warningTitle,
                                   MessageButtons::YesNo, RunBox::Purpose::OperandQuestion),
                   Continuation{Continuation::Kind::OperandQuestion, TraceEnding::RuntimeMessage,
                                line, codeWordValue(tables_, codeLine, address), true});
}

} // namespace casl
