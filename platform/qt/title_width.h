#pragma once

class QString;
class QWidget;

namespace casl::platform::qt {

/// The width a dialog needs so that the window frame shows the whole of `title`: the title as
/// the title bar draws it, and room for the frame's icon and its three buttons. Never wider
/// than the screen the dialog is on.
int widthForTitle(const QWidget& dialog, const QString& title);

/// Makes `dialog` wide enough for its whole window title. Dialogs size themselves from their
/// layout when they are shown, so the width goes into the layout (which must exist) as an
/// empty item.
void widenForTitle(QWidget& dialog);

} // namespace casl::platform::qt
