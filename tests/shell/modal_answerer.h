#pragma once

#include <QPointer>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <deque>
#include <functional>

class QWidget;

namespace casl::test {

/// What a modal box showed when it was answered.
struct SeenBox {
    QString kind; ///< "message", "input", "file", "print" or the class name.
    QString title;
    QString text; ///< Message text or input prompt.
};

/// Answers the modal boxes that the code under test opens, one scripted answer per box, in
/// order, by polling `QApplication::activeModalWidget()` from the event loop: the loop of a box
/// that waits for its answer, or the test's own (`QTRY_VERIFY(answers.done())`) for the run's
/// boxes, which open without waiting. A box beyond the script is recorded as unexpected and
/// closed, so a test never hangs.
class ModalAnswerer {
public:
    using Answer = std::function<void(QWidget*)>;

    ModalAnswerer();
    ~ModalAnswerer();

    /// Adds an answer for the next box.
    ModalAnswerer& then(Answer answer);
    /// Presses a message box's button (e.g. QMessageBox::Yes).
    ModalAnswerer& press(int standardButton);
    /// Types `text` into an input box and presses OK.
    ModalAnswerer& type(const QString& text);
    /// Chooses `path` in a file dialog.
    ModalAnswerer& choose(const QString& path);
    /// Cancels whatever box comes.
    ModalAnswerer& cancel();
    /// Accepts a dialog as it stands (the printer dialog's Print).
    ModalAnswerer& accept();

    const std::vector<SeenBox>& seen() const { return seen_; }
    int unexpected() const { return unexpected_; }
    /// Every answer of the script was given.
    bool done() const { return answers_.empty() && delivering_ == 0; }

private:
    void poll();

    QTimer timer_;
    std::deque<Answer> answers_;
    std::vector<SeenBox> seen_;
    int unexpected_ = 0;
    /// Answers taken from the script and not yet given.
    int delivering_ = 0;
};

} // namespace casl::test
