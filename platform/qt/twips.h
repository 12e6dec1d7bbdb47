#pragma once

#include <QPoint>

namespace casl::platform::qt {

/// The workbench places its windows in twips; one pixel is 15 twips.
inline constexpr int twipsPerPixel = 15;

/// The pixel nearest to a position in twips.
constexpr int twipsToPixels(int twips) {
    return (twips + twipsPerPixel / 2) / twipsPerPixel;
}

/// A screen point from a left and a top offset in twips.
inline QPoint pointFromTwips(int left, int top) {
    return {twipsToPixels(left), twipsToPixels(top)};
}

} // namespace casl::platform::qt
