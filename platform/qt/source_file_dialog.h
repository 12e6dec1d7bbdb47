#pragma once

#include <QString>

class QWidget;

namespace casl::platform::qt {

/// The open/save dialog of the file commands: title "Varnic II", CASL files first, then all
/// files. Like the dialog it stands for, it keeps a name between uses: the name of the last
/// file that was read or written through it, never one whose save failed.
class SourceFileDialog {
public:
    /// Open: the file to open, or "" when the dialog was cancelled. Starts at the kept name.
    QString askOpenName(QWidget* parent);
    /// Save As: the file to save to, or "" when cancelled. Starts at the kept name.
    QString askSaveName(QWidget* parent);
    /// The save dialog behind the save question: its name field holds exactly `currentName`,
    /// empty for a program that has none, so that Enter never overwrites another file. It
    /// starts in the folder of `currentName`, or in the kept one.
    QString askSaveNameFor(QWidget* parent, const QString& currentName);
    /// Keeps `name` for the next dialog; called once its file was read or written.
    void keep(const QString& name) { keptName_ = name; }
    /// The name kept ("" before the first file was read or written).
    const QString& keptName() const { return keptName_; }

private:
    QString ask(QWidget* parent, bool save, const QString& presetName);

    QString keptName_;
};

/// The dialog title of the file commands.
inline constexpr const char* sourceDialogTitle = "Varnic II";

} // namespace casl::platform::qt
