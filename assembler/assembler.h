#pragma once

#include "assembler/line_findings.h"
#include "assembler/listing.h"
#include "assembler/program_tables.h"

#include <string>
#include <string_view>
#include <vector>

namespace casl {

/// Everything an Assemble command produces besides the program tables.
struct AssemblyResult {
    /// The editor text was blank: nothing happened, the tables were not touched.
    bool blank = false;
    /// The editor text rewritten from the kept lines, each ending in CR LF.
    std::u32string editorText;
    /// The listing lines with their error messages (the listing buffer), CR LF line ends.
    std::u32string listingText;
    /// What the listing window shows: the header, then the listing.
    std::u32string listingWindowText;
    /// The number of lines in error.
    int errorCount = 0;
    /// The lines in error with their error numbers and messages, as the listing gives them.
    std::vector<LineFinding> findings;
    /// "Assemble Error: N".
    std::u32string resultLine;
    /// No line in error and at least two program lines: tracing may start.
    bool success = false;
    /// Whether the listing window is shown (a clean one-line program shows nothing).
    bool showListing = false;
    /// The text of "info.tmp"; empty unless the assembly succeeded.
    std::u32string infoText;
    /// Set when a table limit stopped the assembly; names the limit.
    std::u32string limitMessage;
    /// How far the passes got, for `objectCodes` and the address column of the listing.
    ListingReach reach;
};

/// Assembles the editor text into `tables` (which the caller owns, as the main window does).
/// A blank text leaves the tables untouched.
AssemblyResult assemble(std::u32string_view editorText, ProgramTables& tables);

} // namespace casl
