#include "web/binding/workbench.h"

#include "assembler/assembler.h"
#include "assembler/breakpoint_choice.h"
#include "assembler/line_findings.h"
#include "assembler/listing.h"
#include "platform/text_codec.h"
#include "simulator/display_texts.h"
#include "simulator/trace_displays.h"
#include "simulator/trace_session.h"
#include "web/binding/page_text.h"

namespace casl::web {

Workbench::Workbench()
    : tables_(std::make_unique<ProgramTables>()), shown_(initialDisplayTexts()) {}

Workbench::~Workbench() = default;

PageAssembly Workbench::assemble(std::string_view pageText) {
    // The tables are about to change under the run; the page never assembles during one.
    session_.reset();
    const AssemblyResult result = casl::assemble(coreTextFromPage(pageText), *tables_);
    PageAssembly page;
    page.blank = result.blank;
    if (result.blank) {
        return page;
    }
    page.editorText = pageTextFromCore(result.editorText);
    page.listingText = pageTextFromCore(result.listingText);
    page.listingWindowText = pageTextFromCore(result.listingWindowText);
    page.resultLine = platform::toUtf8(result.resultLine);
    page.success = result.success;
    page.showListing = result.showListing;
    page.errorCount = result.errorCount;
    for (const LineFinding& finding : result.findings) {
        PageFinding marked{finding.sourceLine, finding.line, {}};
        for (const std::u32string& message : finding.messages) {
            if (!marked.messages.empty()) {
                marked.messages += '\n';
            }
            marked.messages += platform::toUtf8(message);
        }
        page.findings.push_back(std::move(marked));
    }
    // Only a clean assembly can be traced: the tables of a failed one hold no program.
    infoText_ = result.success ? result.infoText : std::u32string();
    if (result.success) {
        label6Caption_ = breakpointCaption();
    }
    page.breakpointCaption = label6Caption_;
    return page;
}

std::vector<PageToken> Workbench::lineTokens(std::string_view line, bool traceListing) const {
    return pageLineTokens(line, traceListing);
}

PageBreakpoint Workbench::clickLine(int editorLine, bool traceEnabled) {
    if (traceEnabled) {
        const auto chosen = chooseBreakpointLine(editorLine, *tables_);
        if (!chosen) {
            return breakpoint();
        }
        clickedLine_ = *chosen;
        label6Caption_ = std::to_string(clickedLine_);
    }
    breakpointLine_ = clickedLine_;
    if (session_ && !session_->ended()) {
        session_->setBreakpointLine(breakpointLine_);
    }
    return breakpoint();
}

PageBreakpoint Workbench::clearBreakpoint() {
    breakpointLine_ = 0;
    label6Caption_.clear();
    if (session_ && !session_->ended()) {
        session_->setBreakpointLine(0);
    }
    return breakpoint();
}

PageBreakpoint Workbench::breakpoint() const {
    return PageBreakpoint{breakpointLine_, label6Caption_};
}

std::string Workbench::breakpointCaption() const {
    return breakpointLine_ == 0 ? std::string() : std::to_string(breakpointLine_);
}

int Workbench::editorLineOfListingLine(int listingLine, bool traceActive) const {
    const int line = programLineOfListingWindowLine(*tables_, listingLine);
    if (line == 0) {
        return 0;
    }
    return traceActive ? line : sourceLineOf(*tables_, line);
}

PageTrace Workbench::startTrace(bool simpleDisplay) {
    if (traceRunning() || infoText_.empty()) {
        return trace();
    }
    // The run start shows these before its first step.
    shown_.pc = programRegisterCaption(0);
    shown_.fr = flagsCaption(0, 0);
    lastWait_.reset();
    TraceHost& host = *this;
    session_ = std::make_unique<TraceSession>(*tables_, machine_, infoText_,
                                              TraceOptions{breakpointLine_, simpleDisplay}, host);
    session_->start();
    return afterCommand();
}

PageTrace Workbench::next() {
    if (session_ && session_->waiting()) {
        label6Caption_ = breakpointCaption();
        session_->next();
    }
    return afterCommand();
}

PageTrace Workbench::end() {
    if (session_) {
        session_->end();
    }
    return afterCommand();
}

PageTrace Workbench::back() {
    if (session_) {
        session_->back();
    }
    return afterCommand();
}

PageTrace Workbench::answer(const PageAnswer& answer) {
    if (session_) {
        session_->answer(boxAnswer(answer));
    }
    return afterCommand();
}

void Workbench::setSimpleDisplay(bool simple) {
    if (session_ && !session_->ended()) {
        session_->setSimpleDisplay(simple);
    }
}

bool Workbench::traceRunning() const {
    return session_ && !session_->ended();
}

PageTrace Workbench::trace() const {
    PageTrace page;
    page.state = session_ ? stateName(session_->state()) : "notStarted";
    page.ending = session_ ? endingName(session_->ending()) : "";
    page.displays = pageDisplays(shown_, shownMarkedLine_);
    if (lastWait_) {
        page.changes = displayChanges(*lastWait_, shown_);
    }
    if (session_) {
        if (const RunBox* box = session_->pendingBox()) {
            page.box = pageBox(*box);
        }
        page.stepsBack = static_cast<int>(session_->stepsBack());
        page.historyDropped = session_->historyDropped();
    }
    page.breakpointCaption = label6Caption_;
    return page;
}

PageTrace Workbench::afterCommand() {
    PageTrace page = trace();
    if (session_ && session_->waiting()) {
        lastWait_ = shown_;
    }
    return page;
}

void Workbench::showDisplays(const TraceDisplays& displays) {
    shown_.pc = displays.programRegister();
    shown_.obj = displays.objectCode();
    if (!displays.refreshed()) {
        return;
    }
    shown_ = displays.texts();
    shownMarkedLine_ = displays.markedLine();
}

std::optional<BoxAnswer> Workbench::boxOpened(const RunBox& box) {
    static_cast<void>(box);
    return std::nullopt;
}

void Workbench::newSource() {
    format_ = SourceFormat{};
}

PageOpened Workbench::openSource(std::string_view bytes, std::string_view name) {
    return openSourceBytes(bytes, name, format_);
}

PageOpened Workbench::readExample(std::string_view bytes, std::string_view name) const {
    SourceFormat format = format_;
    return openSourceBytes(bytes, name, format);
}

PageSaved Workbench::saveSource(std::string_view pageText, std::string_view name) const {
    return saveSourceBytes(pageText, name, format_);
}

std::string Workbench::fileFormat() const {
    return formatName(format_);
}

void Workbench::setFileFormat(std::string_view name) {
    if (const auto format = formatFromName(name)) {
        format_ = *format;
    }
}

} // namespace casl::web
