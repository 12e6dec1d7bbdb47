#pragma once

#include <QString>

class QWidget;

namespace casl::platform::qt {

/// The buttons a message box offers.
enum class MessageButtons { Ok, YesNo };
/// The button that closed a message box.
enum class MessageAnswer { Ok, Yes, No };

/// Shows a modal message box without an icon and returns the button pressed. The box is wide
/// enough for its whole title. Closing a Yes/No box by its window button answers No.
MessageAnswer showMessageBox(QWidget* parent, const QString& text, const QString& title,
                             MessageButtons buttons);

} // namespace casl::platform::qt
