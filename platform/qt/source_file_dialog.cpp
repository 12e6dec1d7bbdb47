#include "platform/qt/source_file_dialog.h"

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

QString SourceFileDialog::askOpenName(QWidget* parent) {
    return ask(parent, false, {});
}

QString SourceFileDialog::askSaveName(QWidget* parent, const QString& presetName) {
    return ask(parent, true, presetName);
}

QString SourceFileDialog::ask(QWidget* parent, bool save, const QString& presetName) {
    QFileDialog dialog(parent, QString::fromUtf8(sourceDialogTitle));
    dialog.setNameFilters(nameFilters());
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    const QString preset = presetName.isEmpty() ? lastName_ : presetName;
    if (!preset.isEmpty()) {
        const QFileInfo info(preset);
        dialog.setDirectory(info.absolutePath());
        dialog.selectFile(info.fileName());
    }
    if (dialog.exec() != QDialog::Accepted) {
        return {};
    }
    const QString chosen = dialog.selectedFiles().value(0);
    if (!chosen.isEmpty()) {
        lastName_ = chosen;
    }
    return chosen;
}

} // namespace casl::platform::qt
