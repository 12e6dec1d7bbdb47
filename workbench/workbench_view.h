#pragma once

#include "assembler/line_findings.h"
#include "simulator/display_changes.h"
#include "simulator/display_texts.h"
#include "workbench/exercise_view.h"
#include "workbench/run_explanation.h"
#include "workbench/workbench_box.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace casl {

/// The three states between which editing, assembling and tracing move.
enum class WorkbenchPhase {
    Editing,   ///< Trace is disabled: nothing assembled, a failed assembly, or the text changed.
    Assembled, ///< A clean assembly: Trace and the breakpoint are offered.
    Tracing,   ///< A run shows the program in the locked editor.
};

/// The last Assemble as the listing window shows it.
struct ListingView {
    /// Counts the assemblies; a front end brings the listing window forward when it grows and
    /// `shown` is set.
    std::uint64_t revision = 0;
    /// The header, then the listing with its messages.
    std::u32string text;
    /// "Assemble Error: N", shown only with `shown`.
    std::u32string resultLine;
    /// Green result line (the program can be traced), else red.
    bool success = false;
    /// Whether this assembly showed the listing window (a clean one-line program shows none).
    bool shown = false;
};

/// The text the session put into the editor (as a program, not as the user, changes it).
struct EditorView {
    /// Grows with every text the session puts into the editor; a front end replaces its text
    /// when it differs from the one it took last.
    std::uint64_t revision = 0;
    /// CR LF between lines.
    std::u32string text;
    /// The editor takes no typing (a run shows the listing in it).
    bool locked = false;
    /// The lines in error of the text, as the assembly found them; a front end marks them
    /// until the text changes.
    std::vector<LineFinding> findings;
    /// The line of the listing that the run marks (0 = none).
    int executedLine = 0;
};

/// Everything the window and the page show of a working session; they render it and decide
/// nothing themselves.
struct WorkbenchView {
    WorkbenchPhase phase = WorkbenchPhase::Editing;
    std::u32string windowCaption;
    std::u32string fileName;
    bool modified = false;
    /// The name the file dialogs start at: the file last read or written through them.
    std::u32string keptFileName;

    bool assembleEnabled = true;
    bool traceEnabled = false;
    /// Why Trace is disabled outside a run ("" when it is enabled or a run goes on).
    std::u32string traceDisabledReason;
    /// Next, End and 戻る are shown during a run.
    bool runButtonsShown = false;
    bool nextEnabled = false;
    bool endEnabled = false;
    bool stepBackEnabled = false;
    /// The tooltip of 戻る: what it does, or why it cannot go further back.
    std::u32string stepBackTip;
    /// クリア.
    bool clearEnabled = false;
    /// The File menu, 上書き保存 and the examples.
    bool fileMenuEnabled = true;
    bool overwriteSaveEnabled = false;
    /// The dumps and their captions, shown from the first run on.
    bool dumpsShown = false;

    /// "ブレークポイントを", the line and "行に設定します" are shown.
    bool breakpointShown = false;
    /// The caption of the line (`Label6`): the chosen line, "" for none.
    std::u32string breakpointCaption;
    /// The breakpoint line (0 = none).
    int breakpointLine = 0;
    /// The line whose breakpoint mark is drawn: the breakpoint, where a run can stop at it.
    int breakpointMark = 0;

    EditorView editor;
    ListingView listing;

    /// Grows whenever the displays or their changes are shown anew (a step, a wait, a run's
    /// start or end, an assembly).
    std::uint64_t displaysRevision = 0;
    /// The texts of the register, PR, SP, flag and object-code displays and of both dumps.
    DisplayTexts displays;
    /// What the last step changed, against the displays of the wait before.
    DisplayChanges changes;
    /// What a screen reader says as the displays are shown anew during a run: the line a wait
    /// stands at and what the step changed, or that the run ended ("" when there is nothing to
    /// say).
    std::u32string announcement;

    /// The open exercise, its results and the run of a case.
    ExerciseView exercise;
    /// Who wrote each value shown, what the last step read, and the predictions (during and
    /// after a run).
    RunExplanation explanation;

    /// The box the session waits on; none while nothing is asked.
    std::optional<WorkbenchBox> box;
    /// Exit or closing has run its course: the program ends.
    bool ended = false;
};

} // namespace casl
