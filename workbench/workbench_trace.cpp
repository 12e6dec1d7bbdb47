// The trace run of the working session: its start, Next, End, 戻る, its boxes and its end.

#include "simulator/display_texts.h"
#include "simulator/trace_displays.h"
#include "workbench/step_announcement.h"
#include "workbench/workbench.h"
#include "workbench/workbench_texts.h"

#include <utility>

namespace casl {

namespace {

WorkbenchBox boxOfRun(const RunBox& run) {
    WorkbenchBox box;
    box.kind =
        run.kind == RunBox::Kind::Input ? WorkbenchBox::Kind::Input : WorkbenchBox::Kind::Message;
    box.purpose = WorkbenchBox::Purpose::RunBox;
    box.text = run.text;
    box.title = run.title;
    box.buttons = run.buttons;
    box.defaultText = run.defaultText;
    box.position = run.position;
    box.run = run;
    return box;
}

} // namespace

void Workbench::startTrace(std::u32string_view editorText) {
    if (view_.phase != WorkbenchPhase::Assembled) {
        return;
    }
    // The run start shows these before its first step.
    view_.displays.pc = programRegisterCaption(0);
    view_.displays.fr = flagsCaption(0, 0);
    view_.phase = WorkbenchPhase::Tracing;
    view_.dumpsShown = true;
    savedProgramText_ = editorText;
    if (services_.scratch) {
        services_.scratch->keepProgramText(savedProgramText_);
    }
    // Earlier runs are no comparison for this one.
    forgetRun();
    session_.reset();
    if (exercise_) {
        exercise_->runStarts(std::exchange(nextRunCase_, std::nullopt));
    }
    TraceHost& host = *this;
    TraceOptions options{view_.breakpointLine, simpleDisplay_, historyBytes_,
                         std::exchange(nextRunStartLine_, 1)};
    options.explain = true;
    session_ = std::make_unique<TraceSession>(*tables_, machine_, infoText_, options, host);
    session_->start();
    refreshRunView();
    refreshView();
}

void Workbench::next() {
    if (!session_ || !session_->waiting()) {
        return;
    }
    showBreakpointCaption();
    predictionsPending_ = true;
    session_->next();
    refreshRunView();
    refreshView();
}

void Workbench::end() {
    if (!session_ || !session_->waiting()) {
        return;
    }
    session_->end();
    refreshRunView();
    refreshView();
}

void Workbench::stepBack() {
    if (!session_ || !session_->waiting()) {
        return;
    }
    session_->back();
    if (exercise_) {
        exercise_->steppedBack(session_->stepsBack());
    }
    refreshRunView();
    refreshView();
}

void Workbench::setSimpleDisplay(bool simple) {
    simpleDisplay_ = simple;
    if (session_ && !session_->ended()) {
        session_->setSimpleDisplay(simple);
    }
}

void Workbench::answer(const BoxAnswer& answer) {
    if (!view_.box) {
        return;
    }
    if (view_.box->purpose != WorkbenchBox::Purpose::RunBox) {
        answerFlow(answer);
        refreshView();
        return;
    }
    view_.box.reset();
    if (session_ && session_->asking()) {
        if (exercise_) {
            exercise_->boxAnswered(*session_->pendingBox(), session_->stepsBack());
        }
        session_->answer(answer);
    }
    refreshRunView();
    refreshView();
}

void Workbench::refreshRunView() {
    if (!session_) {
        return;
    }
    ++view_.displaysRevision;
    // A wait (also the one a step back returns to) is what the next changes count from.
    if (session_->waiting()) {
        lastWait_ = view_.displays;
    }
    if (const RunBox* box = session_->pendingBox()) {
        view_.box = boxOfRun(*box);
    }
    // A box says what it says itself.
    view_.announcement =
        session_->waiting()
            ? stepAnnouncement(view_.displays, view_.changes, view_.editor.executedLine)
        : session_->ended() && !view_.box ? std::u32string(texts::runEndedAnnouncement)
                                          : std::u32string();
    refreshCaseRun();
    refreshExplanation();
}

void Workbench::forgetRun() {
    ++view_.displaysRevision;
    view_.announcement.clear();
    view_.explanation = RunExplanation{};
    predictionsPending_ = false;
    lastWait_.reset();
    view_.changes = {};
    view_.editor.executedLine = 0;
}

void Workbench::showDisplays(const TraceDisplays& displays) {
    view_.displays.pc = displays.programRegister();
    view_.displays.obj = displays.objectCode();
    if (!displays.refreshed()) {
        return;
    }
    view_.displays = displays.texts();
    // What changed is shown whenever the displays are; without them (End) the last stays.
    view_.changes = lastWait_ ? displayChanges(*lastWait_, view_.displays) : DisplayChanges{};
    if (view_.editor.text != view_.displays.listing) {
        putEditorText(view_.displays.listing);
    }
    view_.editor.executedLine = displays.markedLine();
}

std::optional<BoxAnswer> Workbench::boxOpened(const RunBox& box) {
    static_cast<void>(box);
    return std::nullopt;
}

void Workbench::traceEnded() {
    view_.phase = WorkbenchPhase::Assembled;
    // The file holds the text and the one CR LF that the run start added; without the file
    // the copy kept in memory stands in.
    std::optional<std::u32string> kept =
        services_.scratch ? services_.scratch->takeProgramText() : std::nullopt;
    putEditorText(kept ? std::move(*kept) : savedProgramText_);
    view_.editor.executedLine = 0;
    savedProgramText_.clear();
}

} // namespace casl
