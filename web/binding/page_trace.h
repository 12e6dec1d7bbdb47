#pragma once

#include "simulator/display_changes.h"
#include "simulator/display_texts.h"
#include "simulator/trace_host.h"
#include "simulator/trace_session.h"

#include <array>
#include <string>
#include <vector>

namespace casl::web {

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
    /// The editor's text during the run: the program with the executed line marked.
    std::string listing;
    /// The marked line of `listing` (0 = none).
    int markedLine = 0;

    friend bool operator==(const PageDisplays&, const PageDisplays&) = default;
};

/// A box of the run that the page shows as a modal dialog; `kind` is "" when none is open.
struct PageBox {
    /// "message" or "input".
    std::string kind;
    /// The message, or the input box's prompt.
    std::string text;
    std::string title;
    /// "ok" or "yesNo" (the first button is the default).
    std::string buttons;
    std::string defaultText;
    /// Where an input box stands, from the top-left corner of the screen.
    int leftTwips = 0;
    int topTwips = 0;
};

/// How the page closed a box of the run.
struct PageAnswer {
    /// "ok", "yes" or "no".
    std::string button = "ok";
    /// The text typed into the input box.
    std::string input;
    /// The input box was cancelled (its answer is no text at all).
    bool cancelled = false;
};

/// Where the run stands after a command of the page, and everything the page shows of it.
struct PageTrace {
    /// "waiting" (Next, End and 戻る act), "asking" (`box` is open) or "ended".
    std::string state;
    /// How an ended run ended: "endButton", "stepQuestion", "programEnded" or "message".
    std::string ending;
    PageDisplays displays;
    DisplayChanges changes;
    PageBox box;
    /// How many steps 戻る can undo now.
    int stepsBack = 0;
    /// Whether the oldest steps were dropped to keep the run's history within its bound.
    bool historyDropped = false;
    /// The caption of `Label6`: the breakpoint line, "" for none.
    std::string breakpointCaption;
};

/// The page's texts of the displays.
PageDisplays pageDisplays(const DisplayTexts& texts, int markedLine);
PageBox pageBox(const RunBox& box);
/// The session's answer for the page's; an unknown button counts as OK.
BoxAnswer boxAnswer(const PageAnswer& answer);
std::string stateName(TraceState state);
std::string endingName(TraceEnding ending);

} // namespace casl::web
