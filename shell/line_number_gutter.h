#pragma once

#include <QWidget>
#include <vector>

namespace casl {

class EditorMarks;
class SourceEditor;

/// The gutter at the left of the source editor: the editor's line numbers (after an assembly
/// the program's line numbers), the breakpoint's red dot and a mark on each line in error. It
/// scrolls and zooms with the text. A click on a line reports that line.
class LineNumberGutter : public QWidget {
    Q_OBJECT

public:
    LineNumberGutter(SourceEditor& editor, const EditorMarks& marks);

    /// A line the gutter shows, and where (in the gutter's coordinates).
    struct ShownLine {
        int line = 0;
        QRect rect;
    };
    /// The lines in view, top to bottom.
    std::vector<ShownLine> shownLines() const;
    /// The line at `point`: the last line below the text, 0 above it.
    int lineAt(const QPoint& point) const;
    /// The square beside a line's number that holds its dot or error mark.
    QRect markRect(const ShownLine& shown) const;

    QSize sizeHint() const override;

signals:
    /// The left button was released over the gutter at `line`.
    void lineClicked(int line);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void fitWidth();
    void followEditor(const QRect& rect, int dy);
    void updateLines(int first, int second);
    int markColumnWidth() const;

    SourceEditor& editor_;
    const EditorMarks& marks_;
    int width_ = 0;
};

} // namespace casl
