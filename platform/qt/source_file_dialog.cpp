#include "platform/qt/source_file_dialog.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

namespace casl::platform::qt {

namespace {

const QStringList& nameFilters() {
    static const QStringList filters{QStringLiteral("Caslファイル(*.cas)"),
                                     QStringLiteral("すべてのファイル(*.*)")};
    return filters;
}

} // namespace

QString SourceFileDialog::askOpenName(QWidget* parent, const QString& startName) {
    return ask(parent, false, startName, startName);
}

QString SourceFileDialog::askSaveName(QWidget* parent, const QString& startName,
                                      const QString& keptName) {
    return ask(parent, true, startName, keptName);
}

QString SourceFileDialog::ask(QWidget* parent, bool save, const QString& presetName,
                              const QString& keptName) {
    QFileDialog dialog(parent, QString::fromUtf8(sourceDialogTitle));
    dialog.setNameFilters(nameFilters());
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    // The folder is always given: left alone, the dialog would start where the last dialog
    // of the program was accepted, also when that save then failed.
    if (presetName.isEmpty()) {
        dialog.setDirectory(keptName.isEmpty() ? QDir::currentPath()
                                                : QFileInfo(keptName).absolutePath());
    } else {
        const QFileInfo info(presetName);
        dialog.setDirectory(info.absolutePath());
        dialog.selectFile(info.fileName());
    }
    if (dialog.exec() != QDialog::Accepted) {
        return {};
    }
    return dialog.selectedFiles().value(0);
}

} // namespace casl::platform::qt
