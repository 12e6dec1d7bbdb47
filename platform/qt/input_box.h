#pragma once

#include <QPoint>
#include <QString>

class QWidget;

namespace casl::platform::qt {

/// Shows a modal input box with its top-left corner at `screenPosition` and returns the text
/// typed, or "" when it was cancelled; `accepted` (when given) tells which. The box is wide
/// enough for its whole title.
QString showInputBox(QWidget* parent, const QString& prompt, const QString& title,
                     const QString& defaultText, QPoint screenPosition, bool* accepted = nullptr);

} // namespace casl::platform::qt
