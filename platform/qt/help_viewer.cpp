#include "platform/qt/help_viewer.h"

#include "platform/qt/data_folders.h"

#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QPushButton>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace casl::platform::qt {

QString findHelpFolder(const QString& programFolder) {
    for (const QString& folder : dataFolderCandidates(programFolder, QStringLiteral("help"))) {
        if (QFileInfo::exists(QDir(folder).filePath(QString::fromLatin1(helpContentsPage)))) {
            return QDir::cleanPath(QFileInfo(folder).absoluteFilePath());
        }
    }
    return {};
}

HelpViewer::HelpViewer(const QString& helpFolder, QWidget* parent)
    : QWidget(parent, Qt::Window), helpFolder_(helpFolder), browser_(new QTextBrowser(this)) {
    setObjectName(QStringLiteral("HelpViewer"));
    setWindowTitle(QStringLiteral("Varnic ヘルプ"));
    browser_->setObjectName(QStringLiteral("helpBrowser"));
    browser_->setOpenExternalLinks(true);
    browser_->setSearchPaths({helpFolder_});

    auto* contents = new QPushButton(QStringLiteral("目次(&C)"), this);
    auto* back = new QPushButton(QStringLiteral("戻る(&B)"), this);
    auto* forward = new QPushButton(QStringLiteral("進む(&F)"), this);
    contents->setObjectName(QStringLiteral("helpContents"));
    back->setObjectName(QStringLiteral("helpBack"));
    forward->setObjectName(QStringLiteral("helpForward"));
    back->setEnabled(false);
    forward->setEnabled(false);
    connect(contents, &QPushButton::clicked, this, &HelpViewer::showContents);
    connect(back, &QPushButton::clicked, browser_, &QTextBrowser::backward);
    connect(forward, &QPushButton::clicked, browser_, &QTextBrowser::forward);
    connect(browser_, &QTextBrowser::backwardAvailable, back, &QPushButton::setEnabled);
    connect(browser_, &QTextBrowser::forwardAvailable, forward, &QPushButton::setEnabled);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(contents);
    buttons->addWidget(back);
    buttons->addWidget(forward);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(browser_);
    resize(760, 620);
}

void HelpViewer::showContents() {
    browser_->setSource(
        QUrl::fromLocalFile(QDir(helpFolder_).filePath(QString::fromLatin1(helpContentsPage))));
    show();
    raise();
    activateWindow();
}

} // namespace casl::platform::qt
