#pragma once

#include "simulator/display_changes.h"
#include "workbench/workbench_view.h"

#include <array>
#include <string>
#include <vector>

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

/// What the trace displays of the page show: the texts of the main window's labels and dump
/// boxes, in the page's text (UTF-8, LF line ends).
struct PageDisplays {
    /// The captions of `GR0`, `gr1`, … `gr7`.
    std::array<std::string, 8> registers;
    std::string pc;
    std::string sp;
    std::string fr;
    std::string obj;
    /// `Text2`, under "Stack Area".
    std::string stackArea;
    /// `Text1`, under "Data Area".
    std::string dataArea;

    friend bool operator==(const PageDisplays&, const PageDisplays&) = default;
};

/// A box the page shows as a modal dialog; `kind` is "" when none is open.
struct PageBox {
    /// "message", "input", "saveName" (a name to download the file under) or "openName" (the
    /// browser's file picker).
    std::string kind;
    /// "run" for a box of the trace run, else what the box asks ("saveQuestion", …).
    std::string purpose;
    /// The message, or the input box's prompt.
    std::string text;
    std::string title;
    /// "ok" or "yesNo".
    std::string buttons;
    /// The button of a Yes/No box that Enter presses: "yes", or "no" when the run of an
    /// exercise's case suggests the case's answer No.
    std::string defaultButton = "yes";
    /// The input box's text, or the name a file dialog starts at.
    std::string defaultText;
    /// Where an input box stands, from the top-left corner of the screen.
    int leftTwips = 0;
    int topTwips = 0;
};

/// How the page closed a box.
struct PageAnswer {
    /// "ok", "yes" or "no".
    std::string button = "ok";
    /// The text typed into the input box, or the file chosen in a file dialog.
    std::string input;
    /// The box was cancelled (its answer is no text at all).
    bool cancelled = false;
};

/// The editor as the session shows it.
struct PageEditor {
    /// Grows with every text the session puts into the editor.
    double revision = 0;
    std::string text;
    bool locked = false;
    std::vector<PageFinding> findings;
    int executedLine = 0;
};

/// The listing window as the last Assemble left it.
struct PageListing {
    double revision = 0;
    std::string text;
    std::string resultLine;
    bool success = false;
    bool shown = false;
};

/// Everything the page shows of the working session (`WorkbenchView`, in UTF-8 with LF line
/// ends).
struct PageView {
    /// "editing", "assembled" or "tracing".
    std::string phase;
    std::string windowCaption;
    std::string fileName;
    bool modified = false;
    bool assembleEnabled = false;
    bool traceEnabled = false;
    std::string traceDisabledReason;
    bool runButtonsShown = false;
    bool nextEnabled = false;
    bool endEnabled = false;
    bool stepBackEnabled = false;
    std::string stepBackTip;
    bool clearEnabled = false;
    bool fileMenuEnabled = false;
    bool overwriteSaveEnabled = false;
    bool dumpsShown = false;
    bool breakpointShown = false;
    std::string breakpointCaption;
    int breakpointLine = 0;
    int breakpointMark = 0;
    PageEditor editor;
    PageListing listing;
    double displaysRevision = 0;
    PageDisplays displays;
    DisplayChanges changes;
    /// What a screen reader says of the displays (it comes with them, as they change).
    std::string announcement;
    PageBox box;
};

PageView pageView(const WorkbenchView& view);
PageDisplays pageDisplays(const DisplayTexts& texts);
PageBox pageBox(const WorkbenchBox& box);
/// The session's answer for the page's; an unknown button counts as OK.
BoxAnswer boxAnswer(const PageAnswer& answer);

} // namespace casl::web
