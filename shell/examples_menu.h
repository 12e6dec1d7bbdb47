#pragma once

#include <QMenu>
#include <QString>

namespace casl {

/// The folder of the shipped example programs: "examples" beside the program, or, for an
/// installed program, "share/varnic/examples" under the installation prefix (beside the help
/// pages). "" when neither holds a program.
QString findExamplesFolder(const QString& programFolder);

/// The menu of the example programs: one item per example of its folder's catalogue, filled
/// each time it opens. Choosing an item reports the file.
class ExamplesMenu : public QMenu {
    Q_OBJECT

public:
    ExamplesMenu(const QString& title, QWidget* parent);

    void setFolder(const QString& folder) { folder_ = folder; }
    const QString& folder() const { return folder_; }
    /// Makes the items from the files of the folder.
    void fill();

signals:
    void exampleChosen(const QString& path);

private:
    QString folder_;
};

} // namespace casl
