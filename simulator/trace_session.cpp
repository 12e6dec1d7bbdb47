#include "simulator/trace_session.h"

#include "simulator/run_messages.h"
#include "simulator/word.h"

#include <utility>

namespace casl {

TraceSession::TraceSession(ProgramTables& tables, MachineState& machine,
                           std::u32string_view infoText, TraceOptions options, TraceHost& host)
    : tables_(tables), machine_(machine), host_(host), listing_(infoText), index_(tables),
      program_(tables, index_), breakpointLine_(options.breakpointLine),
      startLine_(options.startLine), simpleDisplay_(options.simpleDisplay),
      history_(options.historyBytes), explain_(options.explain),
      provenance_(options.explain ? std::make_unique<Provenance>() : nullptr) {}

void TraceSession::start() {
    if (state_ != TraceState::NotStarted) {
        return;
    }
    state_ = TraceState::Running;
    machine_.currentLine = startLine_;
    machine_.outputText.clear();
    machine_.stackPointer = program_.startStackPointer();
    captions_.programRegister = 0;
    machine_.signZeroState = 0;
    machine_.overflowFlag = 0;
    machine_.stackSlots.fill(0);
    machine_.stackSlots[0] = 1;
    stackChanged_ = true;
    refreshed_ = RefreshedState{};
    markedLine_ = 0;
    history_.clear();
    stepNumber_ = 0;
    executedLine_ = 0;
    if (provenance_) {
        provenance_->clear();
    }
    carryOn(Next::Execute);
}

void TraceSession::end() {
    if (state_ == TraceState::Waiting) {
        endTrace(TraceEnding::EndButton);
    }
}

void TraceSession::back() {
    if (state_ != TraceState::Waiting || history_.stepsBack() == 0) {
        return;
    }
    const TracePosition& before = history_.back([this](const TraceWrite& write) {
        const int index = write.place & placeIndexMask;
        if ((write.place & readRecord) != 0) {
            return;
        }
        if ((write.place & writerRecord) != 0) {
            const Writer previous{static_cast<std::uint32_t>(write.previous), write.line};
            if ((write.place & machinePlace) != 0) {
                provenance_->machine(index) = previous;
            } else if ((write.place & stackPlace) != 0) {
                provenance_->stackSlot(index) = previous;
            } else {
                provenance_->dataWord(index) = previous;
            }
        } else if ((write.place & stackPlace) != 0) {
            machine_.stackSlots[static_cast<std::size_t>(index)] = write.previous;
        } else {
            tables_.dataWords[static_cast<std::size_t>(index)][dataValueColumn] = write.previous;
        }
    });
    stackChanged_ = true;
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
    stepNumber_ = before.step;
    executedLine_ = before.executedLine;
    // Between two positions the run proceeds (and counts) once, unless the earlier step
    // answered a question and went straight on.
    countedSteps_ -= displayOnly_ ? 0 : 1;
    refresh();
    showToHost();
}

void TraceSession::answer(const BoxAnswer& answer) {
    if (state_ != TraceState::Asking) {
        return;
    }
    state_ = TraceState::Running;
    carryOn(resume(answer));
}

TraceSession::Next TraceSession::askStepQuestion() {
    // A long run asks every 101 steps: the box keeps the question between two of them, and it
    // is written again only when another box came between or the breakpoint it names changed.
    if (stepQuestionInBox_ != breakpointLine_) {
        std::u32string text(messages::stepQuestionHead);
        if (breakpointLine_ != 0) {
            text += decimalText(breakpointLine_);
        }
        text += messages::stepQuestionTail;
        box_ = RunBox::message(std::move(text), messages::stepQuestionTitle, MessageButtons::YesNo,
                               RunBox::Purpose::StepQuestion);
        stepQuestionInBox_ = breakpointLine_;
    }
    return after(showBox(Continuation{Continuation::Kind::StepQuestion}));
}

TraceSession::Next TraceSession::resume(const BoxAnswer& answer) {
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
        return after(applyMemoryOperand(program_.line(c.line), c.operandValue, true));
    case Continuation::Kind::Input:
        storeInput(program_.line(c.line), answer.input.value_or(std::u32string{}));
        ++machine_.currentLine;
        return Next::Finish;
    default: // Output
        ++machine_.currentLine;
        return Next::Finish;
    }
}

void TraceSession::endTrace(TraceEnding ending) {
    state_ = TraceState::Ended;
    ending_ = ending;
    if (hostBehind_) {
        showToHost();
    }
    host_.traceEnded();
}

TraceSession::Flow TraceSession::openBox(RunBox box, Continuation continuation) {
    box_ = std::move(box);
    stepQuestionInBox_.reset();
    return showBox(continuation);
}

TraceSession::Flow TraceSession::showBox(Continuation continuation) {
    // The displays stand as the box finds them.
    if (hostBehind_) {
        showToHost();
    }
    continuation_ = continuation;
    immediateAnswer_ = host_.boxOpened(box_);
    return Flow::Ask;
}

TraceSession::Flow TraceSession::stopWith(std::u32string_view text, std::u32string_view title,
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

TraceSession::Flow TraceSession::passedLastLine() {
    // No END or RET stopped the run before the line table ran out: the next instruction
    // would be at the address after the program's last word, where there is none.
    return stopAtBranchTarget(program_.pastEndAddress());
}

} // namespace casl
