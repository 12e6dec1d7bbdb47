// A program opened from a link: the same course as an example takes, with the link's own
// messages when it carries no program.

#include "workbench/workbench.h"
#include "workbench/workbench_texts.h"

namespace casl {

void Workbench::openLink(std::u32string_view editorText,
                         const std::variant<std::string, LinkProblem>& linked) {
    if (view_.phase == WorkbenchPhase::Tracing || flow_ || view_.box) {
        return;
    }
    // Read before anything is asked: a link without a program leaves the program alone.
    std::variant<std::u32string, LinkProblem> program =
        std::holds_alternative<LinkProblem>(linked)
            ? std::variant<std::u32string, LinkProblem>(std::get<LinkProblem>(linked))
            : linkedProgramText(std::get<std::string>(linked));
    if (const auto* problem = std::get_if<LinkProblem>(&program)) {
        showFileMessage(linkProblemMessage(*problem), texts::linkMessageTitle);
        refreshView();
        return;
    }
    FileFlow flow;
    flow.failureTitle = texts::applicationTitle;
    flow.command = FileFlow::Command::Example;
    flow.text = editorText;
    flow.example = std::move(std::get<std::u32string>(program));
    startFlow(std::move(flow));
}

} // namespace casl
