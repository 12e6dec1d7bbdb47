#pragma once

#include <QIcon>
#include <QPixmap>

namespace casl {

/// The workbench's icon (the picture of the splash and version windows too).
QPixmap workbenchPixmap(int size);
/// The icon in the sizes a window manager asks for.
QIcon workbenchIcon();

} // namespace casl
