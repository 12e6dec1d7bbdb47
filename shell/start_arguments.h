#pragma once

#include <QString>
#include <QStringList>

namespace casl {

/// What the command line of `varnic` asks for: `varnic [FILE]`, the form in which a file
/// manager or the desktop's "Open with" hands a `.cas` file over.
struct StartArguments {
    /// The absolute path of the program to open at start; "" for an empty editor.
    QString file;
    /// A text to print before ending at once (--help, --version, a wrong argument); "" to start.
    QString message;
    /// The exit status when `message` ends the program: 0, or 2 for a wrong argument.
    int exitStatus = 0;
};

/// Reads `arguments` (the program's name first, Qt's own options already taken out); a
/// relative FILE is taken from `currentFolder`, a `file:` URL as the path it names.
StartArguments readStartArguments(const QStringList& arguments, const QString& currentFolder);

} // namespace casl
