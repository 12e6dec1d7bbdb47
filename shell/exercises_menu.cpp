#include "shell/exercises_menu.h"

#include "platform/qt/qt_text.h"
#include "workbench/exercise_catalogue.h"
#include "workbench/exercise_texts.h"

#include <QFile>
#include <vector>

namespace casl {

ExercisesMenu::ExercisesMenu(const QString& title, QWidget* parent) : QMenu(title, parent) {
    setObjectName(QStringLiteral("exercisesMenu"));
    connect(this, &QMenu::aboutToShow, this, &ExercisesMenu::fill);
}

void ExercisesMenu::fill() {
    clear();
    const std::vector<ExerciseEntry> exercises =
        folder_.isEmpty() ? std::vector<ExerciseEntry>{}
                          : exerciseCatalogue(QFile::encodeName(folder_).toStdString());
    if (exercises.empty()) {
        addAction(platform::qt::toQString(texts::noExercises))->setEnabled(false);
        return;
    }
    for (const ExerciseEntry& exercise : exercises) {
        // The title is the teacher's text: no "&" in it may turn into a shortcut.
        QString caption = platform::qt::toQString(exercise.title);
        caption.replace(QLatin1Char('&'), QStringLiteral("&&"));
        const QString folder = QFile::decodeName(exercise.folder.string().c_str());
        connect(addAction(caption), &QAction::triggered, this,
                [this, folder] { emit exerciseChosen(folder); });
    }
}

} // namespace casl
