#pragma once

#include <QPlainTextEdit>
#include <QTextBlock>
#include <cstddef>
#include <string>
#include <string_view>

namespace casl {

/// The source editor (`source`): a plain-text box that upper-cases every typed character and
/// reports key presses and clicks to the main window. Its text is exchanged as editor text, with
/// CR LF between lines.
class SourceEditor : public QPlainTextEdit {
    Q_OBJECT

public:
    explicit SourceEditor(QWidget* parent = nullptr);

    /// The whole text, lines separated by CR LF.
    std::u32string editorText() const;
    /// Replaces the whole text; the same text again leaves the caret and the undo steps.
    void setEditorText(std::u32string_view text);
    /// The 1-based line that holds the caret.
    int caretLine() const;
    /// Puts the caret at the start of the 1-based `line` (the last line for one past the end)
    /// and scrolls it into view. Nothing is chosen by it: only a click chooses a breakpoint.
    void moveCaretToLine(int line);
    /// Puts the caret at the start of the 1-based `line` and, when the line is not wholly in
    /// view, scrolls it to the middle, so that the following lines stay in sight too. A line in
    /// view does not move: the text stands still while a run walks through what is shown.
    void keepLineInSight(int line);

    /// Where the lines stand, for the gutter beside the text.
    QTextBlock firstVisibleLine() const { return firstVisibleBlock(); }
    QRectF lineRect(const QTextBlock& line) const {
        return blockBoundingGeometry(line).translated(contentOffset());
    }
    /// Keeps `width` pixels free at the left of the text for the gutter.
    void setGutterWidth(int width) { setViewportMargins(width, 0, 0, 0); }

signals:
    /// A key went down in the editor (before the editor handles it).
    void keyDown();
    /// The left mouse button was released over the editor, after the caret moved.
    void clicked();

protected:
    void changeEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
};

/// The upper-case form of a typed text, character by character; a character whose upper-case
/// form is not one character is kept as typed.
QString upperCasedTyping(const QString& typed);

} // namespace casl
