#pragma once

#include <QString>
#include <QWidget>

class QTextBrowser;

namespace casl::platform::qt {

/// The folder that holds the workbench's help pages: "help" beside the program, or, for an
/// installed program, "share/varnic/help" under the installation prefix. "" when neither holds
/// a contents page.
QString findHelpFolder(const QString& programFolder);

/// The help window: the pages of the help folder in a browser, with buttons for the contents
/// page and for going back and forward.
class HelpViewer : public QWidget {
    Q_OBJECT

public:
    explicit HelpViewer(const QString& helpFolder, QWidget* parent = nullptr);

    /// Shows the contents page and brings the window to the front.
    void showContents();
    QTextBrowser* browser() const { return browser_; }
    const QString& helpFolder() const { return helpFolder_; }

private:
    QString helpFolder_;
    QTextBrowser* browser_;
};

/// The name of the contents page in the help folder.
inline constexpr const char* helpContentsPage = "index.html";

} // namespace casl::platform::qt
