// Tracing in the window: the run start, the displays of each step, Next/End and the run's end.

#include "platform/qt/qt_text.h"
#include "platform/temp_folder.h"
#include "platform/text_file.h"
#include "shell/change_label.h"
#include "shell/editor_marks.h"
#include "shell/form1.h"
#include "shell/shown_text.h"
#include "shell/source_editor.h"
#include "shell/trace_changes.h"
#include "shell/trace_wiring.h"
#include "simulator/display_texts.h"
#include "simulator/trace_session.h"

#include <QAction>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>
#include <QTextBlock>
#include <filesystem>
#include <variant>

namespace casl {

namespace {

constexpr std::string_view programTextFile = "temp.temp";

/// Writes the program's own text to "temp.temp" as the run start does. A failure is harmless:
/// the run's end then takes the copy kept in memory.
void saveProgramText(std::u32string_view text) {
    auto path = platform::temporaryFilePath(programTextFile);
    if (const auto* file = std::get_if<std::filesystem::path>(&path)) {
        static_cast<void>(platform::writeTextFile(*file, std::u32string(text) + U"\r\n"));
    }
}

} // namespace

template <typename Call> void Form1::callSession(Call call) {
    ++sessionCalls_;
    call();
    --sessionCalls_;
    updateStepBack();
}

void Form1::setFileMenuEnabled(bool enabled) {
    mnuFILE_->menuAction()->setEnabled(enabled);
    for (QAction* item : mnuFILE_->actions()) {
        item->setEnabled(enabled);
    }
}

void Form1::startTrace() {
    if (traceActive_ || !trace_->isEnabled() || sessionCalls_ > 0) {
        return;
    }
    // The run start shows these before its first step.
    pc_->setText(platform::qt::toQString(programRegisterCaption(0)));
    fr_->setText(platform::qt::toQString(flagsCaption(0, 0)));
    setFileMenuEnabled(false);
    mnuUwagaki_->setEnabled(false);
    traceActive_ = true;
    assemble_->setEnabled(false);
    trace_->setEnabled(false);
    command1_->setEnabled(true);
    command2_->setEnabled(true);
    command1_->show();
    command2_->show();
    stepBack_->show();
    command1_->setDefault(true);
    command1_->setFocus();
    source_->setReadOnly(true);
    // The listing changes line by line at every step; nothing of it is to be undone.
    source_->setUndoRedoEnabled(false);
    text1_->setEnabled(true);
    text2_->setEnabled(true);
    text1_->show();
    text2_->show();
    label4_[0]->show();
    label4_[1]->show();
    savedProgramText_ = source_->editorText();
    saveProgramText(savedProgramText_);
    traceChanges_->clear();

    session_ = std::make_unique<TraceSession>(
        *tables_, machine_, infoText_,
        TraceOptions{breakpointLine_, check1_->isChecked(), historyBytes_}, *host_);
    callSession([this] { session_->start(); });
}

void Form1::nextStep() {
    if (!session_ || !session_->waiting() || sessionCalls_ > 0) {
        return;
    }
    setBreakpointCaption();
    callSession([this] { session_->next(); });
}

void Form1::endStep() {
    if (!session_ || !session_->waiting() || sessionCalls_ > 0) {
        return;
    }
    callSession([this] { session_->end(); });
}

void Form1::stepBack() {
    if (!session_ || !session_->waiting() || sessionCalls_ > 0) {
        return;
    }
    callSession([this] { session_->back(); });
}

void Form1::updateStepBack() {
    const bool possible = session_ && session_->waiting() && session_->stepsBack() > 0;
    // A disabled button hands its focus on to the next one, which Enter would then press;
    // Next is the button Enter presses during a run.
    const bool focused = stepBack_->hasFocus();
    stepBack_->setEnabled(possible);
    stepBackShortcut_->setEnabled(possible);
    if (focused && !possible && command1_->isEnabled() && command1_->isVisible()) {
        command1_->setFocus();
    }
    const bool dropped = session_ && session_->waiting() && session_->historyDropped() && !possible;
    stepBack_->setToolTip(
        dropped ? QStringLiteral("記録できるステップ数の上限を超えたため、これより前には戻れません")
                : QStringLiteral("直前のステップを取り消して、1ステップ前に戻ります (%1 キー)")
                      .arg(QKeySequence(stepBackKey).toString(QKeySequence::PortableText)));
}

void Form1::answerRunBox(const BoxAnswer& answer) {
    if (!session_ || !session_->asking() || sessionCalls_ > 0) {
        return;
    }
    callSession([this, &answer] { session_->answer(answer); });
}

void Form1::breakpointChanged() {
    if (session_ && !session_->ended()) {
        session_->setBreakpointLine(breakpointLine_);
    }
}

void Form1::showDisplays(const TraceDisplays& displays) {
    pc_->setText(platform::qt::toQString(displays.programRegister()));
    obj_->setText(platform::qt::toQString(displays.objectCode()));
    if (!displays.refreshed()) {
        return;
    }
    DisplayTexts texts = displays.texts();
    for (int i = 0; i < 8; ++i) {
        registerValues_[i]->setText(platform::qt::toQString(texts.registers[i]));
    }
    sp_->setText(platform::qt::toQString(texts.sp));
    fr_->setText(platform::qt::toQString(texts.fr));
    shownDataArea_->show(texts.dataArea);
    shownStackArea_->show(texts.stackArea);
    ++programChanges_;
    shownListing_->show(texts.listing);
    --programChanges_;
    marks_->setExecutedLine(displays.markedLine());
    // Keep the executed line in sight in a long program.
    if (const int marked = displays.markedLine(); marked > 0) {
        source_->keepLineInSight(marked);
    }
    traceChanges_->show(std::move(texts), session_ && session_->waiting());
}

void Form1::restoreProgramText() {
    // The file holds the text and the one CR LF that the run start added; without the file the
    // copy kept in memory stands in.
    std::u32string text = savedProgramText_;
    auto path = platform::temporaryFilePath(programTextFile);
    if (const auto* file = std::get_if<std::filesystem::path>(&path)) {
        auto read = platform::readTextFile(*file);
        if (auto* stored = std::get_if<std::u32string>(&read)) {
            if (stored->ends_with(U"\r\n")) {
                stored->resize(stored->size() - 2);
            }
            text = std::move(*stored);
        }
    }
    setEditorTextByProgram(text);
}

void Form1::endTrace() {
    command1_->hide();
    command2_->hide();
    stepBack_->hide();
    command1_->setEnabled(false);
    command2_->setEnabled(false);
    stepBack_->setEnabled(false);
    stepBackShortcut_->setEnabled(false);
    command1_->setDefault(false);
    assemble_->setEnabled(true);
    trace_->setEnabled(true);
    source_->setReadOnly(false);
    setFileMenuEnabled(true);
    // Overwrite-save needs a file to write to.
    mnuUwagaki_->setEnabled(!currentFileName_.isEmpty());
    traceActive_ = false;
    restoreProgramText();
    source_->setUndoRedoEnabled(true);
    auto path = platform::temporaryFilePath(programTextFile);
    if (const auto* file = std::get_if<std::filesystem::path>(&path)) {
        std::error_code ignored;
        std::filesystem::remove(*file, ignored);
    }
    savedProgramText_.clear();
}

bool Form1::eventFilter(QObject* watched, QEvent* event) {
    // During a run Enter presses the button that has the focus (End, クリア), as on any
    // desktop, and Next, the run's default button, wherever else the focus is.
    if (traceActive_ && event->type() == QEvent::KeyPress && command1_->isEnabled() &&
        command1_->isVisible()) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            auto* focused = qobject_cast<QPushButton*>(focusWidget());
            (focused && focused->isEnabled() ? focused : command1_)->click();
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

} // namespace casl
