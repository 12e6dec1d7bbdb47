#include "shell/announcement_label.h"

#include <QAccessible>
#include <QSizePolicy>

namespace casl {

namespace {

/// Its name while it has nothing to say.
QString idleName() {
    return QStringLiteral("トレースの読み上げ");
}

} // namespace

AnnouncementLabel::AnnouncementLabel(QWidget* parent)
    : QLabel(parent),
      notifier_([](QAccessibleEvent& event) { QAccessible::updateAccessibility(&event); }) {
    setObjectName(QStringLiteral("announcement"));
    setTextFormat(Qt::PlainText);
    setAccessibleName(idleName());
    // A long announcement is cut at the window's edge; it never widens the window.
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    setMinimumWidth(1);
}

void AnnouncementLabel::announce(const QString& text) {
    setText(text);
    setToolTip(text);
    if (text.isEmpty()) {
        setAccessibleName(idleName());
        return;
    }
    if (accessibleName() == text) {
        // The same words again: the name does not change by itself, the event says it anew.
        notify(QAccessible::NameChanged);
    } else {
        // Tells the tools of the new name itself.
        setAccessibleName(text);
    }
    // The nearest thing to a live region that the tools have: they say an alert at once.
    notify(QAccessible::Alert);
}

void AnnouncementLabel::notify(QAccessible::Event event) {
    QAccessibleEvent sent(this, event);
    notifier_(sent);
}

} // namespace casl
