#pragma once

#include <QDialog>

namespace casl {

/// The version dialog, shown without blocking the main window.
class FrmAbout : public QDialog {
    Q_OBJECT

public:
    FrmAbout();

    /// "ｼｽﾃﾑ情報(&S)...": no system-information program exists here, which the box says.
    void showSystemInformation();
};

/// The version text of the dialog.
inline constexpr const char* versionText = "ver. 2.0.9  2003/03/24";

} // namespace casl
