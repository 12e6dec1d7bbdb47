#pragma once

#include <QProxyStyle>

namespace casl {

/// The desktop's style for the text areas (the editor and the dumps): with the keyboard focus,
/// their frame is drawn two pixels wide in the highlight colour, as the style marks a focused
/// button. The caret alone, which blinks and hides in a locked text, is no mark to find the
/// focus by.
class FocusFrameStyle : public QProxyStyle {
    Q_OBJECT

public:
    explicit FocusFrameStyle(QObject* parent);

    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget = nullptr) const override;
    /// The frame is wide enough for the mark.
    int pixelMetric(PixelMetric metric, const QStyleOption* option = nullptr,
                    const QWidget* widget = nullptr) const override;
};

} // namespace casl
