// What JavaScript sees of the core. Every result is a plain JavaScript object (an embind value
// object, whose lists are JavaScript arrays), so the page never holds C++ objects but the one
// Workbench. Strings are UTF-8 on this side; the bytes of files travel as Uint8Array.
#include "web/binding/workbench.h"

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

val savedFile(const PageSaved& saved) {
    val result = val::object();
    result.set("ok", saved.ok);
    result.set("bytes", bytesOf(saved.bytes));
    result.set("message", saved.message);
    return result;
}

// Wrappers where JavaScript's values differ from the C++ parameters.
PageAssembly assembleText(Workbench& workbench, const std::string& pageText) {
    return workbench.assemble(pageText);
}

val lineTokensOf(const Workbench& workbench, const std::string& line, bool traceListing) {
    return arrayOf(workbench.lineTokens(line, traceListing));
}

PageOpened openFile(Workbench& workbench, const std::string& bytes, const std::string& name) {
    return workbench.openSource(bytes, name);
}

PageOpened readExample(const Workbench& workbench, const std::string& bytes,
                       const std::string& name) {
    return workbench.readExample(bytes, name);
}

val saveFile(const Workbench& workbench, const std::string& pageText, const std::string& name) {
    return savedFile(workbench.saveSource(pageText, name));
}

void setFormat(Workbench& workbench, const std::string& name) {
    workbench.setFileFormat(name);
}

} // namespace

EMSCRIPTEN_BINDINGS(casl_workbench) {
    using emscripten::value_object;

    value_object<PageFinding>("PageFinding")
        .field("sourceLine", &PageFinding::sourceLine)
        .field("line", &PageFinding::line)
        .field("messages", &PageFinding::messages);

    value_object<PageAssembly>("PageAssembly")
        .field("blank", &PageAssembly::blank)
        .field("editorText", &PageAssembly::editorText)
        .field("listingText", &PageAssembly::listingText)
        .field("listingWindowText", &PageAssembly::listingWindowText)
        .field("resultLine", &PageAssembly::resultLine)
        .field("success", &PageAssembly::success)
        .field("showListing", &PageAssembly::showListing)
        .field("errorCount", &PageAssembly::errorCount)
        .field("findings", &listOf<&PageAssembly::findings, PageAssembly>,
               &ignoreList<PageAssembly>)
        .field("breakpointCaption", &PageAssembly::breakpointCaption);

    value_object<PageToken>("PageToken")
        .field("from", &PageToken::from)
        .field("to", &PageToken::to)
        .field("kind", &PageToken::kind);

    value_object<PageBreakpoint>("PageBreakpoint")
        .field("line", &PageBreakpoint::line)
        .field("caption", &PageBreakpoint::caption);

    value_object<PageDisplays>("PageDisplays")
        .field("registers", &listOf<&PageDisplays::registers, PageDisplays>,
               &ignoreList<PageDisplays>)
        .field("pc", &PageDisplays::pc)
        .field("sp", &PageDisplays::sp)
        .field("fr", &PageDisplays::fr)
        .field("obj", &PageDisplays::obj)
        .field("stackArea", &PageDisplays::stackArea)
        .field("dataArea", &PageDisplays::dataArea)
        .field("listing", &PageDisplays::listing)
        .field("markedLine", &PageDisplays::markedLine);

    value_object<DisplayChanges>("DisplayChanges")
        .field("registers", &listOf<&DisplayChanges::registers, DisplayChanges>,
               &ignoreList<DisplayChanges>)
        .field("programRegister", &DisplayChanges::programRegister)
        .field("stackPointer", &DisplayChanges::stackPointer)
        .field("overflowFlag", &DisplayChanges::overflowFlag)
        .field("signFlag", &DisplayChanges::signFlag)
        .field("zeroFlag", &DisplayChanges::zeroFlag)
        .field("dataRows", &listOf<&DisplayChanges::dataRows, DisplayChanges>,
               &ignoreList<DisplayChanges>)
        .field("stackRows", &listOf<&DisplayChanges::stackRows, DisplayChanges>,
               &ignoreList<DisplayChanges>);

    value_object<PageBox>("PageBox")
        .field("kind", &PageBox::kind)
        .field("text", &PageBox::text)
        .field("title", &PageBox::title)
        .field("buttons", &PageBox::buttons)
        .field("defaultText", &PageBox::defaultText)
        .field("leftTwips", &PageBox::leftTwips)
        .field("topTwips", &PageBox::topTwips);

    value_object<PageAnswer>("PageAnswer")
        .field("button", &PageAnswer::button)
        .field("input", &PageAnswer::input)
        .field("cancelled", &PageAnswer::cancelled);

    value_object<PageTrace>("PageTrace")
        .field("state", &PageTrace::state)
        .field("ending", &PageTrace::ending)
        .field("displays", &PageTrace::displays)
        .field("changes", &PageTrace::changes)
        .field("box", &PageTrace::box)
        .field("stepsBack", &PageTrace::stepsBack)
        .field("historyDropped", &PageTrace::historyDropped)
        .field("breakpointCaption", &PageTrace::breakpointCaption);

    value_object<PageOpened>("PageOpened")
        .field("ok", &PageOpened::ok)
        .field("text", &PageOpened::text)
        .field("message", &PageOpened::message);

    emscripten::class_<Workbench>("Workbench")
        .constructor<>()
        .function("assemble", &assembleText)
        .function("lineTokens", &lineTokensOf)
        .function("clickLine", &Workbench::clickLine)
        .function("clearBreakpoint", &Workbench::clearBreakpoint)
        .function("breakpoint", &Workbench::breakpoint)
        .function("editorLineOfListingLine", &Workbench::editorLineOfListingLine)
        .function("startTrace", &Workbench::startTrace)
        .function("next", &Workbench::next)
        .function("end", &Workbench::end)
        .function("back", &Workbench::back)
        .function("answer", &Workbench::answer)
        .function("setSimpleDisplay", &Workbench::setSimpleDisplay)
        .function("trace", &Workbench::trace)
        .function("newSource", &Workbench::newSource)
        .function("openSource", &openFile)
        .function("readExample", &readExample)
        .function("saveSource", &saveFile)
        .function("fileFormat", &Workbench::fileFormat)
        .function("setFileFormat", &setFormat);
}

} // namespace casl::web
