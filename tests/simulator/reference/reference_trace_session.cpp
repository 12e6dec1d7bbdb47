#include "tests/simulator/reference/reference_trace_session.h"

#include "assembler/instruction_table.h"
#include "simulator/run_messages.h"
#include "simulator/word.h"

#include <algorithm>
#include <utility>

namespace casl::test {
namespace {

bool hasNoCode(const ProgramTables& t, int line) {
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

} // namespace

ReferenceTraceSession::ReferenceTraceSession(ProgramTables& tables, MachineState& machine,
                                             std::u32string_view infoText, TraceOptions options,
                                             TraceHost& host)
    : tables_(tables), machine_(machine), host_(host), listing_(infoText), index_(tables),
      breakpointLine_(options.breakpointLine), simpleDisplay_(options.simpleDisplay),
      history_(options.historyBytes) {}

TraceDisplays ReferenceTraceSession::displays() const {
    return TraceDisplays(refreshed_, captions_, tables_, listing_);
}

void ReferenceTraceSession::start() {
    if (state_ != TraceState::NotStarted) {
        return;
    }
    state_ = TraceState::Running;
    machine_.currentLine = 1;
    machine_.outputText.clear();
    machine_.stackPointer = fitWord(std::int64_t{tables_.address(tables_.lineCount())} + 32);
    captions_.programRegister = 0;
    machine_.signZeroState = 0;
    machine_.overflowFlag = 0;
    machine_.stackSlots.fill(0);
    machine_.stackSlots[0] = 1;
    refreshed_ = RefreshedState{};
    markedLine_ = 0;
    history_.clear();
    carryOn(Next::Execute);
}

void ReferenceTraceSession::next() {
    if (state_ != TraceState::Waiting) {
        return;
    }
    state_ = TraceState::Running;
    // A step that answered a question and went on was never counted; stepping back onto it
    // and on again must not count it either.
    carryOn(displayOnly_ ? Next::Execute : Next::Proceed);
}

void ReferenceTraceSession::end() {
    if (state_ == TraceState::Waiting) {
        endTrace(TraceEnding::EndButton);
    }
}

void ReferenceTraceSession::back() {
    if (state_ != TraceState::Waiting || history_.stepsBack() == 0) {
        return;
    }
    const ReferenceTracePosition& before = history_.back([this](const ReferenceTraceWrite& write) {
        if ((write.place & referenceStackPlace) != 0) {
            machine_.stackSlots[write.place & ~referenceStackPlace] = write.previous;
        } else {
            tables_.dataWords[write.place][dataValueColumn] = write.previous;
        }
    });
    machine_.generalRegisters = before.generalRegisters;
    machine_.stackPointer = before.stackPointer;
    machine_.stackBase = before.stackBase;
    machine_.overflowFlag = before.overflowFlag;
    machine_.signZeroState = before.signZeroState;
    machine_.currentLine = before.currentLine;
    machine_.outputText.resize(before.outputLength);
    markedLine_ = before.markedLine;
    branchMark_ = before.branchMark != 0;
    // A branching step marks its own line and notes the line after it together.
    lineAfterBranch_ = markedLine_ + 1;
    displayOnly_ = before.displayOnly != 0;
    captions_.objectCodeLine = before.objectCodeLine;
    captions_.programRegister = before.programRegister;
    stepCount_ = before.stepCount;
    // Between two positions the run proceeds (and counts) once, unless the earlier step
    // answered a question and went straight on.
    countedSteps_ -= displayOnly_ ? 0 : 1;
    refresh();
    showToHost();
}

void ReferenceTraceSession::answer(const BoxAnswer& answer) {
    if (state_ != TraceState::Asking) {
        return;
    }
    state_ = TraceState::Running;
    carryOn(resume(answer));
}

void ReferenceTraceSession::carryOn(Next next) {
    for (;;) {
        switch (next) {
        case Next::Execute:
            next = executeStep();
            break;
        case Next::Finish:
            next = finishStep();
            break;
        case Next::Proceed:
            next = proceed();
            break;
        case Next::Ask:
            if (!immediateAnswer_) {
                state_ = TraceState::Asking;
                return;
            }
            next = resume(*std::exchange(immediateAnswer_, std::nullopt));
            break;
        case Next::Wait:
            state_ = TraceState::Waiting;
            showToHost();
            return;
        case Next::Stop:
            return;
        }
    }
}

ReferenceTraceSession::Next ReferenceTraceSession::after(Flow flow) {
    switch (flow) {
    case Flow::Go:
        return Next::Finish;
    case Flow::Ask:
        return Next::Ask;
    default:
        return Next::Stop;
    }
}

ReferenceTraceSession::Next ReferenceTraceSession::executeStep() {
    const int lastLine = std::min(tables_.lineCount(), maxLines);
    displayOnly_ = false;
    // Lines without code (comments, NOP) are passed over without a step.
    while (machine_.currentLine >= 1 && machine_.currentLine <= lastLine &&
           hasNoCode(tables_, machine_.currentLine)) {
        ++machine_.currentLine;
    }
    const int line = machine_.currentLine;
    if (line < 1 || line > lastLine) {
        return after(passedLastLine());
    }
    branchMark_ = false;
    return after(execute(line));
}

ReferenceTraceSession::Next ReferenceTraceSession::finishStep() {
    refresh();
    if (ReferenceTracePosition* reached = history_.newPosition()) {
        notePosition(*reached);
    }
    if (displayOnly_) {
        return Next::Execute;
    }
    const int executed = branchMark_ ? lineAfterBranch_ - 1 : machine_.currentLine - 1;
    if (breakpointLine_ == 0 || executed == breakpointLine_) {
        return Next::Wait;
    }
    return Next::Proceed;
}

ReferenceTraceSession::Next ReferenceTraceSession::proceed() {
    ++stepCount_;
    ++countedSteps_;
    if (stepCount_ <= 100) {
        return Next::Execute;
    }
    std::u32string text{messages::stepQuestionHead};
    if (breakpointLine_ != 0) {
        text += decimalText(breakpointLine_);
    }
    text += messages::stepQuestionTail;
    return after(openBox(RunBox::message(std::move(text), messages::stepQuestionTitle,
                                         MessageButtons::YesNo, RunBox::Purpose::StepQuestion),
                         Continuation{Continuation::Kind::StepQuestion}));
}

ReferenceTraceSession::Next ReferenceTraceSession::resume(const BoxAnswer& answer) {
    const Continuation c = continuation_;
    switch (c.kind) {
    case Continuation::Kind::EndRun:
        endTrace(c.ending);
        return Next::Stop;
    case Continuation::Kind::StepQuestion:
        if (answer.button == MessageAnswer::Yes) {
            stepCount_ = 0;
            return Next::Execute;
        }
        endTrace(TraceEnding::StepQuestion);
        return Next::Stop;
    case Continuation::Kind::OperandQuestion:
        if (answer.button == MessageAnswer::Yes) {
            if (c.labelOperand) {
                displayOnly_ = true;
                refresh();
            }
            endTrace(c.ending);
            return Next::Stop;
        }
        return after(applyMemoryOperand(c.line, c.code, Operand{c.operandValue, true}));
    case Continuation::Kind::Input:
        storeInput(c.line, answer.input.value_or(std::u32string{}));
        ++machine_.currentLine;
        return Next::Finish;
    default: // Output
        ++machine_.currentLine;
        return Next::Finish;
    }
}

void ReferenceTraceSession::refresh() {
    RefreshedState& shown = refreshed_;
    shown.refreshed = true;
    shown.generalRegisters = machine_.generalRegisters;
    shown.stackPointer = machine_.stackPointer;
    shown.stackBase = machine_.stackBase;
    shown.overflowFlag = machine_.overflowFlag;
    shown.signZeroState = machine_.signZeroState;
    const int top = std::clamp(machine_.stackSlots[0], 0, stackSlotCount - 1);
    std::copy_n(machine_.stackSlots.begin(), top + 1, shown.stackSlots.begin());
    shown.stackTop = top;
    shown.markedLine = markedLine_;
    shown.simpleDisplay = simpleDisplay_;
    hostBehind_ = true;
    ++shown.refreshes;
}

void ReferenceTraceSession::showToHost() {
    hostBehind_ = false;
    host_.showDisplays(displays());
}

void ReferenceTraceSession::endTrace(TraceEnding ending) {
    state_ = TraceState::Ended;
    ending_ = ending;
    if (hostBehind_) {
        showToHost();
    }
    host_.traceEnded();
}

ReferenceTraceSession::Flow ReferenceTraceSession::openBox(RunBox box, Continuation continuation) {
    // The displays stand as the box finds them.
    if (hostBehind_) {
        showToHost();
    }
    box_ = std::move(box);
    continuation_ = continuation;
    immediateAnswer_ = host_.boxOpened(box_);
    return Flow::Ask;
}

ReferenceTraceSession::Flow ReferenceTraceSession::stopWith(std::u32string_view text,
                                                            std::u32string_view title,
                                                            bool refreshFirst) {
    if (refreshFirst) {
        displayOnly_ = true;
        refresh();
    }
    const TraceEnding ending =
        text == messages::programEnd ? TraceEnding::ProgramEnded : TraceEnding::RuntimeMessage;
    return openBox(RunBox::message(std::u32string(text), title, MessageButtons::Ok),
                   Continuation{Continuation::Kind::EndRun, ending});
}

void ReferenceTraceSession::notePosition(ReferenceTracePosition& p) const {
    p.generalRegisters = machine_.generalRegisters;
    p.stackPointer = machine_.stackPointer;
    p.stackBase = machine_.stackBase;
    p.currentLine = static_cast<std::int16_t>(machine_.currentLine);
    p.markedLine = static_cast<std::int16_t>(markedLine_);
    p.objectCodeLine = static_cast<std::int16_t>(captions_.objectCodeLine);
    p.programRegister = static_cast<std::uint16_t>(captions_.programRegister);
    p.overflowFlag = machine_.overflowFlag != 0 ? 1 : 0;
    p.signZeroState = static_cast<std::uint8_t>(machine_.signZeroState & 3);
    p.branchMark = branchMark_ ? 1 : 0;
    p.displayOnly = displayOnly_ ? 1 : 0;
    p.stepCount = static_cast<std::int8_t>(stepCount_);
    p.outputLength = static_cast<std::uint32_t>(machine_.outputText.size());
}

void ReferenceTraceSession::writeDataWord(int row, std::int32_t value) {
    auto& word = tables_.dataWords[static_cast<std::size_t>(row)][dataValueColumn];
    history_.recordWrite(static_cast<std::uint16_t>(row), word);
    word = value;
}

void ReferenceTraceSession::writeStackSlot(int slot, std::int32_t value) {
    auto& stored = machine_.stackSlots[static_cast<std::size_t>(slot)];
    history_.recordWrite(static_cast<std::uint16_t>(referenceStackPlace | slot), stored);
    stored = value;
}

ReferenceTraceSession::Flow ReferenceTraceSession::passedLastLine() {
    // No END or RET stopped the run before the line table ran out: the next instruction
    // would be at the address after the program's last word, where there is none.
    const int last = tables_.lineCount();
    const std::int32_t target =
        fitWord(std::int64_t{tables_.address(last)} + (last >= 1 ? wordsOfLine(tables_, last) : 0));
    return stopAtBranchTarget(target);
}

void ReferenceTraceSession::showObjectCode(int line) {
    captions_.objectCodeLine = line;
    hostBehind_ = true;
}

void ReferenceTraceSession::showObjectCodeBlank() {
    captions_.objectCodeLine = 0;
    hostBehind_ = true;
}

void ReferenceTraceSession::showProgramRegister(int line, int words) {
    captions_.programRegister = wordPattern(std::int64_t{tables_.address(line)} + words);
    markedLine_ = line;
    hostBehind_ = true;
}

void ReferenceTraceSession::showAddress(std::int32_t address) {
    captions_.programRegister = wordPattern(address);
    hostBehind_ = true;
}

void ReferenceTraceSession::setBranchMarks(int line) {
    markedLine_ = line;
    branchMark_ = true;
    lineAfterBranch_ = line + 1;
}

} // namespace casl::test
