#pragma once

#include "assembler/program_tables.h"
#include "platform/qt/message_box.h"
#include "platform/qt/source_file_dialog.h"
#include "platform/recovery_file.h"
#include "platform/source_file.h"
#include "simulator/machine_state.h"

#include <QMainWindow>
#include <array>
#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QAction;
class QCheckBox;
class QLabel;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QShortcut;
class QTimer;

namespace casl {

class ChangeLabel;
class EditorMarks;
class Form2;
class FrmAbout;
struct LineFinding;
class ShownText;
class SourceEditor;
class TraceChanges;
class TraceSession;
class WindowTraceHost;
class TraceDisplays;
struct BoxAnswer;
class Zoom;

namespace platform::qt {
class HelpViewer;
}

/// The main window: the source editor, Assemble and Trace, the trace controls, the register and
/// dump displays and the menus. It owns the program tables and every window-level mark for the
/// program's whole life.
class Form1 : public QMainWindow {
    Q_OBJECT

public:
    explicit Form1(QWidget* parent = nullptr);
    ~Form1() override;

    /// The window-level marks, for the listing window and the tests.
    bool modifiedMark() const { return modified_; }
    bool traceActive() const { return traceActive_; }
    int breakpointLine() const { return breakpointLine_; }
    const QString& currentFileName() const { return currentFileName_; }
    const ProgramTables& tables() const { return *tables_; }
    /// The listing window; created on first use by Assemble.
    Form2* listingWindow() const { return form2_.get(); }
    SourceEditor* editor() const { return source_; }
    platform::qt::SourceFileDialog& fileDialog() { return fileDialog_; }
    /// The folder of the help pages, found beside the program at start-up.
    const QString& helpFolder() const { return helpFolder_; }
    void setHelpFolder(const QString& folder) { helpFolder_ = folder; }
    /// The memory the next runs keep for 戻る. Only the tests make it small, to see what the
    /// window does once the oldest steps of a run are dropped.
    void setTraceHistoryBytes(std::size_t bytes) { historyBytes_ = bytes; }

public slots:
    /// File menu and "上書き保存".
    void newFile();
    void openFile();
    void saveAs();
    void overwriteSave();
    void exitProgram();

    /// Offers the unsaved text that a workbench left behind when it did not end normally (a
    /// crash): "Yes" puts it into the editor as a new program, either answer removes the file.
    /// Called once the window is shown at start-up.
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
    /// the save question, asked as New asks it.
    void openGivenFile(const QString& name);

    /// Opens a shipped example program as a new program without a file name (New first, with
    /// its save question), so that "上書き保存" can never write into the examples.
    void openExample(const QString& path);

signals:
    /// The program has ended (Exit, or the window was closed); the application may quit.
    void programEnded();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    friend class WindowTraceHost;

    void buildMenus();
    void buildControls();
    void setInitialCaptions();

    /// The three states of the enable protocol.
    void enterEditing();
    void enterAssembled();

    void onEditorKeyDown();
    void onEditorClicked();
    void onEditorTextChanged();
    /// Replaces the editor's text as the program (not the user) does it.
    void setEditorTextByProgram(std::u32string_view text);

    void setWindowCaptionForFile();
    /// Open, from the reading of the file on.
    void openPath(const QString& name);
    void setBreakpointCaption();
    /// Writes the editor text to `path` in the current file's encoding and line-end style.
    /// On failure shows "ディスクに書き込めません" with the reason under `title` and returns false.
    bool writeEditorText(const QString& path, const QString& title);
    /// Asks "ソースプログラムを保存しますか?" and saves through the save dialog on Yes. Returns
    /// false only when the save was wanted and failed; `savedName` receives the file written.
    bool askAndSave(const QString& failureTitle, bool restoreProgramText, QString* savedName);
    /// Closes the secondary windows and removes the scratch files; the program ends.
    void endProgram();

    /// The program's own text: the editor's, or during a trace the text the run put aside.
    std::u32string programText() const;
    /// Keeps the program's text in the recovery file when it differs from the text saved last.
    void keepUnsavedText();
    /// `text` is now in a file (saved or opened): the recovery file is not needed.
    void textIsSaved(std::u32string text);

    /// The File menu with its items, whose shortcuts must not act during a run either.
    void setFileMenuEnabled(bool enabled);

    /// Trace wiring.
    void showDisplays(const TraceDisplays& displays);
    /// A box of the run was closed: the run goes on with its answer.
    void answerRunBox(const BoxAnswer& answer);
    void endTrace();
    /// Puts the program's own text back from "temp.temp", or from memory when it has vanished.
    void restoreProgramText();
    platform::qt::MessageAnswer ask(const QString& text, const QString& title,
                                    platform::qt::MessageButtons buttons);
    /// Runs one call into the trace session; closing the window waits until it returns.
    template <typename Call> void callSession(Call call);
    /// Tells a running session about a changed breakpoint line.
    void breakpointChanged();
    /// 戻る can be pressed only while the run waits and a step can be undone.
    void updateStepBack();

    Form2& ensureListingWindow();

    // The editor's gutter, colours and marks, the zoom and the examples (form1_marks.cpp).
    void buildEditorMarks();
    void buildViewMenus();
    /// Marks the lines in error of the assembled editor text.
    void showFindingsInEditor(const std::vector<LineFinding>& findings);
    /// A line of the listing window was picked: the editor's caret goes to its source line and
    /// the main window comes to the front. The breakpoint stays as it is.
    void showListingLine(int listingLine);
    /// The listing window zooms with the main window and leads back to the editor's lines.
    void watchListingWindow(Form2& listing);

    // State of the window (all of it lives as long as the window).
    std::unique_ptr<ProgramTables> tables_;
    MachineState machine_;
    QString currentFileName_;
    platform::SourceEncoding fileEncoding_ = platform::SourceEncoding::Cp932;
    platform::LineEndStyle fileLineEnds_ = platform::LineEndStyle::CrLf;
    bool modified_ = false;
    bool traceActive_ = false;
    int breakpointLine_ = 0;
    int clickedLine_ = 0;
    int programChanges_ = 0;
    bool ending_ = false;
    int sessionCalls_ = 0;
    std::size_t historyBytes_;
    QString helpFolder_;
    std::u32string infoText_;
    std::u32string savedProgramText_;
    /// The text as it stands in its file (empty for a new program), and as the recovery file
    /// holds it, when there is one.
    std::u32string savedText_;
    std::optional<std::u32string> recoveryText_;
    platform::RecoveryFile recovery_;
    QTimer* recoveryTimer_ = nullptr;
    std::unique_ptr<WindowTraceHost> host_;
    std::unique_ptr<TraceSession> session_;
    TraceChanges* traceChanges_ = nullptr;
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

    // Menus.
    QMenu* mnuFILE_ = nullptr;
    QMenu* mnuEdit_ = nullptr;
    QMenu* mnuHelp_ = nullptr;
    QAction* mnuUwagaki_ = nullptr;
    QAction* mnuKomoji_ = nullptr;
};

/// The window caption before any file was named, and the prefix of the caption after.
inline constexpr const char* mainCaption = "RuzidOV & OzerAR Orozaraz";

/// The key of 戻る, the counterpart of Enter (Next). The editor is locked during a run, so it
/// deletes nothing there; outside a run 戻る is disabled and the key edits as usual.
inline constexpr Qt::Key stepBackKey = Qt::Key_Backspace;

/// The longest time unsaved text waits after an edit before it is kept in the recovery file.
inline constexpr int recoveryDelayMilliseconds = 2000;

} // namespace casl
