// The exercises of the working session: opening one, 採点, and the run of a case.

#include "grading/case_setup.h"
#include "platform/text_codec.h"
#include "workbench/editor_text.h"
#include "workbench/exercise_texts.h"
#include "workbench/workbench.h"
#include "workbench/workbench_texts.h"

#include <variant>

namespace casl {

namespace {

WorkbenchBox exerciseMessage(std::u32string_view headline, std::u32string_view why) {
    WorkbenchBox box;
    box.kind = WorkbenchBox::Kind::Message;
    box.purpose = WorkbenchBox::Purpose::ExerciseMessage;
    box.text = std::u32string(headline) + U"\r\n\r\n" + std::u32string(why);
    box.title = texts::applicationTitle;
    return box;
}

} // namespace

void Workbench::openExercise(std::u32string_view editorText, const ExerciseFiles& files) {
    openExerciseWith(editorText, files, std::nullopt);
}

void Workbench::openExerciseWith(std::u32string_view editorText, const ExerciseFiles& files,
                                 std::optional<std::u32string> program) {
    if (view_.phase == WorkbenchPhase::Tracing || flow_ || view_.box) {
        return;
    }
    auto opened = ExerciseSession::open(files);
    if (const auto* problem = std::get_if<std::u32string>(&opened)) {
        view_.box = exerciseMessage(texts::exerciseNotOpened, *problem);
        refreshView();
        return;
    }
    auto exercise = std::move(std::get<std::unique_ptr<ExerciseSession>>(opened));
    if (!files.startProgram.empty()) {
        // The starting program is read first: one that cannot be read leaves everything alone.
        auto start = services_.files.read(files.startProgram);
        if (const auto* error = std::get_if<platform::FileError>(&start)) {
            view_.box = exerciseMessage(texts::exerciseNotOpened, error->message);
            refreshView();
            return;
        }
        exercise->setStartProgram(editorTextOf(std::get<platform::SourceText>(start).text));
    }
    if (!program && files.startProgram.empty()) {
        // Without a starting program the student goes on with the program in the editor.
        exercise_ = std::move(exercise);
        refreshView();
        return;
    }
    FileFlow flow;
    flow.failureTitle = texts::applicationTitle;
    flow.command = FileFlow::Command::Exercise;
    flow.text = editorText;
    flow.example = program ? std::move(*program) : exercise->startProgram();
    pendingExercise_ = std::move(exercise);
    startFlow(std::move(flow));
}

void Workbench::closeExercise() {
    if (view_.phase == WorkbenchPhase::Tracing || !exercise_) {
        return;
    }
    exercise_.reset();
    refreshView();
}

void Workbench::checkExercise(std::u32string_view editorText) {
    if (!exercise_ || view_.phase == WorkbenchPhase::Tracing || flow_ || view_.box) {
        return;
    }
    exercise_->check(editorText);
    refreshView();
}

void Workbench::startCaseRun(std::u32string_view editorText, std::size_t index) {
    if (!exercise_ || view_.phase == WorkbenchPhase::Tracing || flow_ || view_.box ||
        index >= exercise_->tests().cases.size()) {
        return;
    }
    const check::CheckCase& c = exercise_->tests().cases[index];
    if (c.hidden || !c.assembles) {
        return;
    }
    assembleText(editorText, true);
    if (view_.phase != WorkbenchPhase::Assembled || view_.box) {
        return;
    }
    const auto prepared = check::prepareCaseRun(*tables_, c);
    if (const auto* problem = std::get_if<std::string>(&prepared)) {
        view_.box = exerciseMessage(texts::caseNotRun, platform::fromUtf8(*problem));
        refreshView();
        return;
    }
    // As `casl2 check` runs a case: the first run of a new window, with the case's data, from
    // the subroutine's line with the call's registers for a case that calls one.
    machine_ = check::machineAtStart(c);
    nextRunCase_ = index;
    nextRunStartLine_ = std::get<int>(prepared);
    // The assembly put its own text into the editor, which the run keeps aside.
    const std::u32string program = view_.editor.text;
    startTrace(program);
}

void Workbench::programChanged() {
    if (exercise_) {
        exercise_->programChanged();
    }
}

void Workbench::refreshCaseRun() {
    if (exercise_ && session_ && session_->ended()) {
        exercise_->runEnded(*session_, machine_, *tables_);
    }
    if (exercise_ && view_.box && view_.box->purpose == WorkbenchBox::Purpose::RunBox && session_ &&
        session_->asking()) {
        exercise_->prepareBox(*view_.box, *session_);
    }
}

void Workbench::refreshExerciseView() {
    ExerciseView next;
    if (exercise_) {
        next = exercise_->view(view_.phase != WorkbenchPhase::Tracing && !flow_ && !view_.box);
    }
    if (!next.sameAs(view_.exercise)) {
        next.revision = view_.exercise.revision + 1;
        view_.exercise = std::move(next);
    }
}

} // namespace casl
