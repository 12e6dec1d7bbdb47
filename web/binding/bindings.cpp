// What JavaScript sees of the core. Every result is a plain JavaScript object (an embind value
// object, whose lists are JavaScript arrays), so the page never holds C++ objects but the one
// workbench. Strings are UTF-8 on this side; the bytes of files travel as Uint8Array.
#include "web/binding/page_workbench.h"

#include <emscripten/bind.h>
#include <emscripten/val.h>
#include <string>

namespace casl::web {
namespace {

using emscripten::val;

template <typename Item> val arrayOf(const Item* items, std::size_t count) {
    val array = val::array();
    for (std::size_t i = 0; i < count; ++i) {
        array.call<void>("push", val(items[i]));
    }
    return array;
}

template <typename Container> val arrayOf(const Container& items) {
    return arrayOf(items.data(), items.size());
}

/// A list member of a value object, read as a JavaScript array.
template <auto member, typename Struct> val listOf(const Struct& value) {
    return arrayOf(value.*member);
}

/// Lists only ever travel to the page.
template <typename Struct> void ignoreList(Struct&, val) {}

val bytesOf(const std::string& bytes) {
    const val view(emscripten::typed_memory_view(
        bytes.size(), reinterpret_cast<const unsigned char*>(bytes.data())));
    // A copy: the view points into the module's memory, which the next call may move.
    return val::global("Uint8Array").new_(view);
}

// Wrappers where JavaScript's values differ from the C++ parameters.
val lineTokensOf(const PageWorkbench& workbench, const std::string& line, bool traceListing) {
    return arrayOf(workbench.lineTokens(line, traceListing));
}

val takeDownloadOf(PageWorkbench& workbench) {
    const PageDownload download = workbench.takeDownload();
    if (!download.ok) {
        return val::null();
    }
    val result = val::object();
    result.set("name", download.name);
    result.set("bytes", bytesOf(download.bytes));
    return result;
}

val readLinkOf(const PageWorkbench& workbench, const std::string& fragment) {
    const PageLinkData link = workbench.readLink(fragment);
    val result = val::object();
    result.set("problem", link.problem);
    result.set("kind", link.kind);
    result.set("exercise", link.exercise);
    result.set("compressed", bytesOf(link.compressed));
    return result;
}

void openLinkOf(PageWorkbench& workbench, const std::string& pageText, const std::string& bytes) {
    workbench.openLink(pageText, bytes);
}

void openExerciseLinkOf(PageWorkbench& workbench, const std::string& pageText,
                        const std::string& name, const std::string& tests,
                        const std::string& startProgram, bool carriesProgram,
                        const std::string& problem, const std::string& bytes) {
    workbench.openExerciseLink(pageText, name, tests, startProgram, carriesProgram, problem, bytes);
}

void offerFileOf(PageWorkbench& workbench, const std::string& name, const std::string& bytes) {
    workbench.offerFile(name, bytes);
}

} // namespace

EMSCRIPTEN_BINDINGS(casl_workbench) {
    using emscripten::value_object;

    value_object<PageFinding>("PageFinding")
        .field("sourceLine", &PageFinding::sourceLine)
        .field("line", &PageFinding::line)
        .field("messages", &PageFinding::messages);

    value_object<PageToken>("PageToken")
        .field("from", &PageToken::from)
        .field("to", &PageToken::to)
        .field("kind", &PageToken::kind);

    value_object<PageDisplays>("PageDisplays")
        .field("registers", &listOf<&PageDisplays::registers, PageDisplays>,
               &ignoreList<PageDisplays>)
        .field("pc", &PageDisplays::pc)
        .field("sp", &PageDisplays::sp)
        .field("fr", &PageDisplays::fr)
        .field("obj", &PageDisplays::obj)
        .field("stackArea", &PageDisplays::stackArea)
        .field("dataArea", &PageDisplays::dataArea);

    value_object<CaptionSpan>("CaptionSpan")
        .field("from", &CaptionSpan::from)
        .field("length", &CaptionSpan::length);

    value_object<DisplayChanges>("DisplayChanges")
        .field("registers", &listOf<&DisplayChanges::registers, DisplayChanges>,
               &ignoreList<DisplayChanges>)
        .field("programRegister", &DisplayChanges::programRegister)
        .field("stackPointer", &DisplayChanges::stackPointer)
        .field("flagSpans", &listOf<&DisplayChanges::flagSpans, DisplayChanges>,
               &ignoreList<DisplayChanges>)
        .field("dataRows", &listOf<&DisplayChanges::dataRows, DisplayChanges>,
               &ignoreList<DisplayChanges>)
        .field("stackRows", &listOf<&DisplayChanges::stackRows, DisplayChanges>,
               &ignoreList<DisplayChanges>);

    value_object<PageBox>("PageBox")
        .field("kind", &PageBox::kind)
        .field("purpose", &PageBox::purpose)
        .field("text", &PageBox::text)
        .field("title", &PageBox::title)
        .field("buttons", &PageBox::buttons)
        .field("defaultText", &PageBox::defaultText)
        .field("defaultButton", &PageBox::defaultButton)
        .field("leftTwips", &PageBox::leftTwips)
        .field("topTwips", &PageBox::topTwips);

    value_object<PageAnswer>("PageAnswer")
        .field("button", &PageAnswer::button)
        .field("input", &PageAnswer::input)
        .field("cancelled", &PageAnswer::cancelled);

    value_object<PageEditor>("PageEditor")
        .field("revision", &PageEditor::revision)
        .field("text", &PageEditor::text)
        .field("locked", &PageEditor::locked)
        .field("findings", &listOf<&PageEditor::findings, PageEditor>, &ignoreList<PageEditor>)
        .field("executedLine", &PageEditor::executedLine);

    value_object<PageListing>("PageListing")
        .field("revision", &PageListing::revision)
        .field("text", &PageListing::text)
        .field("resultLine", &PageListing::resultLine)
        .field("success", &PageListing::success)
        .field("shown", &PageListing::shown);

    value_object<PageStatementSpan>("PageStatementSpan")
        .field("text", &PageStatementSpan::text)
        .field("strong", &PageStatementSpan::strong)
        .field("emphasis", &PageStatementSpan::emphasis)
        .field("code", &PageStatementSpan::code);

    value_object<PageStatementBlock>("PageStatementBlock")
        .field("kind", &PageStatementBlock::kind)
        .field("level", &PageStatementBlock::level)
        .field("spans", &listOf<&PageStatementBlock::spans, PageStatementBlock>,
               &ignoreList<PageStatementBlock>);

    value_object<PageExerciseCase>("PageExerciseCase")
        .field("name", &PageExerciseCase::name)
        .field("verdict", &PageExerciseCase::verdict)
        .field("passed", &PageExerciseCase::passed)
        .field("hidden", &PageExerciseCase::hidden)
        .field("details", &listOf<&PageExerciseCase::details, PageExerciseCase>,
               &ignoreList<PageExerciseCase>)
        .field("index", &PageExerciseCase::index)
        .field("runnable", &PageExerciseCase::runnable);

    value_object<PageCaseRun>("PageCaseRun")
        .field("shown", &PageCaseRun::shown)
        .field("heading", &PageCaseRun::heading)
        .field("given", &listOf<&PageCaseRun::given, PageCaseRun>, &ignoreList<PageCaseRun>)
        .field("ended", &PageCaseRun::ended)
        .field("passed", &PageCaseRun::passed)
        .field("details", &listOf<&PageCaseRun::details, PageCaseRun>, &ignoreList<PageCaseRun>);

    value_object<PageExercise>("PageExercise")
        .field("open", &PageExercise::open)
        .field("revision", &PageExercise::revision)
        .field("name", &PageExercise::name)
        .field("title", &PageExercise::title)
        .field("linkCommand", &PageExercise::linkCommand)
        .field("statement", &listOf<&PageExercise::statement, PageExercise>,
               &ignoreList<PageExercise>)
        .field("checkEnabled", &PageExercise::checkEnabled)
        .field("checked", &PageExercise::checked)
        .field("allPassed", &PageExercise::allPassed)
        .field("summary", &PageExercise::summary)
        .field("cases", &listOf<&PageExercise::cases, PageExercise>, &ignoreList<PageExercise>)
        .field("run", &PageExercise::run);

    value_object<PageView>("PageView")
        .field("phase", &PageView::phase)
        .field("windowCaption", &PageView::windowCaption)
        .field("fileName", &PageView::fileName)
        .field("modified", &PageView::modified)
        .field("assembleEnabled", &PageView::assembleEnabled)
        .field("traceEnabled", &PageView::traceEnabled)
        .field("traceDisabledReason", &PageView::traceDisabledReason)
        .field("runButtonsShown", &PageView::runButtonsShown)
        .field("nextEnabled", &PageView::nextEnabled)
        .field("endEnabled", &PageView::endEnabled)
        .field("stepBackEnabled", &PageView::stepBackEnabled)
        .field("stepBackTip", &PageView::stepBackTip)
        .field("clearEnabled", &PageView::clearEnabled)
        .field("fileMenuEnabled", &PageView::fileMenuEnabled)
        .field("overwriteSaveEnabled", &PageView::overwriteSaveEnabled)
        .field("dumpsShown", &PageView::dumpsShown)
        .field("breakpointShown", &PageView::breakpointShown)
        .field("breakpointCaption", &PageView::breakpointCaption)
        .field("breakpointLine", &PageView::breakpointLine)
        .field("breakpointMark", &PageView::breakpointMark)
        .field("editor", &PageView::editor)
        .field("listing", &PageView::listing)
        .field("displaysRevision", &PageView::displaysRevision)
        .field("displays", &PageView::displays)
        .field("changes", &PageView::changes)
        .field("announcement", &PageView::announcement)
        .field("box", &PageView::box);

    emscripten::class_<PageWorkbench>("Workbench")
        .constructor<>()
        .function("view", &PageWorkbench::view)
        .function("editorKeyDown", &PageWorkbench::editorKeyDown)
        .function("editorTextChanged", &PageWorkbench::editorTextChanged)
        .function("clickLine", &PageWorkbench::clickLine)
        .function("clearBreakpoint", &PageWorkbench::clearBreakpoint)
        .function("editorLineOfListingLine", &PageWorkbench::editorLineOfListingLine)
        .function("lineTokens", &lineTokensOf)
        .function("keyCommand", &PageWorkbench::keyCommand)
        .function("editorKeyCommand", &PageWorkbench::editorKeyCommand)
        .function("exampleCaption", &PageWorkbench::exampleCaption)
        .function("upperCased", &PageWorkbench::upperCased)
        .function("assemble", &PageWorkbench::assemble)
        .function("startTrace", &PageWorkbench::startTrace)
        .function("next", &PageWorkbench::next)
        .function("end", &PageWorkbench::end)
        .function("stepBack", &PageWorkbench::stepBack)
        .function("setSimpleDisplay", &PageWorkbench::setSimpleDisplay)
        .function("explanation", &PageWorkbench::explanation)
        .function("stepBackToStep", &PageWorkbench::stepBackToStep)
        .function("setPrediction", &PageWorkbench::setPrediction)
        .function("traceTable", &PageWorkbench::traceTable)
        .function("answer", &PageWorkbench::answer)
        .function("newFile", &PageWorkbench::newFile)
        .function("openFile", &PageWorkbench::openFile)
        .function("openExample", &PageWorkbench::openExample)
        .function("saveAs", &PageWorkbench::saveAs)
        .function("overwriteSave", &PageWorkbench::overwriteSave)
        .function("programLinkFragment", &PageWorkbench::programLinkFragment)
        .function("readLink", &readLinkOf)
        .function("maxLinkedProgramBytes", &PageWorkbench::maxLinkedProgramBytes)
        .function("openLink", &openLinkOf)
        .function("openUnreadableLink", &PageWorkbench::openUnreadableLink)
        .function("exerciseLinkProgram", &PageWorkbench::exerciseLinkProgram)
        .function("exerciseLinkFragment", &PageWorkbench::exerciseLinkFragment)
        .function("openExerciseLink", &openExerciseLinkOf)
        .function("openUnknownExerciseLink", &PageWorkbench::openUnknownExerciseLink)
        .function("offerFile", &offerFileOf)
        .function("takeDownload", &takeDownloadOf)
        .function("fileFormat", &PageWorkbench::fileFormat)
        .function("restoreFile", &PageWorkbench::restoreFile)
        .function("exercise", &PageWorkbench::exercise)
        .function("exerciseTitle", &PageWorkbench::exerciseTitle)
        .function("openExercise", &PageWorkbench::openExercise)
        .function("checkExercise", &PageWorkbench::checkExercise)
        .function("startCaseRun", &PageWorkbench::startCaseRun)
        .function("closeExercise", &PageWorkbench::closeExercise);
}

} // namespace casl::web
