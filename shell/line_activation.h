#pragma once

#include <QObject>

class QPlainTextEdit;
class QWidget;

namespace casl {

/// Reports the line of a read-only text box that the user picks: a click on it, or Enter on
/// the line that holds the caret (the arrow keys move the caret through the box).
class LineActivation : public QObject {
    Q_OBJECT

public:
    explicit LineActivation(QPlainTextEdit& box);

signals:
    /// `line` (0-based) was picked.
    void activated(int line);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPlainTextEdit& box_;
    /// Kept apart: events arrive while the box is being destroyed, when it can no longer be
    /// asked for its viewport.
    QWidget* viewport_;
};

} // namespace casl
