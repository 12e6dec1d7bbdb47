// An exercise opened from a link: the exercise as its menu opens it, with the program the link
// carries, if any, in place of the starting program.

#include "workbench/workbench.h"
#include "workbench/workbench_texts.h"

namespace casl {

void Workbench::openExerciseLink(
    std::u32string_view editorText, const ExerciseFiles& files,
    const std::optional<std::variant<std::string, LinkProblem>>& linked) {
    if (view_.phase == WorkbenchPhase::Tracing || flow_ || view_.box) {
        return;
    }
    if (!linked) {
        openExerciseWith(editorText, files, std::nullopt);
        return;
    }
    // Read before anything is opened: a link whose program is lost opens nothing.
    std::variant<std::u32string, LinkProblem> program =
        std::holds_alternative<LinkProblem>(*linked)
            ? std::variant<std::u32string, LinkProblem>(std::get<LinkProblem>(*linked))
            : linkedProgramText(std::get<std::string>(*linked));
    if (const auto* problem = std::get_if<LinkProblem>(&program)) {
        showFileMessage(linkProblemMessage(*problem), texts::linkMessageTitle);
        refreshView();
        return;
    }
    openExerciseWith(editorText, files, std::move(std::get<std::u32string>(program)));
}

void Workbench::openUnknownExerciseLink(std::u32string_view name) {
    if (view_.phase == WorkbenchPhase::Tracing || flow_ || view_.box) {
        return;
    }
    showFileMessage(unknownExerciseMessage(name), texts::linkMessageTitle);
    refreshView();
}

std::u32string Workbench::exerciseLinkProgram(std::u32string_view editorText) const {
    if (!exercise_ || !exerciseLinkCarriesProgram(editorText, exercise_->startProgram())) {
        return {};
    }
    return std::u32string(editorText);
}

} // namespace casl
