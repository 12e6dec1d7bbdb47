#pragma once

#include "platform/qt/source_file_dialog.h"
#include "workbench/disk_services.h"
#include "workbench/workbench.h"

#include <QMainWindow>
#include <array>
#include <cstddef>
#include <memory>
#include <string>

class QAction;
class QCheckBox;
class QLabel;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QShortcut;
class QTimer;

namespace casl {

class AnnouncementLabel;
class ChangeLabel;
class EditorMarks;
class ExercisePane;
class ExplainPane;
class Form2;
class FrmAbout;
class ShownText;
class SourceEditor;
class TraceChanges;
struct BoxAnswer;
class Zoom;

namespace platform::qt {
class HelpViewer;
}

/// The main window: the source editor, Assemble and Trace, the trace controls, the register and
/// dump displays and the menus. It shows the working session (`Workbench`), which decides every
/// rule; the window sends it the user's commands and renders its view.
class Form1 : public QMainWindow {
    Q_OBJECT

public:
    explicit Form1(QWidget* parent = nullptr);
    ~Form1() override;

    /// The working session the window shows.
    const Workbench& workbench() const { return model_; }
    /// The window-level marks, for the listing window and the tests.
    bool modifiedMark() const { return model_.view().modified; }
    bool traceActive() const { return model_.view().phase == WorkbenchPhase::Tracing; }
    int breakpointLine() const { return model_.view().breakpointLine; }
    QString currentFileName() const;
    const ProgramTables& tables() const { return model_.tables(); }
    /// The listing window; created on first use by Assemble.
    Form2* listingWindow() const { return form2_.get(); }
    SourceEditor* editor() const { return source_; }
    /// The folder of the help pages, found beside the program at start-up.
    const QString& helpFolder() const { return helpFolder_; }
    void setHelpFolder(const QString& folder) { helpFolder_ = folder; }
    /// The memory the next runs keep for 戻る. Only the tests make it small, to see what the
    /// window does once the oldest steps of a run are dropped.
    void setTraceHistoryBytes(std::size_t bytes) { model_.setHistoryBytes(bytes); }

public slots:
    /// File menu and "上書き保存".
    void newFile();
    void openFile();
    void saveAs();
    void overwriteSave();
    void exitProgram();

    /// Offers the unsaved text that a workbench left behind when it did not end normally (a
    /// crash). Called once the window is shown at start-up.
    void offerRecovery();

    /// Edit menu and "小文字変換".
    void undoEdit();
    void copySelection();
    void cutSelection();
    void pasteClipboard();
    void selectAll();
    void lowerCaseSelection();

    /// Help menu.
    void showHelpContents();
    void showVersion();

    /// The buttons.
    void assembleProgram();
    void startTrace();
    void nextStep();
    void endStep();
    /// 戻る: undoes the last step of the waiting run.
    void stepBack();
    void clearBreakpoint();

    /// Opens the file named on the command line as Open opens the one chosen in its dialog.
    /// Text that is not saved (a program that the recovery put back) is not replaced without
    /// the save question.
    void openGivenFile(const QString& name);

    /// Opens a shipped example program as a new program without a file name (New first, with
    /// its save question), so that "上書き保存" can never write into the examples.
    void openExample(const QString& path);

    /// 演習: opens the exercise in `folder` beside the editor, with its starting program, when
    /// it has one, as a new program; 採点 checks the editor's program against its cases; a
    /// case of the results runs as a Trace with the case's answers.
    void openExercise(const QString& folder);
    void checkExercise();
    void runExerciseCase(int index);
    void closeExercise();

signals:
    /// The program has ended (Exit, or the window was closed); the application may quit.
    void programEnded();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildMenus();
    void buildControls();

    // Commands into the session, and what it shows after them (form1_render.cpp).
    /// Runs `command` on the session and shows what it shows after it.
    template <typename Command> void command(Command command);
    void render();
    void renderControls();
    void renderEditor();
    void renderDisplays();
    void renderListing();
    /// Shows the open box: a box of the run without waiting for it, a box of the file
    /// commands as the modal dialog it is, answered before this returns.
    void renderBox();
    BoxAnswer askModally(const WorkbenchBox& box);
    /// A box of the run was closed: the run goes on with its answer.
    void answerRunBox(const BoxAnswer& answer);

