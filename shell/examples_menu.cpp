#include "shell/examples_menu.h"

#include "platform/qt/data_folders.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace casl {

namespace {

QStringList programsIn(const QString& folder) {
    QStringList paths;
    if (folder.isEmpty()) {
        return paths;
    }
    const QDir dir(folder);
    for (const QString& name :
         dir.entryList({QStringLiteral("*.cas")}, QDir::Files | QDir::Readable, QDir::Name)) {
        paths.append(dir.filePath(name));
    }
    return paths;
}

} // namespace

QString findExamplesFolder(const QString& programFolder) {
    for (const QString& folder :
         platform::qt::dataFolderCandidates(programFolder, QStringLiteral("examples"))) {
        if (!programsIn(folder).isEmpty()) {
            return QDir::cleanPath(QFileInfo(folder).absoluteFilePath());
        }
    }
    return {};
}

QString exampleCaption(const QString& path) {
    const QString name = QFileInfo(path).fileName();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return name;
    }
    const QString first = QString::fromUtf8(file.readLine(400)).trimmed();
    const qsizetype dash = first.indexOf(QStringLiteral("--"));
    if (!first.startsWith(QLatin1Char(';')) || dash < 0) {
        return name;
    }
    const QString description = first.mid(dash + 2).trimmed();
    return description.isEmpty() ? name : name + QStringLiteral(" — ") + description;
}

ExamplesMenu::ExamplesMenu(const QString& title, QWidget* parent) : QMenu(title, parent) {
    setObjectName(QStringLiteral("examplesMenu"));
    connect(this, &QMenu::aboutToShow, this, &ExamplesMenu::fill);
}

void ExamplesMenu::fill() {
    clear();
    const QStringList paths = programsIn(folder_);
    if (paths.isEmpty()) {
        addAction(QStringLiteral("(サンプルが見つかりません)"))->setEnabled(false);
        return;
    }
    for (const QString& path : paths) {
        // The caption is the file's own text: no "&" in it may turn into a shortcut.
        QString caption = exampleCaption(path);
        caption.replace(QLatin1Char('&'), QStringLiteral("&&"));
        connect(addAction(caption), &QAction::triggered, this,
                [this, path] { emit exampleChosen(path); });
    }
}

} // namespace casl
