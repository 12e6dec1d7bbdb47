// The working session: the editor's events, the breakpoint and the enable rules of the view.

#include "workbench/workbench.h"

#include "assembler/breakpoint_choice.h"
#include "assembler/listing.h"
#include "workbench/workbench_texts.h"

#include <string>

namespace casl {

namespace {

std::u32string lineCaption(int line) {
    if (line == 0) {
        return {};
    }
    const std::string digits = std::to_string(line);
    return std::u32string(digits.begin(), digits.end());
}

} // namespace

Workbench::Workbench(SessionServices services)
    : services_(services), tables_(std::make_unique<ProgramTables>()),
      traceReason_(texts::traceNotAssembled) {
    view_.windowCaption = texts::mainCaption;
    view_.displays = initialDisplayTexts();
    // The start-up captions are displays to show, too.
    ++view_.displaysRevision;
    refreshView();
}

Workbench::~Workbench() = default;

void Workbench::editorKeyDown() {
    // The locked editor of a run changes nothing, so a key there keeps the trace controls.
    if (view_.phase != WorkbenchPhase::Tracing) {
        enterEditing();
        refreshView();
    }
}

void Workbench::editorTextChanged(bool byUser) {
    view_.modified = true;
    // Any change the user makes means the tables no longer describe the editor's program.
    if (byUser && view_.phase != WorkbenchPhase::Tracing) {
        enterEditing();
        programChanged();
    }
    refreshView();
}

void Workbench::enterEditing() {
    if (view_.phase == WorkbenchPhase::Assembled) {
        traceReason_ = texts::traceEdited;
    }
    view_.phase = WorkbenchPhase::Editing;
}

void Workbench::enterAssembled() {
    view_.phase = WorkbenchPhase::Assembled;
    showBreakpointCaption();
}

void Workbench::showBreakpointCaption() {
    view_.breakpointCaption = lineCaption(view_.breakpointLine);
}

void Workbench::clickLine(int editorLine) {
    if (view_.phase == WorkbenchPhase::Assembled) {
        const auto chosen = chooseBreakpointLine(editorLine, *tables_);
        if (!chosen) {
            return;
        }
        clickedLine_ = *chosen;
        view_.breakpointCaption = lineCaption(clickedLine_);
    }
    // Without a clean assembly the click stores the line clicked before.
    view_.breakpointLine = clickedLine_;
    if (session_ && !session_->ended()) {
        session_->setBreakpointLine(view_.breakpointLine);
    }
    refreshView();
}

void Workbench::clearBreakpoint() {
    view_.breakpointCaption.clear();
    view_.breakpointLine = 0;
    if (session_ && !session_->ended()) {
        session_->setBreakpointLine(0);
    }
    refreshView();
}

void Workbench::resetBreakpoint() {
    view_.breakpointLine = 0;
    view_.breakpointCaption.clear();
    // The line clicked in the program before is no line of the new one.
    clickedLine_ = 0;
}

int Workbench::editorLineOfListingLine(int listingLine) const {
    const int line = programLineOfListingWindowLine(*tables_, listingLine);
    if (line == 0) {
        return 0;
    }
    // During a run the editor shows the program lines themselves, literal lines included.
    return view_.phase == WorkbenchPhase::Tracing ? line : sourceLineOf(*tables_, line);
}

void Workbench::putEditorText(std::u32string text) {
    ++view_.editor.revision;
    view_.editor.text = std::move(text);
    view_.editor.findings.clear();
}

std::u32string Workbench::programText(std::u32string_view editorText) const {
    return view_.phase == WorkbenchPhase::Tracing ? savedProgramText_ : std::u32string(editorText);
}

void Workbench::refreshView() {
    const WorkbenchPhase phase = view_.phase;
    const bool tracing = phase == WorkbenchPhase::Tracing;
    const bool waiting = tracing && session_ && session_->waiting();

    view_.assembleEnabled = !tracing;
    view_.traceEnabled = phase == WorkbenchPhase::Assembled;
    view_.traceDisabledReason = phase == WorkbenchPhase::Editing ? traceReason_ : U"";
    view_.runButtonsShown = tracing;
    view_.nextEnabled = tracing;
    view_.endEnabled = tracing;
    view_.stepBackEnabled = waiting && session_->stepsBack() > 0;
    const bool dropped = waiting && session_->historyDropped() && !view_.stepBackEnabled;
    view_.stepBackTip = dropped ? std::u32string(texts::stepBackDropped)
                                : std::u32string(texts::stepBackHint) +
                                      std::u32string(texts::stepBackKeyName) +
                                      std::u32string(texts::stepBackHintEnd);
    // Typing hides the breakpoint's caption and disables クリア; a run keeps them.
    view_.breakpointShown = phase != WorkbenchPhase::Editing;
    view_.clearEnabled = view_.breakpointShown;
    view_.fileMenuEnabled = !tracing;
    view_.overwriteSaveEnabled = !tracing && !view_.fileName.empty();
    view_.editor.locked = tracing;

    // The mark stands where a run can stop: a click never chooses a line that cannot, but the
    // line clicked before may be one in another program.
    const int line = view_.breakpointLine;
    view_.breakpointMark = line > 0 && chooseBreakpointLine(line, *tables_) == line ? line : 0;
    refreshExerciseView();
}

} // namespace casl
