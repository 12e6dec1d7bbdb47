#include "simulator/trace_session.h"

#include "assembler/instruction_table.h"
#include "simulator/run_messages.h"
#include "simulator/word.h"

#include <algorithm>

namespace casl {
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

TraceSession::TraceSession(ProgramTables& tables, MachineState& machine,
                           std::u32string_view infoText, TraceOptions options, TraceHost& host)
    : tables_(tables), machine_(machine), host_(host), listing_(infoText), index_(tables),
      breakpointLine_(options.breakpointLine), simpleDisplay_(options.simpleDisplay) {}

TraceDisplays TraceSession::displays() const {
    return TraceDisplays(refreshed_, captions_, tables_, listing_);
}

void TraceSession::start() {
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
    runUntilWait();
}

void TraceSession::next() {
    if (state_ != TraceState::Waiting) {
        return;
    }
    state_ = TraceState::Running;
    if (proceed() == Flow::Go) {
        runUntilWait();
    }
}

void TraceSession::end() {
    if (state_ == TraceState::Waiting) {
        endTrace(TraceEnding::EndButton);
    }
}

void TraceSession::runUntilWait() {
    const int lastLine = std::min(tables_.lineCount(), maxLines);
    for (;;) {
        displayOnly_ = false;
        const int line = machine_.currentLine;
        if (line < 1 || line > lastLine) {
            passedLastLine();
            return;
        }
        if (hasNoCode(tables_, line)) {
            ++machine_.currentLine;
            continue;
        }
        branchMark_ = false;
        if (execute(line) == Flow::Stop) {
            return;
        }
        refresh();
        if (displayOnly_) {
            continue;
        }
        const int executed = branchMark_ ? lineAfterBranch_ - 1 : machine_.currentLine - 1;
        if (breakpointLine_ == 0 || executed == breakpointLine_) {
            state_ = TraceState::Waiting;
            showToHost();
            return;
        }
        if (proceed() == Flow::Stop) {
            return;
        }
    }
}

TraceSession::Flow TraceSession::proceed() {
    ++stepCount_;
    ++countedSteps_;
    if (stepCount_ <= 100) {
        return Flow::Go;
    }
    std::u32string text{messages::stepQuestionHead};
    if (breakpointLine_ != 0) {
        text += decimalText(breakpointLine_);
    }
    text += messages::stepQuestionTail;
    if (ask(text, messages::stepQuestionTitle) == MessageAnswer::Yes) {
        stepCount_ = 0;
        return Flow::Go;
    }
    endTrace(TraceEnding::StepQuestion);
    return Flow::Stop;
}

void TraceSession::refresh() {
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
    host_.displaysRefreshed(displays());
}

void TraceSession::showToHost() {
    hostBehind_ = false;
    host_.showDisplays(displays());
}

void TraceSession::endTrace(TraceEnding ending) {
    state_ = TraceState::Ended;
    ending_ = ending;
    if (hostBehind_) {
        showToHost();
    }
    host_.traceEnded();
}

TraceSession::Flow TraceSession::stopWith(std::u32string_view text, std::u32string_view title,
                                          bool refreshFirst) {
    if (refreshFirst) {
        displayOnly_ = true;
        refresh();
    }
    if (hostBehind_) {
        showToHost();
    }
    host_.messageBox(text, title, MessageButtons::Ok);
    endTrace(text == messages::programEnd ? TraceEnding::ProgramEnded
                                          : TraceEnding::RuntimeMessage);
    return Flow::Stop;
}

MessageAnswer TraceSession::ask(std::u32string_view text, std::u32string_view title) {
    if (hostBehind_) {
        showToHost();
    }
    return host_.messageBox(text, title, MessageButtons::YesNo);
}

TraceSession::Flow TraceSession::passedLastLine() {
    // No END or RET stopped the run before the line table ran out: the next instruction
    // would be at the address after the program's last word, where there is none.
    const int last = tables_.lineCount();
    const std::int32_t target =
        fitWord(std::int64_t{tables_.address(last)} + (last >= 1 ? wordsOfLine(tables_, last) : 0));
    return stopAtBranchTarget(target);
}

void TraceSession::showObjectCode(int line) {
    captions_.objectCodeLine = line;
    hostBehind_ = true;
}

void TraceSession::showObjectCodeBlank() {
    captions_.objectCodeLine = 0;
    hostBehind_ = true;
}

void TraceSession::showProgramRegister(int line, int words) {
    captions_.programRegister = wordPattern(std::int64_t{tables_.address(line)} + words);
    markedLine_ = line;
    hostBehind_ = true;
}

void TraceSession::showAddress(std::int32_t address) {
    captions_.programRegister = wordPattern(address);
    hostBehind_ = true;
}

void TraceSession::setBranchMarks(int line) {
    markedLine_ = line;
    branchMark_ = true;
    lineAfterBranch_ = line + 1;
}

} // namespace casl
