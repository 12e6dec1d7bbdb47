#include "platform/qt/qt_text.h"

namespace casl::platform::qt {

QString toQString(std::u32string_view text) {
    return QString::fromUcs4(text.data(), static_cast<qsizetype>(text.size()));
}

std::u32string toU32(const QString& text) {
    return text.toStdU32String();
}

} // namespace casl::platform::qt
