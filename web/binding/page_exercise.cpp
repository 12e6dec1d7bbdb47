#include "web/binding/page_exercise.h"

#include "platform/text_codec.h"

namespace casl::web {

namespace {

std::string utf8(std::u32string_view text) {
    return platform::toUtf8(text);
}

std::vector<std::string> utf8Lines(const std::vector<std::u32string>& lines) {
    std::vector<std::string> out;
    for (const std::u32string& line : lines) {
        out.push_back(utf8(line));
    }
    return out;
}

std::string kindName(StatementBlock::Kind kind) {
    switch (kind) {
    case StatementBlock::Kind::Heading:
        return "heading";
    case StatementBlock::Kind::BulletItem:
        return "bullet";
    case StatementBlock::Kind::NumberedItem:
        return "numbered";
    case StatementBlock::Kind::Code:
        return "code";
    case StatementBlock::Kind::Paragraph:
        break;
    }
    return "paragraph";
}

} // namespace

PageExercise pageExercise(const ExerciseView& view) {
    PageExercise page;
    page.open = view.open;
    page.revision = static_cast<double>(view.revision);
    page.name = utf8(view.name);
    page.title = utf8(view.title);
    page.linkCommand = utf8(view.linkCommand);
    for (const StatementBlock& block : view.statement) {
        PageStatementBlock b{kindName(block.kind), block.level, {}};
        for (const StatementSpan& span : block.spans) {
            b.spans.push_back({utf8(span.text), span.strong, span.emphasis, span.code});
        }
        page.statement.push_back(std::move(b));
    }
    page.checkEnabled = view.checkEnabled;
    page.checked = view.checked;
    page.allPassed = view.allPassed;
    page.summary = utf8(view.summary);
    for (const ExerciseCaseView& c : view.cases) {
        page.cases.push_back({utf8(c.name), utf8(c.verdict), c.passed, c.hidden,
                              utf8Lines(c.details), static_cast<int>(c.index), c.runnable});
    }
    page.run = PageCaseRun{view.run.shown, utf8(view.run.heading), utf8Lines(view.run.given),
                           view.run.ended, view.run.passed,        utf8Lines(view.run.details)};
    return page;
}

} // namespace casl::web
