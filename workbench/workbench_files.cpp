// The file commands of the working session: New, Open, the examples, Save As, 上書き保存, Exit
// and closing, with the save question, and the unsaved text kept for after a crash.

#include "workbench/editor_text.h"
#include "workbench/workbench.h"
#include "workbench/workbench_texts.h"

#include <new>
#include <variant>

namespace casl {

namespace {

WorkbenchBox messageBox(WorkbenchBox::Purpose purpose, std::u32string text,
                        std::u32string_view title, MessageButtons buttons) {
    WorkbenchBox box;
    box.kind = WorkbenchBox::Kind::Message;
    box.purpose = purpose;
    box.text = std::move(text);
    box.title = title;
    box.buttons = buttons;
    return box;
}

WorkbenchBox fileDialog(WorkbenchBox::Kind kind, WorkbenchBox::Purpose purpose,
                        std::u32string_view startName) {
    WorkbenchBox box;
    box.kind = kind;
    box.purpose = purpose;
    box.defaultText = startName;
    return box;
}

/// The file a dialog's answer chose; "" when it was cancelled.
std::u32string chosenName(const BoxAnswer& answer) {
    return answer.input.value_or(std::u32string());
}

} // namespace

void Workbench::showFileMessage(std::u32string text, std::u32string_view title) {
    view_.box =
        messageBox(WorkbenchBox::Purpose::FileMessage, std::move(text), title, MessageButtons::Ok);
}

void Workbench::newFile(std::u32string_view editorText) {
    if (view_.phase == WorkbenchPhase::Tracing || flow_ || view_.box) {
        return;
    }
    FileFlow flow;
    flow.failureTitle = texts::applicationTitle;
    flow.command = FileFlow::Command::New;
    flow.text = editorText;
    startFlow(std::move(flow));
}

void Workbench::openFile(std::u32string_view editorText, std::u32string_view name) {
    if (view_.phase == WorkbenchPhase::Tracing || flow_ || view_.box) {
        return;
    }
    // Asked first, as New asks: the text is replaced only once it was saved or given up.
    FileFlow flow;
    flow.failureTitle = texts::applicationTitle;
    flow.command = FileFlow::Command::Open;
    flow.text = editorText;
    flow.name = name;
    startFlow(std::move(flow));
}

void Workbench::openExample(std::u32string_view editorText, std::u32string_view name) {
    if (view_.phase == WorkbenchPhase::Tracing || flow_ || view_.box) {
        return;
    }
    // The example is read first: one that cannot be read leaves the program alone.
    auto example = services_.files.read(name);
    if (const auto* error = std::get_if<platform::FileError>(&example)) {
        showFileMessage(error->message, texts::applicationTitle);
        refreshView();
        return;
    }
    FileFlow flow;
    flow.failureTitle = texts::applicationTitle;
    flow.command = FileFlow::Command::Example;
    flow.text = editorText;
    flow.example = std::move(std::get<platform::SourceText>(example).text);
    startFlow(std::move(flow));
}

void Workbench::saveAs(std::u32string_view editorText) {
    if (view_.phase == WorkbenchPhase::Tracing || flow_ || view_.box) {
        return;
    }
    FileFlow flow;
    flow.command = FileFlow::Command::SaveAs;
    flow.text = editorText;
    flow_ = std::make_unique<FileFlow>(std::move(flow));
    view_.box = fileDialog(WorkbenchBox::Kind::SaveName, WorkbenchBox::Purpose::SaveAsName,
                           view_.keptFileName);
    refreshView();
}

void Workbench::overwriteSave(std::u32string_view editorText) {
    if (view_.phase == WorkbenchPhase::Tracing || flow_ || view_.box || view_.fileName.empty()) {
        return;
    }
    if (writeTo(view_.fileName, editorText, texts::applicationTitle)) {
        view_.modified = false;
    }
    refreshView();
}

void Workbench::exit(std::u32string_view editorText) {
    if (flow_ || view_.box) {
        return;
    }
    FileFlow flow;
    flow.command = FileFlow::Command::Exit;
    flow.text = programText(editorText);
    flow.failureTitle = texts::errorTitle;
    startFlow(std::move(flow));
}

void Workbench::close(std::u32string_view editorText) {
    // A box of the running program must be answered first.
    if (flow_ || view_.box || view_.ended) {
        return;
    }
    FileFlow flow;
    flow.command = FileFlow::Command::Close;
    // Saved during a run, the file gets the program's own text, not the listing.
    flow.text = programText(editorText);
    flow.failureTitle = texts::errorTitle;
    startFlow(std::move(flow));
}

void Workbench::offerRecovery() {
    if (!services_.unsaved || flow_ || view_.box) {
        return;
    }
    const auto left = services_.unsaved->left();
    if (!left) {
        return;
    }
    std::u32string question(texts::recoveryQuestion);
    if (!left->fileName.empty()) {
        question += texts::recoveryFileLabel;
        question += left->fileName;
    }
    FileFlow flow;
    flow.command = FileFlow::Command::Recovery;
    flow.left = *left;
    flow_ = std::make_unique<FileFlow>(std::move(flow));
    view_.box = messageBox(WorkbenchBox::Purpose::RecoveryQuestion, std::move(question),
                           texts::recoveryTitle, MessageButtons::YesNo);
    refreshView();
}

void Workbench::startFlow(FileFlow flow) {
    flow_ = std::make_unique<FileFlow>(std::move(flow));
    if (view_.modified) {
        view_.box =
            messageBox(WorkbenchBox::Purpose::SaveQuestion, std::u32string(texts::saveQuestion),
                       texts::saveQuestionTitle, MessageButtons::YesNo);
    } else {
        savedOrDeclined();
    }
    refreshView();
}

void Workbench::answerFlow(const BoxAnswer& answer) {
    const WorkbenchBox::Purpose purpose = view_.box->purpose;
    view_.box.reset();
    if (!flow_) {
        return;
    }
    switch (purpose) {
    case WorkbenchBox::Purpose::SaveQuestion:
        if (answer.button == MessageAnswer::Yes) {
            // Exactly the current name: Enter never overwrites another file.
            view_.box = fileDialog(WorkbenchBox::Kind::SaveName, WorkbenchBox::Purpose::SaveName,
                                   view_.fileName);
        } else {
            savedOrDeclined();
        }
        break;
    case WorkbenchBox::Purpose::SaveName:
        if (const std::u32string name = chosenName(answer); !name.empty()) {
            saveFlowTo(name);
        } else {
            savedOrDeclined();
        }
        break;
    case WorkbenchBox::Purpose::SaveAsName:
        if (const std::u32string name = chosenName(answer);
            !name.empty() && writeTo(name, flow_->text, texts::applicationTitle)) {
            view_.keptFileName = name;
            view_.fileName = name;
            view_.windowCaption =
                std::u32string(texts::mainCaption) + std::u32string(texts::captionGap) + name;
        }
        if (!view_.box) {
            flow_.reset();
        }
        break;
    case WorkbenchBox::Purpose::OpenName:
        if (const std::u32string name = chosenName(answer); !name.empty()) {
            openNamed(name);
        }
        if (!view_.box) {
            flow_.reset();
        }
        break;
    case WorkbenchBox::Purpose::RecoveryQuestion:
        if (answer.button == MessageAnswer::Yes) {
            // Restored as a new program: saving it over its old file stays the user's choice.
            putEditorText(flow_->left.text);
            enterEditing();
            keepUnsavedText(flow_->left.text);
        }
        services_.unsaved->discardLeft();
        flow_.reset();
        break;
    case WorkbenchBox::Purpose::FileMessage:
    case WorkbenchBox::Purpose::RunBox:
        // A failed read or save ends the command; the program stays as it was.
        flow_.reset();
        break;
    }
}

void Workbench::saveFlowTo(std::u32string_view name) {
    if (!writeTo(name, flow_->text, flow_->failureTitle)) {
        // The failure's message ends the command once it is answered.
        return;
    }
    view_.keptFileName = name;
    const auto command = flow_->command;
    if (command == FileFlow::Command::Exit || command == FileFlow::Command::Close) {
        view_.fileName = name;
    }
    savedOrDeclined();
}

void Workbench::savedOrDeclined() {
    switch (flow_->command) {
    case FileFlow::Command::New:
        finishNew();
        flow_.reset();
        break;
    case FileFlow::Command::Example:
        finishNew();
        putEditorText(std::move(flow_->example));
        flow_.reset();
        break;
    case FileFlow::Command::Open:
        if (flow_->name.empty()) {
            view_.box = fileDialog(WorkbenchBox::Kind::OpenName, WorkbenchBox::Purpose::OpenName,
                                   view_.keptFileName);
        } else {
            openNamed(flow_->name);
            if (!view_.box) {
                flow_.reset();
            }
        }
        break;
    case FileFlow::Command::Exit:
    case FileFlow::Command::Close:
        endProgram();
        flow_.reset();
        break;
    case FileFlow::Command::SaveAs:
    case FileFlow::Command::Recovery:
        flow_.reset();
        break;
    }
}

bool Workbench::writeTo(std::u32string_view name, std::u32string_view text,
                        std::u32string_view title) {
    const auto error = services_.files.write(name, text, format_);
    if (!error) {
        textIsSaved(std::u32string(text));
        return true;
    }
    showFileMessage(std::u32string(texts::writeFailure) + U"\r\n\r\n" + error->message, title);
    return false;
}

void Workbench::finishNew() {
    view_.fileName.clear();
    view_.windowCaption = std::u32string(texts::mainCaption) + std::u32string(texts::captionGap);
    putEditorText(U"");
    textIsSaved(U"");
    format_ = SourceFormat{};
    view_.phase = WorkbenchPhase::Editing;
    traceReason_ = texts::traceNotAssembled;
    resetBreakpoint();
    forgetRun();
}

void Workbench::openNamed(std::u32string_view name) {
    std::variant<platform::SourceText, platform::FileError> source;
    try {
        source = services_.files.read(name);
    } catch (const std::bad_alloc&) {
        showFileMessage(std::u32string(texts::outOfMemoryOnOpen) + std::u32string(name),
                        texts::applicationTitle);
        return;
    }
    if (const auto* error = std::get_if<platform::FileError>(&source)) {
        showFileMessage(error->message, texts::applicationTitle);
        return;
    }
    auto& opened = std::get<platform::SourceText>(source);
    std::u32string text = editorTextOf(opened.text);
    format_ = SourceFormat{opened.encoding, opened.lineEnds};
    view_.keptFileName = name;
    textIsSaved(text);
    putEditorText(std::move(text));
    view_.fileName = name;
    view_.windowCaption =
        std::u32string(texts::mainCaption) + std::u32string(texts::captionGap) + view_.fileName;
    view_.phase = WorkbenchPhase::Editing;
    traceReason_ = texts::traceNotAssembled;
    resetBreakpoint();
    forgetRun();
}

void Workbench::endProgram() {
    view_.ended = true;
    session_.reset();
    // A normal end: whatever was not saved was given up on purpose.
    if (services_.unsaved) {
        services_.unsaved->remove();
    }
}

void Workbench::textIsSaved(std::u32string text) {
    savedText_ = std::move(text);
    keptUnsavedText_.reset();
    if (services_.unsaved) {
        services_.unsaved->remove();
    }
}

void Workbench::keepUnsavedText(std::u32string_view editorText) {
    // After a normal end nothing is kept, whatever the editor still holds.
    if (!services_.unsaved || view_.ended) {
        return;
    }
    std::u32string text = programText(editorText);
    if (text == savedText_) {
        services_.unsaved->remove();
        keptUnsavedText_.reset();
        return;
    }
    if (keptUnsavedText_ == text) {
        return;
    }
    // A store that cannot keep the text is no reason to disturb the user: the text is still in
    // the editor, and saving it says what is wrong with the disk.
    if (services_.unsaved->keep(text, view_.fileName)) {
        keptUnsavedText_ = std::move(text);
    }
}

void Workbench::restoreFile(std::u32string_view fileName, const SourceFormat& format,
                            bool modified) {
    view_.fileName = fileName;
    if (!view_.fileName.empty()) {
        view_.keptFileName = view_.fileName;
        view_.windowCaption =
            std::u32string(texts::mainCaption) + std::u32string(texts::captionGap) + view_.fileName;
    }
    format_ = format;
    view_.modified = modified;
    refreshView();
}

} // namespace casl
