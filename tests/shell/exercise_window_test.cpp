// Exercises in the window: the menu 演習 opens one beside the editor, 採点 lists the verdicts,
// and a failing case runs as a Trace with the case's answers and its comparison at the end.

#include "grading/program_check.h"
#include "grading/test_file_reader.h"
#include "shell/exercise_pane.h"
#include "shell/exercises_menu.h"
#include "shell/form1.h"
#include "shell/source_editor.h"
#include "shell_test_support.h"

#include <QApplication>
#include <QDir>
#include <QInputDialog>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTextBrowser>
#include <QTextDocument>

using namespace casl;
using namespace casl::test;

namespace {

QString exerciseFolder(const QString& name) {
    return QStringLiteral(CASL_SOURCE_DIR "/examples/exercises/") + name;
}

QString programOf(const QString& exercise, const QString& file) {
    return QString::fromUtf8(readBytes(exerciseFolder(exercise) + QLatin1Char('/') + file));
}

/// The verdicts that `casl2 check` gives `file` of the exercise, one per case.
std::vector<bool> gradedVerdicts(const QString& exercise, const QString& file) {
    const QString folder = exerciseFolder(exercise);
    const auto tests = check::readTestFile((folder + QStringLiteral("/tests.toml")).toStdString());
    std::vector<bool> verdicts;
    if (const auto* file_ = std::get_if<check::TestFile>(&tests)) {
        const check::ProgramResult result = check::checkProgram(
            {(folder + QLatin1Char('/') + file).toStdString(), file.toStdString()}, *file_);
        for (const check::CaseResult& c : result.cases) {
            verdicts.push_back(c.passed);
        }
    }
    return verdicts;
}

/// The verdicts the results list shows, one per case: passed or not.
std::vector<bool> listedVerdicts(const Form1& window) {
    std::vector<bool> verdicts;
    const auto* cases = child<QListWidget>(&window, "exerciseCases");
    for (int i = 0; i < cases->count(); ++i) {
        verdicts.push_back(cases->item(i)->text().startsWith(QStringLiteral("✔ 合格")));
    }
    return verdicts;
}

QString labelText(const Form1& window, const char* name) {
    return child<QLabel>(&window, name)->text();
}

/// Goes on to the end of the run, taking every box as it stands: the case's answers.
void finishRun(Form1& window) {
    for (int guard = 0; window.traceActive() && guard < 5000; ++guard) {
        QWidget* box = QApplication::activeModalWidget();
        if (auto* input = qobject_cast<QInputDialog*>(box)) {
            input->accept();
        } else if (auto* message = qobject_cast<QMessageBox*>(box)) {
            message->defaultButton() ? message->defaultButton()->click()
                                     : message->button(QMessageBox::Ok)->click();
        } else {
            child<QPushButton>(&window, "Command1")->click();
        }
    }
}

} // namespace

class ExerciseWindowTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { setUpApplication(); }

    void theMenuListsTheShippedExercisesAndThePaneWaitsHidden();
    void aWrongProgramsFailingCaseRunsAndTheFixedOnePasses();
    void checkGivesTheVerdictsOfTheGraderOnEveryShippedExercise();
    void aStartingProgramReplacesTheEditorsText();
    void theStatementIsShownAsTextNotMarkup();
};

void ExerciseWindowTest::theMenuListsTheShippedExercisesAndThePaneWaitsHidden() {
    Form1 window;
    window.show();
    QVERIFY(!child<ExercisePane>(&window, "exercisePane")->isVisible());
    auto* menu = child<ExercisesMenu>(&window, "exercisesMenu");
    QVERIFY(menu);
    menu->setFolder(QStringLiteral(CASL_SOURCE_DIR "/examples/exercises"));
    menu->fill();
    QVERIFY(menu->actions().size() >= 8);
    QStringList titles;
    for (const QAction* item : menu->actions()) {
        titles.append(item->text());
    }
    QVERIFY2(titles.contains(QStringLiteral("文字列を逆順に表示する")),
             qPrintable(titles.join(',')));
    menu->actions().front()->trigger();
    QVERIFY(child<ExercisePane>(&window, "exercisePane")->isVisible());
}

