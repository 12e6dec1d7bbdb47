#include "platform/qt/clipboard.h"

#include <QClipboard>
#include <QGuiApplication>

namespace casl::platform::qt {

QString clipboardText() {
    return QGuiApplication::clipboard()->text();
}

void setClipboardText(const QString& text) {
    QGuiApplication::clipboard()->setText(text);
}

} // namespace casl::platform::qt
