#pragma once

#include <QString>
#include <QStringList>

namespace casl::platform::qt {

/// The folders where the workbench's shipped folder `name` ("help", "examples") may be, in the
/// order to look: beside the program, as the build tree has it, then the installation's data
/// folder (share/varnic/NAME under the prefix). The second is reached from the program's own
/// folder, so an installation moved to another prefix still finds its files.
QStringList dataFolderCandidates(const QString& programFolder, const QString& name);

} // namespace casl::platform::qt
