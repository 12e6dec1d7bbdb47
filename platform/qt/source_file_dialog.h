#pragma once

#include <QString>

class QWidget;

namespace casl::platform::qt {

/// The open/save dialog of the file commands: title "Varnic II", CASL files first, then all
/// files. It starts at a name the caller gives; with none, in the folder of the name the
/// commands keep (the last file read or written), or in the current folder.
class SourceFileDialog {
public:
    /// Open: the file to open, or "" when the dialog was cancelled.
    QString askOpenName(QWidget* parent, const QString& startName);
    /// Save: the file to save to, or "" when cancelled. Its name field holds exactly
    /// `startName` (empty for none), so that Enter never overwrites another file by surprise.
    QString askSaveName(QWidget* parent, const QString& startName, const QString& keptName);

private:
    QString ask(QWidget* parent, bool save, const QString& startName, const QString& keptName);
};

/// The dialog title of the file commands.
inline constexpr const char* sourceDialogTitle = "Varnic II";

} // namespace casl::platform::qt
