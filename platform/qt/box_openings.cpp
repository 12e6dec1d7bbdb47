#include "platform/qt/box_openings.h"

#include <QCoreApplication>

namespace casl::platform::qt {

BoxOpenings& BoxOpenings::instance() {
    QCoreApplication* application = QCoreApplication::instance();
    if (auto* found = application->findChild<BoxOpenings*>(QString(), Qt::FindDirectChildrenOnly)) {
        return *found;
    }
    return *new BoxOpenings(application);
}

} // namespace casl::platform::qt
