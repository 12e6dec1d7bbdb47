#pragma once

#include <QObject>
#include <functional>

class QPlainTextEdit;

namespace casl {

/// The keys of the main window that reach it through the editor but are no key presses of the
/// editor (which would call for a new assembly), taken before the editor sees them: Escape then
/// Tab (or Shift+Tab) leaves the editor, F9 chooses the caret's line as the breakpoint.
class EditorKeys : public QObject {
    Q_OBJECT

public:
    /// `leave(forward)` moves the focus from the editor to the next control (or the one before).
    EditorKeys(QPlainTextEdit& editor, std::function<void(bool forward)> leave);

signals:
    /// F9 went down in the editor.
    void breakpointKey();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::function<void(bool forward)> leave_;
    /// The editor's key before was Escape: a Tab now leaves it.
    bool afterEscape_ = false;
};

} // namespace casl
