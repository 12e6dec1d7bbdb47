#include "platform/qt/title_width.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QGridLayout>
#include <QGuiApplication>
#include <QScreen>
#include <QSpacerItem>
#include <QStyle>
#include <QWidget>
#include <algorithm>

namespace casl::platform::qt {

int widthForTitle(const QWidget& dialog, const QString& title) {
    QFont font = QFontDatabase::systemFont(QFontDatabase::TitleFont);
    // Window managers commonly draw the title in bold; measuring bold never falls short.
    font.setBold(true);
    // The icon and the minimise, maximise and close buttons are each about as wide as the
    // title bar is high.
    const int frameItems =
        4 * dialog.style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, &dialog);
    const int width = QFontMetrics(font).horizontalAdvance(title) + frameItems;
    const QScreen* screen = dialog.screen() ? dialog.screen() : QGuiApplication::primaryScreen();
    return screen ? std::min(width, screen->availableGeometry().width()) : width;
}

void widenForTitle(QWidget& dialog) {
    QLayout* layout = dialog.layout();
    if (!layout) {
        return;
    }
    const QMargins margins = layout->contentsMargins() + dialog.contentsMargins();
    const int width =
        widthForTitle(dialog, dialog.windowTitle()) - margins.left() - margins.right();
    auto* item = new QSpacerItem(width, 0, QSizePolicy::Fixed, QSizePolicy::Fixed);
    // A row of its own across a grid, so that no column of the contents moves.
    if (auto* grid = qobject_cast<QGridLayout*>(layout)) {
        grid->addItem(item, grid->rowCount(), 0, 1, grid->columnCount());
    } else {
        layout->addItem(item);
    }
}

} // namespace casl::platform::qt
