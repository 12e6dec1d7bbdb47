#pragma once

#include <QString>

class QWidget;

namespace casl::platform::qt {

/// The open/save dialog of the file commands: title "Varnic II", CASL files first, then all
/// files. Like the dialog it stands for, it keeps the last chosen name between uses.
class SourceFileDialog {
public:
    /// The file to open, or "" when the dialog was cancelled.
    QString askOpenName(QWidget* parent);
    /// The file to save to, or "" when cancelled. `presetName` fills the name field; an empty
    /// preset keeps the name chosen last.
    QString askSaveName(QWidget* parent, const QString& presetName = {});
    /// The name chosen last ("" before the first choice).
    const QString& lastName() const { return lastName_; }

private:
    QString ask(QWidget* parent, bool save, const QString& presetName);

    QString lastName_;
};

/// The dialog title of the file commands.
inline constexpr const char* sourceDialogTitle = "Varnic II";

} // namespace casl::platform::qt
