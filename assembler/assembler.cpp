#include "assembler/assembler.h"

#include "assembler/address_pass.h"
#include "assembler/assembly_state.h"
#include "assembler/data_pass.h"
#include "assembler/encoder.h"
#include "assembler/label_checks.h"
#include "assembler/listing.h"
#include "assembler/source_intake.h"

namespace casl {
namespace {

/// The lines a pass finished: all of them, unless a limit stopped it.
int finishedLines(const AssemblyState& state) {
    return state.stopped() ? state.finishedLines : maxLines;
}

} // namespace

AssemblyResult assemble(std::u32string_view editorText, ProgramTables& tables) {
    AssemblyResult result;
    if (isBlankText(editorText)) {
        result.blank = true;
        return result;
    }
    AssemblyState state{tables, {}};
    result.editorText = takeSource(editorText, state);
    // A limit stops the passes in order: the lines so far are listed, then the limit. A line
    // that a pass did not reach shows no address or code of that pass.
    ListingReach reach{0, 0, 0};
    if (!state.stopped()) {
        addressPass(state);
        reach.addressedLines = finishedLines(state);
    }
    if (!state.stopped()) {
        labelChecks(tables);
        encodePass(state);
        reach.encodedLines = finishedLines(state);
    }
    if (!state.stopped()) {
        dataPass(state);
        labelCharacterCheck(tables);
        reach.dataLines = finishedLines(state);
    }

    result.reach = reach;
    result.listingText = listingText(tables, reach);
    result.errorCount = errorCount(tables);
    result.findings = lineFindings(tables);
    if (state.stopped()) {
        result.limitMessage = state.limitMessage;
        result.listingText += state.limitMessage + U"\r\n";
        ++result.errorCount;
    }
    result.listingWindowText = listingHeader() + result.listingText;
    result.success = result.errorCount == 0 && tables.lineCounter >= 3;
    result.showListing = result.errorCount != 0 || tables.lineCounter >= 3;
    const std::string count = std::to_string(result.errorCount);
    result.resultLine = U"Assemble Error: " + std::u32string(count.begin(), count.end());
    if (result.success) {
        result.infoText = infoText(tables);
    }
    return result;
}

} // namespace casl
