#include "web/binding/workbench.h"

#include "assembler/assembler.h"
#include "platform/text_codec.h"
#include "web/binding/page_text.h"

namespace casl::web {

Workbench::Workbench() : tables_(std::make_unique<ProgramTables>()) {}

PageAssembly Workbench::assemble(std::string_view pageText) {
    const AssemblyResult result = casl::assemble(coreTextFromPage(pageText), *tables_);
    PageAssembly page;
    page.blank = result.blank;
    if (result.blank) {
        return page;
    }
    page.editorText = pageTextFromCore(result.editorText);
    page.listingWindowText = pageTextFromCore(result.listingWindowText);
    page.resultLine = platform::toUtf8(result.resultLine);
    page.success = result.success;
    page.showListing = result.showListing;
    page.errorCount = result.errorCount;
    return page;
}

} // namespace casl::web
