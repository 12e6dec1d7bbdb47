#pragma once

#include <QProxyStyle>

namespace casl {

/// The desktop's style for a button that is the window's default button at times (Next during a
/// run): the style draws a default button with the same highlighted outline that marks the
/// keyboard focus, so with the focus it also gets a frame inside its outline.
class DefaultButtonStyle : public QProxyStyle {
    Q_OBJECT

public:
    explicit DefaultButtonStyle(QObject* parent);

    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget = nullptr) const override;
};

} // namespace casl
