#pragma once

#include <QPoint>
#include <QString>
#include <functional>
#include <optional>

class QWidget;

namespace casl::platform::qt {

/// Shows a modal input box with its top-left corner at `screenPosition` and returns the text
/// typed, or "" when it was cancelled; `accepted` (when given) tells which. The box is wide
/// enough for its whole title.
QString showInputBox(QWidget* parent, const QString& prompt, const QString& title,
                     const QString& defaultText, QPoint screenPosition, bool* accepted = nullptr);

/// Opens the same input box without waiting for it: it is modal for the whole application, but
/// no event loop runs inside this call. `answered` receives the text typed, or nothing when
/// the box was cancelled, from the event that closed it.
void openInputBox(QWidget* parent, const QString& prompt, const QString& title,
                  const QString& defaultText, QPoint screenPosition,
                  std::function<void(std::optional<QString>)> answered);

} // namespace casl::platform::qt
