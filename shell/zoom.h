#pragma once

#include <QFont>
#include <QObject>
#include <QPointer>
#include <vector>

class QAction;
class QWidget;

namespace casl {

/// One size for the editor, the listing and the trace displays together, for projectors and
/// small screens: Ctrl++ (or Ctrl+=) and Ctrl+- step it, Ctrl+0 returns to the normal size, and
/// Ctrl with the mouse wheel over any of them steps it too. Sizes are even pixel sizes, so a
/// full-width character stays exactly two half-width ones wide and the dump columns stay
/// aligned. The size is not kept after the program ends.
class Zoom : public QObject {
    Q_OBJECT

public:
    explicit Zoom(QObject* parent);

    /// Scales `widget`'s font (as it is now, the normal size) with the others. A label's least
    /// width and any widget's least height grow with it (a dump keeps its rows); a text box's
    /// tab stops keep their columns.
    void add(QWidget* widget);
    /// Makes the shortcuts work while `window` is active.
    void addShortcutsTo(QWidget* window);

    void zoomIn();
    void zoomOut();
    void reset();
    /// The size now, as a share of the normal size (1 = normal).
    double factor() const;

    QAction* zoomInAction() const { return zoomIn_; }
    QAction* zoomOutAction() const { return zoomOut_; }
    QAction* resetAction() const { return reset_; }

signals:
    void factorChanged(double factor);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Scaled {
        QPointer<QWidget> widget;
        QFont font;
        int pixelSize = 0;
        int minimumWidth = 0;
        int minimumHeight = 0;
        double tabStop = 0;
    };
    void step(int by);
    void apply(Scaled& scaled) const;

    std::vector<Scaled> scaled_;
    int level_;
    int wheelDelta_ = 0;
    QAction* zoomIn_;
    QAction* zoomOut_;
    QAction* reset_;
};

} // namespace casl
