#pragma once

#include "simulator/display_changes.h"

#include <QObject>
#include <array>

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

/// Marks what the session says the last step changed: the register rows, PR, SP, each flag,
/// and the rows of both dumps, in the change colours of their palettes. A dump with changed
/// rows of which none is in view scrolls to show the first.
class TraceChanges : public QObject {
    Q_OBJECT

public:
    TraceChanges(ChangeDisplays displays, QObject* parent);

    /// Marks `changes` on the displays, which already show the texts they belong to.
    void show(const DisplayChanges& changes);

    /// What is marked now.
    const DisplayChanges& changes() const { return changes_; }

    /// Marks the lines of the dumps whose words the last step read: a dashed underline, which
    /// tells them from the changed rows without colour.
    void showReads(const std::vector<int>& dataRows, const std::vector<int>& stackRows);
    /// The rows marked as read now.
    const std::vector<int>& dataReads() const { return dataReads_; }
    const std::vector<int>& stackReads() const { return stackReads_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void markLabels();
    void markDump(QPlainTextEdit& dump, const std::vector<int>& rows,
                  const std::vector<int>& reads);

    ChangeDisplays displays_;
    DisplayChanges changes_;
    std::vector<int> dataReads_;
    std::vector<int> stackReads_;
};

} // namespace casl
