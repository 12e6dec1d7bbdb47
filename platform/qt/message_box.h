#pragma once

#include "platform/message_buttons.h"

#include <QString>
#include <functional>

class QWidget;

namespace casl::platform::qt {

/// Shows a modal message box without an icon and returns the button pressed. The box is wide
/// enough for its whole title. Closing a Yes/No box by its window button answers No.
MessageAnswer showMessageBox(QWidget* parent, const QString& text, const QString& title,
                             MessageButtons buttons);

/// Opens the same message box without waiting for it: it is modal for the whole application,
/// but no event loop runs inside this call. `answered` receives the button when the box
/// closes, from the event that closed it. `defaultButton` is the button of a Yes/No box that
/// Enter presses.
void openMessageBox(QWidget* parent, const QString& text, const QString& title,
                    MessageButtons buttons, std::function<void(MessageAnswer)> answered,
                    MessageAnswer defaultButton = MessageAnswer::Yes);

} // namespace casl::platform::qt
