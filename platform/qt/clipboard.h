#pragma once

#include <QString>

namespace casl::platform::qt {

/// The text on the system clipboard ("" when it holds no text).
QString clipboardText();
/// Puts `text` on the system clipboard as text.
void setClipboardText(const QString& text);

} // namespace casl::platform::qt
