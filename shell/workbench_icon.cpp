#include "shell/workbench_icon.h"

#include <QString>

/// The picture lives in the library's resources, which a static library must register itself.
/// (The registration function is declared at global scope, so this function stands there.)
static void loadResources() {
    static const bool loaded = [] {
        Q_INIT_RESOURCE(varnic);
        return true;
    }();
    static_cast<void>(loaded);
}

namespace casl {

QPixmap workbenchPixmap(int size) {
    return workbenchIcon().pixmap(size, size);
}

QIcon workbenchIcon() {
    loadResources();
    return QIcon(QStringLiteral(":/varnic/varnic.png"));
}

} // namespace casl
