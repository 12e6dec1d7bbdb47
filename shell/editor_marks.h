#pragma once

#include "shell/editor_colours.h"

#include <QObject>
#include <QStringList>
#include <functional>
#include <map>

namespace casl {

class SourceEditor;

/// The marks on the editor's lines besides its text: the breakpoint line (read from the window
/// whenever it is drawn), the line the trace has just executed (a background) and the lines in
/// error after a failed assembly (underlined, with their messages as tooltips). Any change of
/// the text takes the execution and error marks away: they describe the text they were made
/// for.
class EditorMarks : public QObject {
    Q_OBJECT

public:
    EditorMarks(SourceEditor& editor, std::function<int()> breakpointLine);

    /// The line with the breakpoint, 0 for none.
    int breakpointLine() const { return breakpointLine_(); }
    /// The breakpoint line may have changed: the views redraw.
    void breakpointMoved() { emit changed(); }

    /// The executed line of the trace listing (0 = none).
    void setExecutedLine(int line);
    int executedLine() const { return executedLine_; }

    /// The editor lines in error with their messages, in the listing's order.
    void setErrors(std::map<int, QStringList> errors);
    const std::map<int, QStringList>& errors() const { return errors_; }
    /// What hovering line `line` shows: its messages, one a line ("" when it has none).
    QString errorToolTip(int line) const;

    /// The colours of the editor's palette, worked out again when the palette changes.
    const EditorColours& colours() const { return colours_; }

signals:
    /// A mark was set, moved or taken away.
    void changed();
    /// Only the executed line moved, from line `from` to line `to` (0 = none): the views redraw
    /// those two lines, not all they show, as a run steps through the program.
    void executedLineMoved(int from, int to);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void textChanged();
    void showSelections();

    SourceEditor& editor_;
    /// Kept apart: events arrive while the editor is being destroyed, when it can no longer
    /// be asked for its viewport.
    QWidget* viewport_;
    std::function<int()> breakpointLine_;
    int executedLine_ = 0;
    std::map<int, QStringList> errors_;
    EditorColours colours_;
};

} // namespace casl
