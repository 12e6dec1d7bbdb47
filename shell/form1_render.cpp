// The main window as a view of the working session: commands go to the session, and the window
// shows what the session's view holds after each of them.

#include "platform/qt/input_box.h"
#include "platform/qt/message_box.h"
#include "platform/qt/qt_text.h"
#include "platform/qt/twips.h"
#include "shell/announcement_label.h"
#include "shell/change_label.h"
#include "shell/editor_colours.h"
#include "shell/editor_marks.h"
#include "shell/explain_pane.h"
#include "shell/form1.h"
#include "shell/form2.h"
#include "shell/shown_text.h"
#include "shell/source_editor.h"
#include "shell/trace_changes.h"
#include "workbench/editor_text.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>
#include <map>

namespace casl {

namespace {

QString shown(std::u32string_view text) {
    return platform::qt::toQString(text);
}

/// The lines in error of the editor text with their messages, one a line.
std::map<int, QStringList> editorErrors(const std::vector<LineFinding>& findings) {
    std::map<int, QStringList> errors;
    for (const LineFinding& finding : findings) {
        if (finding.sourceLine < 1) {
            continue;
        }
        QStringList& messages = errors[finding.sourceLine];
        for (const std::u32string& message : finding.messages) {
            messages.append(shown(message));
        }
    }
    return errors;
}

} // namespace

std::u32string Form1::editorText() const {
    return source_->editorText();
}

QString Form1::currentFileName() const {
    return shown(model_.view().fileName);
}

void Form1::render() {
    renderEditor();
    renderControls();
    renderDisplays();
    explainPane_->render();
    renderListing();
    renderExercise();
    renderBox();
    if (model_.view().ended && !ended_) {
        endProgram();
    }
}

void Form1::renderControls() {
    const WorkbenchView& view = model_.view();
    setWindowTitle(shown(view.windowCaption));

    // A disabled button hands its focus on to the next one, which Enter would then press;
    // Next is the button Enter presses during a run.
    const bool stepBackFocused = stepBack_->hasFocus();
    assemble_->setEnabled(view.assembleEnabled);
    trace_->setEnabled(view.traceEnabled);
    trace_->setToolTip(shown(view.traceDisabledReason));
    command1_->setEnabled(view.nextEnabled);
    command2_->setEnabled(view.endEnabled);
    stepBack_->setEnabled(view.stepBackEnabled);
    stepBack_->setToolTip(shown(view.stepBackTip));
    stepBackShortcut_->setEnabled(view.runButtonsShown);
    if (view.runButtonsShown && !command1_->isVisible() && isVisible()) {
        // The run starts: Next is the button Enter presses.
        command1_->setDefault(true);
        command1_->setFocus();
    }
    command1_->setDefault(view.runButtonsShown);
    for (QPushButton* button : {command1_, command2_, stepBack_}) {
        button->setVisible(view.runButtonsShown);
    }
    if (stepBackFocused && !view.stepBackEnabled && command1_->isEnabled() &&
        command1_->isVisible()) {
        command1_->setFocus();
    }
    command4_->setEnabled(view.clearEnabled);
    for (QLabel* label : {label5_, label6_, label7_}) {
        label->setVisible(view.breakpointShown);
    }
    label6_->setText(shown(view.breakpointCaption));

    mnuFILE_->menuAction()->setEnabled(view.fileMenuEnabled);
    for (QAction* item : mnuFILE_->actions()) {
        item->setEnabled(view.fileMenuEnabled);
    }
    mnuUwagaki_->setEnabled(view.overwriteSaveEnabled);
    if (view.breakpointMark != shownBreakpointMark_) {
        shownBreakpointMark_ = view.breakpointMark;
        marks_->breakpointMoved();
    }
    for (QWidget* widget :
         std::initializer_list<QWidget*>{text1_, text2_, label4_[0], label4_[1]}) {
        widget->setVisible(view.dumpsShown);
    }
    text1_->setEnabled(view.dumpsShown);
    text2_->setEnabled(view.dumpsShown);
}

void Form1::renderEditor() {
    const EditorView& editor = model_.view().editor;
    const bool locked = editor.locked;
    if (locked != source_->isReadOnly()) {
        source_->setReadOnly(locked);
        // The listing changes line by line at every step; nothing of it is to be undone.
        source_->setUndoRedoEnabled(!locked);
    }
    if (editor.revision != shownEditorRevision_) {
        shownEditorRevision_ = editor.revision;
        ++programChanges_;
        if (locked) {
            shownListing_->show(editor.text);
        } else {
            source_->setEditorText(editor.text);
            // The error marks belong to the text that was just put in.
            marks_->setErrors(editorErrors(editor.findings));
        }
        --programChanges_;
    }
    marks_->setExecutedLine(editor.executedLine);
}

void Form1::renderDisplays() {
    const WorkbenchView& view = model_.view();
    if (view.displaysRevision == shownDisplaysRevision_) {
        return;
    }
    shownDisplaysRevision_ = view.displaysRevision;
    const DisplayTexts& texts = view.displays;
    for (std::size_t i = 0; i < registerValues_.size(); ++i) {
        registerValues_[i]->setText(shown(texts.registers[i]));
    }
    pc_->setText(shown(texts.pc));
    sp_->setText(shown(texts.sp));
    fr_->setText(shown(texts.fr));
    obj_->setText(shown(texts.obj));
    shownDataArea_->show(texts.dataArea);
    shownStackArea_->show(texts.stackArea);
    traceChanges_->show(view.changes);
    announcement_->announce(shown(view.announcement));
    // Keep the executed line in sight in a long program.
    if (const int line = view.editor.executedLine; line > 0) {
        source_->keepLineInSight(line);
    }
}

void Form1::renderListing() {
    const ListingView& listing = model_.view().listing;
    if (listing.revision == shownListingRevision_) {
        return;
    }
    shownListingRevision_ = listing.revision;
    Form2& window = ensureListingWindow();
    window.setListing(shown(listing.text));
    const QColor colour = listing.success ? successGreen : failureRed;
    window.setResultColour(colour);
    if (listing.shown) {
        window.setResult(shown(listing.resultLine), colour);
        window.show();
        window.raise();
    }
}

void Form1::renderBox() {
    // A file command's boxes are modal dialogs answered one after the other; the run's boxes
    // open without waiting, and the run goes on from the event that closes them.
    while (const auto& box = model_.view().box) {
        if (box->purpose == WorkbenchBox::Purpose::RunBox) {
            break;
        }
        const BoxAnswer answer = askModally(*box);
        ++busy_;
        model_.answer(answer);
        --busy_;
        renderEditor();
        renderControls();
        renderDisplays();
        renderListing();
        renderExercise();
    }
    const auto& box = model_.view().box;
    if (!box || runBoxOpen_) {
        return;
    }
    runBoxOpen_ = true;
    auto answered = [this](BoxAnswer answer) {
        runBoxOpen_ = false;
        answerRunBox(answer);
    };
    if (box->kind == WorkbenchBox::Kind::Input) {
        platform::qt::openInputBox(
            this, shown(box->text), shown(box->title), shown(box->defaultText),
            platform::qt::pointFromTwips(box->position.leftTwips, box->position.topTwips),
            [answered](std::optional<QString> text) {
                answered(BoxAnswer{MessageAnswer::Ok,
                                   text ? std::optional(text->toStdU32String()) : std::nullopt});
            });
    } else {
        platform::qt::openMessageBox(
            this, shown(widgetTextFromEditor(box->text)), shown(box->title), box->buttons,
            [answered](MessageAnswer answer) { answered(BoxAnswer{answer}); }, box->defaultButton);
    }
}

BoxAnswer Form1::askModally(const WorkbenchBox& box) {
    switch (box.kind) {
    case WorkbenchBox::Kind::SaveName: {
        const QString name = fileDialog_.askSaveName(this, shown(box.defaultText),
                                                     shown(model_.view().keptFileName));
        return BoxAnswer{MessageAnswer::Ok,
                         name.isEmpty() ? std::nullopt : std::optional(name.toStdU32String())};
    }
    case WorkbenchBox::Kind::OpenName: {
        const QString name = fileDialog_.askOpenName(this, shown(box.defaultText));
        return BoxAnswer{MessageAnswer::Ok,
                         name.isEmpty() ? std::nullopt : std::optional(name.toStdU32String())};
    }
    case WorkbenchBox::Kind::Input:
    case WorkbenchBox::Kind::Message:
        break;
    }
    return BoxAnswer{platform::qt::showMessageBox(this, shown(widgetTextFromEditor(box.text)),
                                                  shown(box.title), box.buttons)};
}

void Form1::answerRunBox(const BoxAnswer& answer) {
    // The keys come back to the window, to the control that had them (Next), also on a desktop
    // that gives them to no window when a box closes.
    if (isVisible()) {
        activateWindow();
    }
    command([this, &answer] { model_.answer(answer); });
}

} // namespace casl
