// What JavaScript sees of the core: embind turns std::string into JavaScript strings (UTF-8 on
// this side) and PageAssembly into a plain object.
#include "web/binding/workbench.h"

#include <emscripten/bind.h>
#include <string>

namespace casl::web {
namespace {

PageAssembly assembleText(Workbench& workbench, const std::string& pageText) {
    return workbench.assemble(pageText);
}

} // namespace

EMSCRIPTEN_BINDINGS(casl_workbench) {
    emscripten::value_object<PageAssembly>("PageAssembly")
        .field("blank", &PageAssembly::blank)
        .field("editorText", &PageAssembly::editorText)
        .field("listingWindowText", &PageAssembly::listingWindowText)
        .field("resultLine", &PageAssembly::resultLine)
        .field("success", &PageAssembly::success)
        .field("showListing", &PageAssembly::showListing)
        .field("errorCount", &PageAssembly::errorCount);

    emscripten::class_<Workbench>("Workbench").constructor<>().function("assemble", &assembleText);
}

} // namespace casl::web
