#include "assembler/assembler.h"

#include "assembler/address_pass.h"
#include "assembler/assembly_state.h"
#include "assembler/data_pass.h"
#include "assembler/encoder.h"
#include "assembler/label_checks.h"
#include "assembler/listing.h"
#include "assembler/source_intake.h"

namespace casl {

AssemblyResult assemble(std::u32string_view editorText, ProgramTables& tables) {
    AssemblyResult result;
    if (isBlankText(editorText)) {
        result.blank = true;
        return result;
    }
    AssemblyState state{tables, {}};
    result.editorText = takeSource(editorText, state);
    // A limit stops the passes in order: the lines so far are listed, then the limit.
    if (!state.stopped()) {
        addressPass(state);
    }
    if (!state.stopped()) {
        labelChecks(tables);
        encodePass(state);
    }
    if (!state.stopped()) {
        dataPass(state);
        labelCharacterCheck(tables);
    }

    result.listingText = listingText(tables);
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
