#pragma once

#include "assembler/program_tables.h"
#include "simulator/machine_state.h"
#include "simulator/trace_host.h"
#include "simulator/trace_session.h"
#include "simulator/trace_table_text.h"
#include "workbench/exercise_session.h"
#include "workbench/session_services.h"
#include "workbench/shared_link.h"
#include "workbench/workbench_view.h"

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace casl {

/// A working session of the workbench: the editor's phase, the last assembly and its tables,
/// the breakpoint, the trace run with its boxes and what each step changed, the current file
/// with its modified mark and the save question. The window and the page send it their
/// commands and render `view()`; every rule of the session lives here. No command waits for
/// the user: a question opens a box (`view().box`) that the front end answers with `answer`.
///
/// Commands that read the editor take its text (CR LF between lines); during a run the
/// session keeps the program's own text itself.
class Workbench : private TraceHost {
public:
    explicit Workbench(SessionServices services);
    ~Workbench() override;

    Workbench(const Workbench&) = delete;
    Workbench& operator=(const Workbench&) = delete;

    const WorkbenchView& view() const { return view_; }
    /// The tables of the last assembly.
    const ProgramTables& tables() const { return *tables_; }
    /// The run, while there is one.
    const TraceSession* session() const { return session_.get(); }

    // The editor.
    /// A key went down in the editor.
    void editorKeyDown();
    /// The editor's text changed, by the user's hand or as the session put it there.
    void editorTextChanged(bool byUser);
    /// A click into the editor (or beside it) on the 1-based `editorLine`.
    void clickLine(int editorLine);
    /// クリア.
    void clearBreakpoint();
    /// The editor line that the 0-based line `listingLine` of the listing window belongs to;
    /// 0 for a header line.
    int editorLineOfListingLine(int listingLine) const;

    // Assemble and trace.
    void assemble(std::u32string_view editorText);
    void startTrace(std::u32string_view editorText);
    void next();
    void end();
    /// 戻る.
    void stepBack();
    /// Steps back to just after `step` (a writer's step of `view().explanation`); when that
    /// step is no longer kept, the explanation's notice says how far back the run can go.
    void stepBackToStep(std::uint32_t step);
    /// The student's prediction of value `value` (see `RunExplanation::predictions`) for the
    /// next step; "" takes it back.
    void setPrediction(int value, std::u32string_view text);
    /// The trace table of the run so far (the steps kept for 戻る) as text.
    std::u32string traceTable(TraceTableFormat format, const TraceTableColumns& columns) const;
    /// The header and the cells of the newest `maxRows` rows of the trace table, for a panel.
    std::vector<std::vector<std::u32string>> traceTableCells(const TraceTableColumns& columns,
                                                             std::size_t maxRows) const;
    /// "簡易表示"; a run uses it from its next refresh on.
    void setSimpleDisplay(bool simple);
    /// The memory the next runs keep for 戻る (tests make it small).
    void setHistoryBytes(std::size_t bytes) { historyBytes_ = bytes; }

    /// Closes the open box with `answer`; does nothing while no box is open.
    void answer(const BoxAnswer& answer);

    // The file commands.
    void newFile(std::u32string_view editorText);
    /// Open: the save question, then the open dialog; with `name`, that file without the
    /// dialog (a file named on the command line).
    void openFile(std::u32string_view editorText, std::u32string_view name = {});
    /// Opens the example program `name` as a new program without a file name.
    void openExample(std::u32string_view editorText, std::u32string_view name);
    /// Opens the program that a link carried as a new program without a file name, as an
    /// example opens; `linked` is the link's decompressed bytes, or why it gave none. A link
    /// without a program shows why and leaves the program as it is.
    void openLink(std::u32string_view editorText,
                  const std::variant<std::string, LinkProblem>& linked);
    void saveAs(std::u32string_view editorText);
    void overwriteSave(std::u32string_view editorText);
    /// 終了.
    void exit(std::u32string_view editorText);
    /// The window is being closed; `view().ended` tells whether it may close.
    void close(std::u32string_view editorText);
    /// Offers the unsaved text that an earlier session left behind.
    void offerRecovery();
    /// Keeps the program's text for after a crash when it differs from the saved text.
    void keepUnsavedText(std::u32string_view editorText);

    /// The current file's format, and setting it back with the file's name and mark (a page
    /// reloaded with the program it held).
    const SourceFormat& format() const { return format_; }
    void restoreFile(std::u32string_view fileName, const SourceFormat& format, bool modified);

    // Exercises (workbench_exercise.cpp).
    /// Opens the exercise of `files`: its statement and cases beside the editor, and its
    /// starting program, when it has one, as a new program (the save question first). One that
    /// cannot be read says why in a message and leaves everything as it was.
    void openExercise(std::u32string_view editorText, const ExerciseFiles& files);
    /// Opens the exercise of a link as the exercises menu opens it, with the program the link
    /// carried (its decompressed bytes, or why it gave none) in place of the starting program.
    /// A link whose program cannot be had shows why and opens nothing.
    void openExerciseLink(std::u32string_view editorText, const ExerciseFiles& files,
                          const std::optional<std::variant<std::string, LinkProblem>>& linked);
    /// A link to the exercise `name`, which this workbench does not have: says so and leaves
    /// everything as it was.
    void openUnknownExerciseLink(std::u32string_view name);
    /// The program that a link to the open exercise carries: `editorText`, or "" when it is
    /// blank or the exercise's starting program (or no exercise is open).
    std::u32string exerciseLinkProgram(std::u32string_view editorText) const;
    /// Closes the open exercise.
    void closeExercise();
    /// 採点: checks the program against every case of the open exercise.
    void checkExercise(std::u32string_view editorText);
    /// Assembles the program (the listing window comes forward only for errors) and starts
    /// Trace with the case `index` of the open exercise: its data set, its answers offered by
    /// the run's boxes, and the comparison with the case at the run's end.
    void startCaseRun(std::u32string_view editorText, std::size_t index);

private:
    /// A file command that waits on its boxes: which command, and what it works on.
    struct FileFlow {
        enum class Command { New, Open, Example, Exercise, SaveAs, Exit, Close, Recovery };
        Command command = Command::New;
        /// The program's text when the command started (the editor cannot change while a
        /// box is open).
        std::u32string text;
        /// The title of the message of a failed save.
        std::u32string_view failureTitle;
        /// The example, or the exercise's starting program, that replaces the program once New
        /// is done.
        std::u32string example;
        /// The file Open opens without its dialog.
        std::u32string name;
        /// The text an earlier session left behind.
        UnsavedTextStore::Left left;
    };

    // TraceHost: the displays are mirrored in the view; boxes wait for `answer`.
    void showDisplays(const TraceDisplays& displays) override;
    std::optional<BoxAnswer> boxOpened(const RunBox& box) override;
    void traceEnded() override;

    /// The program's own text: the editor's, or during a run the text the run put aside.
    std::u32string programText(std::u32string_view editorText) const;
    void putEditorText(std::u32string text);
    void enterEditing();
    void enterAssembled();
    void resetBreakpoint();
    /// The caption shows the breakpoint line (after a clean assembly and at Next).
    void showBreakpointCaption();
    /// A new program replaced the old one: the marks of the old one's runs go.
    void forgetRun();
    /// After every command: the enable rules, captions and changes of the view.
    void refreshView();
    void refreshRunView();
    /// Assembles `editorText`; `listingOnErrors`: the listing window comes forward only when
    /// the assembly failed.
    void assembleText(std::u32string_view editorText, bool listingOnErrors);
    /// The exercise's part of the view, and the case run's part of the run.
    void refreshExerciseView();
    void refreshCaseRun();
    /// The program in the editor was edited or replaced.
    void programChanged();
    /// The explanation of the run where it stands; marks the predictions once the step they
    /// were made for is done.
    void refreshExplanation();

    // The file commands' steps.
    void startFlow(FileFlow flow);
    void askToSave();
    void answerFlow(const BoxAnswer& answer);
    void savedOrDeclined();
    void saveFlowTo(std::u32string_view name);
    bool writeTo(std::u32string_view name, std::u32string_view text, std::u32string_view title);
    void finishNew();
    void askOpenName();
    void openNamed(std::u32string_view name);
    void finishExample();
    void endProgram();
    void textIsSaved(std::u32string text);
    void showFileMessage(std::u32string text, std::u32string_view title);

    SessionServices services_;
    std::unique_ptr<ProgramTables> tables_;
    MachineState machine_;
    std::u32string infoText_;
    std::unique_ptr<TraceSession> session_;
    std::size_t historyBytes_ = TraceOptions::defaultHistoryBytes;
    bool simpleDisplay_ = false;

    WorkbenchView view_;
    /// Why Trace is disabled while editing: nothing assembled, a failed assembly, an edit.
    std::u32string traceReason_;
    int clickedLine_ = 0;
    /// The displays at the run's last wait, which a step's changes are counted against.
    std::optional<DisplayTexts> lastWait_;
    /// Next was pressed with predictions that are marked when its step is done.
    bool predictionsPending_ = false;
    /// The program's own text while a run shows the listing in the editor.
    std::u32string savedProgramText_;

    SourceFormat format_;
    /// The text as it stands in its file (empty for a new program), and as the unsaved-text
    /// store holds it, when it holds any.
    std::u32string savedText_;
    std::optional<std::u32string> keptUnsavedText_;
    std::unique_ptr<FileFlow> flow_;

    /// Opens the exercise of `files` with `program` in place of its starting program.
    void openExerciseWith(std::u32string_view editorText, const ExerciseFiles& files,
                          std::optional<std::u32string> program);

    std::unique_ptr<ExerciseSession> exercise_;
    /// The exercise whose starting program waits on the save question.
    std::unique_ptr<ExerciseSession> pendingExercise_;
    /// The case that the next run starts with.
    std::optional<std::size_t> nextRunCase_;
    /// The line the next run starts on: a case that calls a subroutine starts on its line.
    int nextRunStartLine_ = 1;
};

} // namespace casl
