#pragma once

#include "assembler/program_tables.h"
#include "simulator/display_texts.h"
#include "simulator/machine_state.h"
#include "simulator/trace_host.h"
#include "web/binding/page_files.h"
#include "web/binding/page_tokens.h"
#include "web/binding/page_trace.h"

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace casl {
class TraceSession;
}

namespace casl::web {

/// A line in error after a failed assembly, as the editor marks it.
struct PageFinding {
    /// The line of the assembled editor text (1-based).
    int sourceLine = 0;
    /// The program line, as the listing counts it.
    int line = 0;
    /// The line's messages as the listing gives them, one a line (LF between them).
    std::string messages;
};

/// What the page shows after Assemble; texts are the page's (UTF-8, LF line ends).
struct PageAssembly {
    /// The editor text was blank: nothing happened and the page changes nothing.
    bool blank = false;
    /// The editor text rewritten from the kept lines.
    std::string editorText;
    /// The listing lines with their messages, as the main window's `Text1` keeps them until the
    /// listing window shows them.
    std::string listingText;
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
    /// The lines in error, in line order, for the editor's error marks.
    std::vector<PageFinding> findings;
    /// The caption of `Label6` after the assembly.
    std::string breakpointCaption;
};

/// The breakpoint as the page shows it: the line (0 = none) and the caption of `Label6`.
struct PageBreakpoint {
    int line = 0;
    std::string caption;
};

/// The state of the page that the core keeps, as the main window keeps it on the desktop: the
/// program tables of the last assembly, the machine, the program text of the last clean
/// assembly, the breakpoint, the trace run and the stored form of the current file. Every
/// command returns what the page shows after it; no call ever waits for the user.
class Workbench : private TraceHost {
public:
    Workbench();
    ~Workbench() override;

    Workbench(const Workbench&) = delete;
    Workbench& operator=(const Workbench&) = delete;

    /// The Assemble command on the editor's text.
    PageAssembly assemble(std::string_view pageText);

    /// The coloured tokens of one editor line (see `pageLineTokens`).
    std::vector<PageToken> lineTokens(std::string_view line, bool traceListing) const;

    /// A click into the editor on the 1-based `editorLine`: with `traceEnabled` (the program
    /// is assembled) the line chosen by the breakpoint rule becomes the clicked line and the
    /// caption; in every case the clicked line becomes the breakpoint line.
    PageBreakpoint clickLine(int editorLine, bool traceEnabled);
    /// クリア, and the reset of New and Open: no breakpoint, an empty caption.
    PageBreakpoint clearBreakpoint();
    PageBreakpoint breakpoint() const;

    /// The editor line that the 0-based line `listingLine` of the listing panel belongs to
    /// (during a run the editor shows the program lines themselves); 0 for a header line.
    int editorLineOfListingLine(int listingLine, bool traceActive) const;

    /// Trace: the run starts on the tables of the last clean assembly and goes until a step
    /// waits, a box opens or it ends.
    PageTrace startTrace(bool simpleDisplay);
    /// Next, End, 戻る and the answer of the open box; each does nothing when the run is not
    /// in the state it needs.
    PageTrace next();
    PageTrace end();
    PageTrace back();
    PageTrace answer(const PageAnswer& answer);
    /// "簡易表示" changed; the next refresh of the run uses it.
    void setSimpleDisplay(bool simple);
    /// Where the run stands now.
    PageTrace trace() const;
    bool traceRunning() const;

    /// New: a new program is saved as CP932 with CR LF line ends.
    void newSource();
    /// Open on the bytes of the file `name`; a refused file changes nothing.
    PageOpened openSource(std::string_view bytes, std::string_view name);
    /// The text of an example program, read without taking its format for the current file:
    /// the program it replaces may still be saved, in its own format.
    PageOpened readExample(std::string_view bytes, std::string_view name) const;
    /// The bytes that Save As and 上書き保存 download as the file `name`.
    PageSaved saveSource(std::string_view pageText, std::string_view name) const;
    /// The current file's format as a short text the page keeps between visits, and back;
    /// a text that names no format leaves it as it is.
    std::string fileFormat() const;
    void setFileFormat(std::string_view name);

private:
    // TraceHost: the window's labels are mirrored in `shown_`; boxes wait for `answer`.
    void showDisplays(const TraceDisplays& displays) override;
    std::optional<BoxAnswer> boxOpened(const RunBox& box) override;
    void traceEnded() override {}

    /// The run's state after a command; a wait becomes the one the next changes count from.
    PageTrace afterCommand();
    std::string breakpointCaption() const;

    std::unique_ptr<ProgramTables> tables_;
    MachineState machine_;
    std::u32string infoText_;
    std::unique_ptr<TraceSession> session_;
    /// What the displays show now, and what they showed at the run's last wait.
    DisplayTexts shown_;
    int shownMarkedLine_ = 0;
    std::optional<DisplayTexts> lastWait_;
    int breakpointLine_ = 0;
    int clickedLine_ = 0;
    std::string label6Caption_;
    SourceFormat format_;
};

} // namespace casl::web
