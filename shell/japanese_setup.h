#pragma once

#include <QFont>
#include <QString>

class QCoreApplication;

namespace casl {

/// The fixed-pitch Japanese font that the displays are laid out for.
inline constexpr const char* gothicFamily = "ＭＳ ゴシック";

/// Makes the program look as on the Japanese system it comes from: the Japanese locale, Qt's own
/// Japanese texts for the standard dialogs and buttons, and "ＭＳ ゴシック" resolved to an
/// installed Japanese gothic whose half-width glyphs are exactly half as wide as its full-width
/// ones. Returns whether the Japanese translation was found.
bool installJapaneseSetup(QCoreApplication& application);

/// "ＭＳ ゴシック" at `pointSize`.
QFont gothicFont(double pointSize);

} // namespace casl
