#include "web/binding/page_workbench.h"

#include "platform/text_codec.h"
#include "platform/upper_case.h"
#include "web/binding/page_text.h"
#include "workbench/example_catalogue.h"
#include "workbench/exercise_catalogue.h"
#include "workbench/key_commands.h"

#include <optional>
#include <variant>

namespace casl::web {

PageWorkbench::PageWorkbench() : model_(SessionServices{files_}) {}

PageView PageWorkbench::view() {
    PageView page = pageView(model_.view());
    // The parts that did not change since the page took them last stay empty.
    if (page.editor.revision == deliveredEditor_) {
        page.editor.text.clear();
    }
    deliveredEditor_ = page.editor.revision;
    if (page.listing.revision == deliveredListing_) {
        page.listing.text.clear();
    }
    deliveredListing_ = page.listing.revision;
    if (page.displaysRevision == deliveredDisplays_) {
        page.displays = PageDisplays{};
        page.announcement.clear();
    }
    deliveredDisplays_ = page.displaysRevision;
    return page;
}

std::vector<PageToken> PageWorkbench::lineTokens(const std::string& line, bool traceListing) const {
    return pageLineTokens(line, traceListing);
}

std::string PageWorkbench::exampleCaption(const std::string& name, const std::string& bytes) const {
    return platform::toUtf8(
        casl::exampleCaption(platform::fromUtf8(name), platform::fromUtf8(bytes)));
}

std::string PageWorkbench::upperCased(const std::string& typed) const {
    return platform::toUtf8(platform::upperCased(platform::fromUtf8(typed)));
}

std::string PageWorkbench::keyCommand(const std::string& key, bool buttonFocused) const {
    if (key != "Enter" && key != "Backspace") {
        return {};
    }
    const RunKey runKey = key == "Enter" ? RunKey::Enter : RunKey::Backspace;
    switch (casl::keyCommand(model_.view(), runKey, buttonFocused)) {
    case KeyCommand::Next:
        return "next";
    case KeyCommand::StepBack:
        return "stepBack";
    case KeyCommand::PressFocusedButton:
        return "pressFocusedButton";
    case KeyCommand::None:
        break;
    }
    return {};
}

void PageWorkbench::assemble(const std::string& pageText) {
    model_.assemble(coreTextFromPage(pageText));
}

void PageWorkbench::startTrace(const std::string& pageText) {
    model_.startTrace(coreTextFromPage(pageText));
}

void PageWorkbench::newFile(const std::string& pageText) {
    model_.newFile(coreTextFromPage(pageText));
}

void PageWorkbench::openFile(const std::string& pageText) {
    model_.openFile(coreTextFromPage(pageText));
}

void PageWorkbench::openExample(const std::string& pageText, const std::string& name) {
    model_.openExample(coreTextFromPage(pageText), platform::fromUtf8(name));
}

void PageWorkbench::saveAs(const std::string& pageText) {
    model_.saveAs(coreTextFromPage(pageText));
}

void PageWorkbench::overwriteSave(const std::string& pageText) {
    model_.overwriteSave(coreTextFromPage(pageText));
}

std::string PageWorkbench::programLinkFragment(const std::string& compressed) const {
    return linkFragment(LinkKind::Program, compressed);
}

double PageWorkbench::maxLinkedProgramBytes() const {
    return static_cast<double>(casl::maxLinkedProgramBytes());
}

void PageWorkbench::openLink(const std::string& pageText, std::string bytes) {
    model_.openLink(coreTextFromPage(pageText), std::move(bytes));
}

void PageWorkbench::openUnreadableLink(const std::string& pageText, const std::string& problem) {
    model_.openLink(coreTextFromPage(pageText), linkProblemFromName(problem));
}

std::string PageWorkbench::exerciseLinkProgram(const std::string& pageText) const {
    return pageTextFromCore(model_.exerciseLinkProgram(coreTextFromPage(pageText)));
}

std::string PageWorkbench::exerciseLinkFragment(const std::string& compressed) const {
    return casl::exerciseLinkFragment(model_.view().exercise.name, compressed);
}

void PageWorkbench::openExerciseLink(const std::string& pageText, const std::string& name,
                                     const std::string& tests, const std::string& startProgram,
                                     bool carriesProgram, const std::string& problem,
                                     std::string bytes) {
    std::optional<std::variant<std::string, LinkProblem>> linked;
    if (carriesProgram && !problem.empty()) {
        linked = linkProblemFromName(problem);
    } else if (carriesProgram) {
        linked = std::move(bytes);
    }
    model_.openExerciseLink(
        coreTextFromPage(pageText),
        ExerciseFiles{platform::fromUtf8(name), tests, U"", platform::fromUtf8(startProgram)},
        linked);
}

void PageWorkbench::openUnknownExerciseLink(const std::string& name) {
    model_.openUnknownExerciseLink(platform::fromUtf8(name));
}

void PageWorkbench::offerFile(const std::string& name, std::string bytes) {
    files_.offer(platform::fromUtf8(name), std::move(bytes));
}

std::string PageWorkbench::exerciseTitle(const std::string& name, const std::string& tests) const {
    return platform::toUtf8(casl::exerciseTitle(platform::fromUtf8(name), tests));
}

void PageWorkbench::openExercise(const std::string& pageText, const std::string& name,
                                 const std::string& tests, const std::string& startProgram) {
    model_.openExercise(
        coreTextFromPage(pageText),
        ExerciseFiles{platform::fromUtf8(name), tests, U"", platform::fromUtf8(startProgram)});
}

void PageWorkbench::checkExercise(const std::string& pageText) {
    model_.checkExercise(coreTextFromPage(pageText));
}

void PageWorkbench::startCaseRun(const std::string& pageText, int index) {
    if (index >= 0) {
        model_.startCaseRun(coreTextFromPage(pageText), static_cast<std::size_t>(index));
    }
}

void PageWorkbench::restoreFile(const std::string& fileName, const std::string& format,
                                bool modified) {
    model_.restoreFile(platform::fromUtf8(fileName),
                       formatFromName(format).value_or(SourceFormat{}), modified);
}

void PageWorkbench::setPrediction(int value, const std::string& text) {
    model_.setPrediction(value, platform::fromUtf8(text));
}

std::string PageWorkbench::traceTable(const std::string& format, const std::string& columns) const {
    const std::optional<TraceTableColumns> chosen =
        columns.empty() ? TraceTableColumns{}
                        : TraceTableColumns::parse(platform::fromUtf8(columns));
    const TraceTableColumns c = chosen.value_or(TraceTableColumns{});
    if (format == "csv" || format == "markdown") {
        return platform::toUtf8(model_.traceTable(
            format == "csv" ? TraceTableFormat::Csv : TraceTableFormat::Markdown, c));
    }
    // The panel shows the newest rows; the whole table goes out as CSV.
    constexpr std::size_t panelRows = 2000;
    std::string out = "[";
    bool firstRow = true;
    for (const std::vector<std::u32string>& row : model_.traceTableCells(c, panelRows)) {
        out += firstRow ? "[" : ",[";
        firstRow = false;
        bool firstCell = true;
        for (const std::u32string& cell : row) {
            out += firstCell ? "\"" : ",\"";
            firstCell = false;
            // Cells hold the program's own characters; quotes and backslashes are escaped.
            for (const char ch : platform::toUtf8(cell)) {
                if (ch == '"' || ch == '\\') {
                    out += '\\';
                }
                out += ch;
            }
            out += '"';
        }
        out += ']';
    }
    return out + "]";
}

} // namespace casl::web
