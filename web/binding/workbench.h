#pragma once

#include "assembler/program_tables.h"

#include <memory>
#include <string>
#include <string_view>

namespace casl::web {

/// What the page shows after Assemble; texts are the page's (UTF-8, LF line ends).
struct PageAssembly {
    /// The editor text was blank: nothing happened and the page changes nothing.
    bool blank = false;
    /// The editor text rewritten from the kept lines.
    std::string editorText;
    /// The text of the listing panel: the header, then the listing with its messages.
    std::string listingWindowText;
    /// "Assemble Error: N".
    std::string resultLine;
    /// Green result line and tracing offered; red and no tracing otherwise.
    bool success = false;
    /// Whether the listing panel is shown with the result line (a clean one-line program
    /// shows nothing).
    bool showListing = false;
    int errorCount = 0;
};

/// The state of the page that the core keeps, as the main window keeps it on the desktop: the
/// program tables of the last assembly, which a trace of the program will run on.
class Workbench {
public:
    Workbench();

    /// The Assemble command on the editor's text.
    PageAssembly assemble(std::string_view pageText);

private:
    std::unique_ptr<ProgramTables> tables_;
};

} // namespace casl::web
