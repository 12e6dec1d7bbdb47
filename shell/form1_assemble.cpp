// The Assemble command: the assembler's result shown in the windows.

#include "assembler/assembler.h"
#include "platform/qt/qt_text.h"
#include "platform/temp_folder.h"
#include "platform/text_file.h"
#include "shell/editor_colours.h"
#include "shell/form1.h"
#include "shell/form2.h"
#include "shell/japanese_setup.h"
#include "shell/source_editor.h"

#include <QPlainTextEdit>
#include <variant>

namespace casl {

namespace {

/// Writes "info.tmp", the program text that the trace shows; the error's message on failure.
std::optional<std::u32string> writeInfoFile(std::u32string_view text) {
    auto path = platform::temporaryFilePath("info.tmp");
    if (const auto* error = std::get_if<platform::FileError>(&path)) {
        return error->message;
    }
    if (auto error = platform::writeTextFile(std::get<std::filesystem::path>(path), text)) {
        return error->message;
    }
    return std::nullopt;
}

} // namespace

Form2& Form1::ensureListingWindow() {
    if (!form2_) {
        form2_ = std::make_unique<Form2>(this);
        watchListingWindow(*form2_);
    }
    return *form2_;
}

void Form1::assembleProgram() {
    const AssemblyResult result = assemble(source_->editorText(), *tables_);
    if (result.blank) {
        return;
    }
    setEditorTextByProgram(result.editorText);
    showFindingsInEditor(result.findings);
    text1_->setPlainText(platform::qt::toQString(result.listingText));

    Form2& listing = ensureListingWindow();
    listing.setListing(platform::qt::toQString(result.listingWindowText));
    bool success = result.success;
    if (success) {
        // Without the info file the trace could not show the program, so the run is not offered.
        if (const auto failure = writeInfoFile(result.infoText)) {
            success = false;
            ask(QStringLiteral("ディスクに書き込めません\n\n") + platform::qt::toQString(*failure),
                QString::fromUtf8(applicationTitle), platform::qt::MessageButtons::Ok);
        }
    }
    if (success) {
        infoText_ = result.infoText;
        listing.setResultColour(successGreen);
        enterAssembled();
    } else {
        listing.setResultColour(failureRed);
        enterEditing();
    }
    if (result.showListing) {
        listing.setResult(platform::qt::toQString(result.resultLine),
                          success ? successGreen : failureRed);
        listing.show();
        listing.raise();
        text1_->clear();
        text2_->clear();
    }
}

} // namespace casl
