#include "platform/qt/data_folders.h"

#include <QDir>

namespace casl::platform::qt {

QStringList dataFolderCandidates(const QString& programFolder, const QString& name) {
    const QDir program(programFolder);
    // The build sets where the data folder lies from the program's folder once installed
    // (../share/varnic for the usual layout).
    return {program.filePath(name),
            QDir::cleanPath(program.filePath(QStringLiteral(CASL_DATA_FROM_PROGRAM "/") + name))};
}

} // namespace casl::platform::qt
