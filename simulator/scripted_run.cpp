#include "simulator/scripted_run.h"

#include "simulator/trace_session.h"

namespace casl {

void ScriptedRun::drive(TraceSession& session) {
    session_ = &session;
    session.start();
    while (!session.ended()) {
        if (const RunBox* box = session.pendingBox()) {
            session.answer(answer(*box));
        } else if (!session.waiting()) {
            return;
        } else if (bounds_.stop(session.machine()) != RunStop::None) {
            session.end();
        } else {
            press();
        }
    }
}

void ScriptedRun::press() {
    if (nextPress_ >= script_.presses.size() && watcher_ == nullptr) {
        // Nobody sees the waits, and between two boxes only the clock can reach a bound: the
        // step question of every 101 steps reads it.
        session_->nextUntilBox();
        return;
    }
    const Press button =
        nextPress_ < script_.presses.size() ? script_.presses[nextPress_] : Press::Next;
    ++nextPress_;
    switch (button) {
    case Press::Next:
        session_->next();
        break;
    case Press::Back:
        session_->back();
        break;
    case Press::End:
        session_->end();
        break;
    }
}

void ScriptedRun::showDisplays(const TraceDisplays& displays) {
    if (watcher_ != nullptr) {
        watcher_->showDisplays(displays, session_ != nullptr && session_->waiting());
    }
}

std::optional<BoxAnswer> ScriptedRun::boxOpened(const RunBox& box) {
    static_cast<void>(box);
    return std::nullopt;
}

BoxAnswer ScriptedRun::answer(const RunBox& box) {
    BoxAnswer answer;
    switch (box.purpose) {
    case RunBox::Purpose::StepQuestion:
        // Yes until the budget is spent; the question comes every 101 steps, so a run may go
        // up to 100 steps past it. A run that reached a bound stops here without a word: the
        // reason is told once the run has ended.
        if (bounds_.stop(session_->machine(), true) != RunStop::None) {
            return BoxAnswer{MessageAnswer::No};
        }
        if (session_->countedSteps() < script_.maxSteps) {
            return BoxAnswer{MessageAnswer::Yes};
        }
        answer.button = MessageAnswer::No;
        break;
    case RunBox::Purpose::OperandQuestion: {
        const bool yes =
            nextAnswer_ < script_.answers.size() ? script_.answers[nextAnswer_++] : true;
        answer.button = yes ? MessageAnswer::Yes : MessageAnswer::No;
        break;
    }
    case RunBox::Purpose::Input:
        if (nextInput_ < script_.inputs.size()) {
            answer.input = script_.inputs[nextInput_++];
        }
        break;
    case RunBox::Purpose::Output:
    case RunBox::Purpose::Message:
        break;
    }
    if (watcher_ != nullptr) {
        watcher_->boxAnswered(box, answer);
    }
    return answer;
}

} // namespace casl
