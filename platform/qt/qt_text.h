#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace casl::platform::qt {

/// The core's text (one element per character) as a Qt string.
QString toQString(std::u32string_view text);
/// A Qt string as the core's text; a lone surrogate becomes U+FFFD.
std::u32string toU32(const QString& text);

} // namespace casl::platform::qt
