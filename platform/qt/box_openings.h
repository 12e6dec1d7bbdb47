#pragma once

#include <QObject>

class QDialog;

namespace casl::platform::qt {

/// Announces every box that the windows open without waiting for it, right after it is shown,
/// so that a test can answer it there as a user would later. One per application.
class BoxOpenings : public QObject {
    Q_OBJECT

public:
    /// The announcer of the running application, made on first use as a child of it.
    static BoxOpenings& instance();

signals:
    /// `box` was shown; answering it here closes it before the code that opened it goes on.
    void opened(QDialog* box);

private:
    using QObject::QObject;
};

} // namespace casl::platform::qt
