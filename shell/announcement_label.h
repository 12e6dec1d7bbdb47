#pragma once

#include <QAccessible>
#include <QLabel>
#include <functional>

namespace casl {

/// The status bar's line that says each step of a run to a screen reader (`announcement`): the
/// line a wait stands at and what the step changed, then that the run ended. It is named by
/// what it says; each announcement is sent to assistive tools as an alert, and the same words
/// again also as a name change (a loop that changes the same thing at every step).
class AnnouncementLabel : public QLabel {
    Q_OBJECT

public:
    /// Where its events go: to the assistive tools (`QAccessible::updateAccessibility`), which
    /// drops them while no tool listens.
    using Notifier = std::function<void(QAccessibleEvent& event)>;

    explicit AnnouncementLabel(QWidget* parent = nullptr);

    /// Shows `text`; one that is not empty is announced.
    void announce(const QString& text);

    /// Sends its events to `notifier` instead; a test hears them there.
    void setNotifier(Notifier notifier) { notifier_ = std::move(notifier); }

private:
    void notify(QAccessible::Event event);

    Notifier notifier_;
};

} // namespace casl
