#pragma once

#include "simulator/display_changes.h"
#include "simulator/display_texts.h"

#include <QObject>
#include <array>
#include <optional>

class QPlainTextEdit;

namespace casl {

class ChangeLabel;

/// The displays of the trace that show what a step changed.
struct ChangeDisplays {
    std::array<ChangeLabel*, 8> registers{};
    ChangeLabel* programRegister = nullptr;
    ChangeLabel* stackPointer = nullptr;
    ChangeLabel* flags = nullptr;
    QPlainTextEdit* dataArea = nullptr;
    QPlainTextEdit* stackArea = nullptr;
};

/// Marks, at every wait of a run, what differs from the displays of the wait before: the
/// register rows, PR, SP, each flag, and the rows of both dumps, in the change colours of their
/// palettes. A dump with changed rows of which none is in view scrolls to show the first.
/// Nothing is marked until a run has waited once.
class TraceChanges : public QObject {
    Q_OBJECT

public:
    TraceChanges(ChangeDisplays displays, QObject* parent);

    /// A new run: the displays of earlier runs are no comparison, and every mark goes.
    void clear();
    /// The displays now show `shown`: marks what differs from the last wait. At a wait (also
    /// the one a step back returns to) `shown` becomes the comparison for the next displays.
    void show(DisplayTexts shown, bool atWait);

    /// What is marked now.
    const DisplayChanges& changes() const { return changes_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void markLabels();
    void markDump(QPlainTextEdit& dump, const std::vector<int>& rows);

    ChangeDisplays displays_;
    std::optional<DisplayTexts> lastWait_;
    DisplayChanges changes_;
};

} // namespace casl
