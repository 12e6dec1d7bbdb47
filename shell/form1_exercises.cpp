// Exercises in the window: the menu 演習, the exercise's pane beside the editor, 採点 and the
// run of a case.

#include "platform/qt/qt_text.h"
#include "shell/examples_menu.h"
#include "shell/exercise_pane.h"
#include "shell/exercises_menu.h"
#include "shell/form1.h"
#include "workbench/exercise_catalogue.h"
#include "workbench/exercise_texts.h"

#include <QBoxLayout>
#include <QCoreApplication>
#include <QFile>
#include <QMenuBar>
#include <QToolButton>

namespace casl {

void Form1::buildExercises() {
    exercisePane_ = new ExercisePane(centralWidget());
    // Left of the editor, hidden until an exercise is opened.
    if (auto* layout = qobject_cast<QBoxLayout*>(centralWidget()->layout())) {
        layout->insertWidget(0, exercisePane_, 1);
    }
    connect(exercisePane_, &ExercisePane::checkRequested, this, &Form1::checkExercise);
    connect(exercisePane_, &ExercisePane::closeRequested, this, &Form1::closeExercise);
    connect(exercisePane_, &ExercisePane::caseRunRequested, this, &Form1::runExerciseCase);

    QWidget* corner = menuBar()->cornerWidget(Qt::TopRightCorner);
    auto* menu = new ExercisesMenu(platform::qt::toQString(texts::exercisesMenu), corner);
    const QString examples = findExamplesFolder(QCoreApplication::applicationDirPath());
    if (!examples.isEmpty()) {
        menu->setFolder(examples + QStringLiteral("/exercises"));
    }
    connect(menu, &QMenu::aboutToShow, this, [this, menu] {
        for (QAction* item : menu->actions()) {
            item->setEnabled(item->isEnabled() && model_.view().fileMenuEnabled);
        }
    });
    connect(menu, &ExercisesMenu::exerciseChosen, this, &Form1::openExercise);
    auto* button = new QToolButton(corner);
    button->setObjectName(QStringLiteral("exercisesButton"));
    button->setText(platform::qt::toQString(texts::exercisesMenu) + QStringLiteral("(&R)"));
    button->setAutoRaise(true);
    button->setPopupMode(QToolButton::InstantPopup);
    button->setToolButtonStyle(Qt::ToolButtonTextOnly);
    button->setMenu(menu);
    if (auto* buttons = qobject_cast<QBoxLayout*>(corner->layout())) {
        buttons->insertWidget(0, button);
    }
    // Tab goes through the corner as it stands on the screen: 演習, サンプル, 表示.
    auto* examplesButton = corner->findChild<QWidget*>(QStringLiteral("examplesButton"));
    auto* view = corner->findChild<QWidget*>(QStringLiteral("viewButton"));
    if (examplesButton && view) {
        setTabOrder(button, examplesButton);
        setTabOrder(examplesButton, view);
    }
}

void Form1::openExercise(const QString& folder) {
    command([this, &folder] {
        model_.openExercise(editorText(), exerciseFiles(QFile::encodeName(folder).toStdString()));
    });
}

void Form1::checkExercise() {
    command([this] { model_.checkExercise(editorText()); });
}

void Form1::runExerciseCase(int index) {
    command([this, index] { model_.startCaseRun(editorText(), static_cast<std::size_t>(index)); });
}

void Form1::closeExercise() {
    command([this] { model_.closeExercise(); });
}

void Form1::renderExercise() {
    exercisePane_->render(model_.view().exercise);
}

} // namespace casl
