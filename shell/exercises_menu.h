#pragma once

#include <QMenu>
#include <QString>

namespace casl {

/// The menu 演習: one item per exercise of the shipped exercises' folder, filled each time it
/// opens. Choosing an item reports the exercise's folder.
class ExercisesMenu : public QMenu {
    Q_OBJECT

public:
    ExercisesMenu(const QString& title, QWidget* parent);

    void setFolder(const QString& folder) { folder_ = folder; }
    const QString& folder() const { return folder_; }
    /// Makes the items from the exercises of the folder.
    void fill();

signals:
    void exerciseChosen(const QString& folder);

private:
    QString folder_;
};

} // namespace casl