    void onEditorKeyDown();
    void onEditorClicked();
    void onEditorTextChanged();
    /// The editor's text, lines separated by CR LF.
    std::u32string editorText() const;
    /// Closes the secondary windows and removes the scratch files; the program ends.
    void endProgram();

    Form2& ensureListingWindow();

    // The editor's gutter, colours and marks, the zoom and the examples (form1_marks.cpp).
    void buildEditorMarks();
    void buildViewMenus();
    /// A line of the listing window was picked: the editor's caret goes to its source line and
    /// the main window comes to the front. The breakpoint stays as it is.
    void showListingLine(int listingLine);
    /// The listing window zooms with the main window and leads back to the editor's lines.
    void watchListingWindow(Form2& listing);

    // The exercise's pane and the menu 演習 (form1_exercises.cpp).
    void buildExercises();
    void renderExercise();

    // The session and what it uses of the desktop.
    DiskSourceFiles files_;
    DiskScratchFiles scratch_;
    RecoveryStore recovery_;
    Workbench model_;

    // What the window has shown of the session.
    std::uint64_t shownEditorRevision_ = 0;
    std::uint64_t shownListingRevision_ = 0;
    std::uint64_t shownDisplaysRevision_ = 0;
    int shownBreakpointMark_ = 0;
    /// Changes of the editor's text that the window itself makes (not the user's).
    int programChanges_ = 0;
    /// A box of the run is open on the screen.
    bool runBoxOpen_ = false;
    /// Inside a command or a modal box of the file commands.
    int busy_ = 0;
    bool ended_ = false;
    QString helpFolder_;
    QTimer* recoveryTimer_ = nullptr;
    TraceChanges* traceChanges_ = nullptr;
    /// Who wrote each value, what a step read, predictions and the trace table.
    ExplainPane* explainPane_ = nullptr;
    /// What the dumps and the editor show during a run, updated line by line.
    std::unique_ptr<ShownText> shownDataArea_;
    std::unique_ptr<ShownText> shownStackArea_;
    std::unique_ptr<ShownText> shownListing_;
    platform::qt::SourceFileDialog fileDialog_;
    std::unique_ptr<Form2> form2_;
    std::unique_ptr<FrmAbout> about_;
    std::unique_ptr<platform::qt::HelpViewer> help_;
    EditorMarks* marks_ = nullptr;
    Zoom* zoom_ = nullptr;
    ExercisePane* exercisePane_ = nullptr;

    // Controls.
    SourceEditor* source_ = nullptr;
    QPushButton* assemble_ = nullptr;
    QPushButton* trace_ = nullptr;
    QPushButton* command1_ = nullptr;
    QPushButton* command2_ = nullptr;
    QPushButton* command4_ = nullptr;
    QPushButton* stepBack_ = nullptr;
    QShortcut* stepBackShortcut_ = nullptr;
    QCheckBox* check1_ = nullptr;
    QPlainTextEdit* text1_ = nullptr;
    QPlainTextEdit* text2_ = nullptr;
    std::array<QLabel*, 3> label4_{};
    std::array<QLabel*, 8> registerNames_{};
    std::array<ChangeLabel*, 8> registerValues_{};
    ChangeLabel* pc_ = nullptr;
    ChangeLabel* sp_ = nullptr;
    ChangeLabel* fr_ = nullptr;
    QLabel* obj_ = nullptr;
    QLabel* label2_ = nullptr;
    QLabel* label5_ = nullptr;
    QLabel* label6_ = nullptr;
    QLabel* label7_ = nullptr;
    AnnouncementLabel* announcement_ = nullptr;

    // Menus.
    QMenu* mnuFILE_ = nullptr;
    QMenu* mnuEdit_ = nullptr;
    QMenu* mnuHelp_ = nullptr;
    QAction* mnuUwagaki_ = nullptr;
    QAction* mnuKomoji_ = nullptr;
};

template <typename Command> void Form1::command(Command command) {
    if (ended_) {
        return;
    }
    ++busy_;
    command();
    --busy_;
    render();
}

/// The key of 戻る, the counterpart of Enter (Next). The editor is locked during a run, so it
/// deletes nothing there; outside a run the key edits as usual.
inline constexpr Qt::Key stepBackKey = Qt::Key_Backspace;

/// The longest time unsaved text waits after an edit before it is kept in the recovery file.
inline constexpr int recoveryDelayMilliseconds = 2000;

} // namespace casl
