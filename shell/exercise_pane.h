#pragma once

#include "workbench/exercise_view.h"

#include <QWidget>
#include <cstdint>

class QLabel;
class QListWidget;
class QPushButton;
class QTextBrowser;
class QTextDocument;

namespace casl {

/// Fills `document` with the blocks of an exercise's statement: headings, paragraphs, list
/// items and code in the fixed-pitch font. The text goes in as text, never as markup.
void fillStatement(QTextDocument& document, const std::vector<StatementBlock>& blocks,
                   const QFont& codeFont);

/// The pane beside the editor that shows the open exercise: its title and statement, 採点 and
/// the verdict of every case, and the run of a case with its comparison once it ended. It shows
/// the session's `ExerciseView` and reports what the student asks for.
class ExercisePane : public QWidget {
    Q_OBJECT

public:
    explicit ExercisePane(QWidget* parent = nullptr);

    /// Shows `view` when its revision differs from the one shown.
    void render(const ExerciseView& view);

signals:
    void checkRequested();
    void closeRequested();
    /// The case of this index (as the view numbers them) is to be run.
    void caseRunRequested(int index);

private:
    void showCase();
    void requestRun();

    ExerciseView shown_;
    std::uint64_t shownRevision_ = 0;
    QLabel* title_ = nullptr;
    QTextBrowser* statement_ = nullptr;
    QPushButton* check_ = nullptr;
    QPushButton* close_ = nullptr;
    QLabel* summary_ = nullptr;
    QListWidget* cases_ = nullptr;
    QLabel* caseDetails_ = nullptr;
    QPushButton* runCase_ = nullptr;
    QWidget* run_ = nullptr;
    QLabel* runHeading_ = nullptr;
    QLabel* runDetails_ = nullptr;
};

} // namespace casl
