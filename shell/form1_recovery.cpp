// Unsaved text kept in the recovery file, and offered back after a crash.

#include "platform/qt/qt_text.h"
#include "shell/form1.h"
#include "shell/source_editor.h"

namespace casl {

std::u32string Form1::programText() const {
    return traceActive_ ? savedProgramText_ : source_->editorText();
}

void Form1::keepUnsavedText() {
    // After a normal end nothing is kept, whatever the editor still holds.
    if (ending_) {
        return;
    }
    std::u32string text = programText();
    if (text == savedText_) {
        recovery_.remove();
        recoveryText_.reset();
        return;
    }
    if (recoveryText_ == text) {
        return;
    }
    // A recovery file that cannot be written is no reason to disturb the user: the text is
    // still in the editor, and saving it says what is wrong with the disk.
    if (!recovery_.write({text, currentFileName_.toStdU32String()})) {
        recoveryText_ = std::move(text);
    }
}

void Form1::textIsSaved(std::u32string text) {
    savedText_ = std::move(text);
    recoveryText_.reset();
    recovery_.remove();
}

void Form1::offerRecovery() {
    const std::vector<platform::LeftRecovery> left = platform::leftRecoveries();
    if (left.empty()) {
        return;
    }
    const platform::LeftRecovery& newest = left.front();
    QString question =
        QStringLiteral("前回終了したときに保存されていなかった編集内容があります。\n復元しますか?");
    if (!newest.recovery.fileName.empty()) {
        question += QStringLiteral("\n\n元のファイル: ") +
                    platform::qt::toQString(newest.recovery.fileName);
    }
    if (ask(question, QStringLiteral("編集内容の復元"), platform::qt::MessageButtons::YesNo) ==
        platform::qt::MessageAnswer::Yes) {
        // Restored as a new program: saving it over its old file stays the user's decision.
        setEditorTextByProgram(newest.recovery.text);
        enterEditing();
        keepUnsavedText();
    }
    platform::discardRecovery(newest);
}

} // namespace casl
