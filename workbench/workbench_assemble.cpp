// The Assemble command of the working session.

#include "assembler/assembler.h"
#include "workbench/workbench.h"
#include "workbench/workbench_texts.h"

namespace casl {

void Workbench::assemble(std::u32string_view editorText) {
    assembleText(editorText, false);
}

void Workbench::assembleText(std::u32string_view editorText, bool listingOnErrors) {
    if (view_.phase == WorkbenchPhase::Tracing) {
        return;
    }
    // The tables are about to change under the run that showed the last program.
    session_.reset();
    const AssemblyResult result = casl::assemble(editorText, *tables_);
    if (result.blank) {
        return;
    }
    putEditorText(result.editorText);
    view_.editor.findings = result.findings;
    // The data dump's box is the assembler's listing buffer.
    view_.displays.dataArea = result.listingText;

    bool success = result.success;
    if (success && services_.scratch) {
        // Without the info file the trace could not show the program, so none is offered.
        if (const auto failure = services_.scratch->writeInfoText(result.infoText)) {
            success = false;
            showFileMessage(std::u32string(texts::writeFailure) + U"\r\n\r\n" + *failure,
                            texts::applicationTitle);
        }
    }
    ListingView& listing = view_.listing;
    ++listing.revision;
    listing.text = result.listingWindowText;
    listing.success = success;
    listing.shown = result.showListing && !(listingOnErrors && success);
    if (result.showListing) {
        listing.resultLine = result.resultLine;
        view_.displays.dataArea.clear();
        view_.displays.stackArea.clear();
    }
    // Only a clean assembly can be traced: the tables of a failed one hold no program.
    infoText_ = success ? result.infoText : std::u32string();
    if (success) {
        enterAssembled();
    } else {
        enterEditing();
        traceReason_ = texts::traceAssemblyFailed;
    }
    // What earlier runs changed belongs to the program they ran.
    forgetRun();
    refreshView();
}

} // namespace casl