void ExerciseWindowTest::aWrongProgramsFailingCaseRunsAndTheFixedOnePasses() {
    Form1 window;
    window.show();
    window.openExercise(exerciseFolder(QStringLiteral("reverse")));
    QVERIFY(child<ExercisePane>(&window, "exercisePane")->isVisible());
    QCOMPARE(labelText(window, "exerciseTitle"), QStringLiteral("文字列を逆順に表示する"));
    QCOMPARE(labelText(window, "exerciseSummary"),
             QStringLiteral("採点 を押すと、エディタのプログラムを各ケースで実行して確かめます"));

    pasteIntoEditor(window, programOf(QStringLiteral("reverse"), QStringLiteral("wrong.cas")));
    child<QPushButton>(&window, "exerciseCheck")->click();
    QCOMPARE(labelText(window, "exerciseSummary"), QStringLiteral("2 / 6 ケースに合格"));
    auto* cases = child<QListWidget>(&window, "exerciseCases");
    // The first failing case is chosen, with what was expected and what came out.
    QCOMPARE(cases->currentItem()->text(), QStringLiteral("✘ 不合格  three letters"));
    QCOMPARE(labelText(window, "exerciseCaseDetails"),
             QStringLiteral("output: expected \"CBA\", got \"□CB\"\n"
                            "data REV: expected \"CBA\", got \"\\u0000CB\""));

    auto* run = child<QPushButton>(&window, "exerciseRunCase");
    QVERIFY(run->isEnabled());
    run->click();
    QVERIFY(window.traceActive());
    QVERIFY(!child<QPushButton>(&window, "exerciseCheck")->isEnabled());
    QCOMPARE(labelText(window, "exerciseRunHeading"),
             QStringLiteral("ケース「three letters」で実行中"));
    // The IN box shows the case's answer already typed.
    for (int guard = 0; !QApplication::activeModalWidget() && guard < 100; ++guard) {
        child<QPushButton>(&window, "Command1")->click();
    }
    auto* input = qobject_cast<QInputDialog*>(QApplication::activeModalWidget());
    QVERIFY(input);
    QCOMPARE(input->textValue(), QStringLiteral("ABC"));
    finishRun(window);
    QVERIFY(!window.traceActive());
    QCOMPARE(labelText(window, "exerciseRunHeading"),
             QStringLiteral("ケース「three letters」: 不合格 (ケースの期待と違います)"));
    QVERIFY2(labelText(window, "exerciseRunDetails")
                 .contains(QStringLiteral("output: expected \"CBA\", got \"□CB\"")),
             qPrintable(labelText(window, "exerciseRunDetails")));

    pasteIntoEditor(window, programOf(QStringLiteral("reverse"), QStringLiteral("solution.cas")));
    QCOMPARE(labelText(window, "exerciseSummary"),
             QStringLiteral("プログラムが変更されました。もう一度 採点 してください"));
    child<QPushButton>(&window, "exerciseCheck")->click();
    QCOMPARE(labelText(window, "exerciseSummary"), QStringLiteral("すべてのケースに合格しました"));
    QCOMPARE(listedVerdicts(window), std::vector<bool>(6, true));
}

void ExerciseWindowTest::checkGivesTheVerdictsOfTheGraderOnEveryShippedExercise() {
    const QStringList exercises = QDir(QStringLiteral(CASL_SOURCE_DIR "/examples/exercises"))
                                      .entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    QVERIFY(exercises.size() >= 8);
    for (const QString& exercise : exercises) {
        for (const QString& file : {QStringLiteral("solution.cas"), QStringLiteral("wrong.cas")}) {
            Form1 window;
            window.openExercise(exerciseFolder(exercise));
            // An exercise with a starting program puts it into the editor first.
            pasteIntoEditor(window, programOf(exercise, file));
            window.checkExercise();
            QCOMPARE(listedVerdicts(window), gradedVerdicts(exercise, file));
        }
    }
}

void ExerciseWindowTest::aStartingProgramReplacesTheEditorsText() {
    Form1 window;
    window.show();
    window.openExercise(exerciseFolder(QStringLiteral("count-loop")));
    QVERIFY(window.editor()->toPlainText().contains(QStringLiteral("; Write the loop here.")));
    // Not saved anywhere yet, as an example's text: the save question keeps it.
    QVERIFY(window.modifiedMark());
    QCOMPARE(window.currentFileName(), QString());
}

void ExerciseWindowTest::theStatementIsShownAsTextNotMarkup() {
    QTextDocument document;
    StatementBlock heading{StatementBlock::Kind::Heading, 1, {{U"<b>見出し</b>"}}};
    StatementBlock item{StatementBlock::Kind::BulletItem, 0, {{U"IN", false, false, true}}};
    fillStatement(document, {heading, item}, QFont());
    QCOMPARE(document.toPlainText(), QStringLiteral("<b>見出し</b>\nIN"));
    QCOMPARE(document.blockCount(), 2);
    QVERIFY(document.lastBlock().textList());
}

QTEST_MAIN(ExerciseWindowTest)
#include "exercise_window_test.moc"
