#include "shell/examples_menu.h"

#include "platform/qt/data_folders.h"
#include "platform/qt/qt_text.h"
#include "workbench/example_catalogue.h"
#include "workbench/workbench_texts.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <vector>

namespace casl {

QString findExamplesFolder(const QString& programFolder) {
    for (const QString& folder :
         platform::qt::dataFolderCandidates(programFolder, QStringLiteral("examples"))) {
        if (!exampleCatalogue(QFile::encodeName(folder).toStdString()).empty()) {
            return QDir::cleanPath(QFileInfo(folder).absoluteFilePath());
        }
    }
    return {};
}

ExamplesMenu::ExamplesMenu(const QString& title, QWidget* parent) : QMenu(title, parent) {
    setObjectName(QStringLiteral("examplesMenu"));
    connect(this, &QMenu::aboutToShow, this, &ExamplesMenu::fill);
}

void ExamplesMenu::fill() {
    clear();
    const std::vector<Example> examples =
        folder_.isEmpty() ? std::vector<Example>{}
                          : exampleCatalogue(QFile::encodeName(folder_).toStdString());
    if (examples.empty()) {
        addAction(platform::qt::toQString(texts::noExamples))->setEnabled(false);
        return;
    }
    for (const Example& example : examples) {
        // The caption is the file's own text: no "&" in it may turn into a shortcut.
        QString caption = platform::qt::toQString(example.caption);
        caption.replace(QLatin1Char('&'), QStringLiteral("&&"));
        const QString path = QFile::decodeName(example.path.string().c_str());
        connect(addAction(caption), &QAction::triggered, this,
                [this, path] { emit exampleChosen(path); });
    }
}

} // namespace casl
