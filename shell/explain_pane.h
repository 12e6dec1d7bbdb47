#pragma once

#include "shell/trace_changes.h"
#include "simulator/trace_table_text.h"
#include "workbench/run_explanation.h"

#include <QDockWidget>
#include <array>
#include <cstdint>
#include <functional>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QTableWidget;
class QCheckBox;
class QMenu;

namespace casl {

class Workbench;

/// The displays whose values the pane explains, and their change marks, which also mark the
/// words a step read.
struct ExplainedDisplays : ChangeDisplays {
    TraceChanges* changes = nullptr;
};

/// What the session explains about its run, shown beside the displays: the writer of each
/// value as its tooltip with a context-menu command that steps back to it, the words the last
/// step read (marked on the dumps and said in the pane), the predictions for Next with their
/// marks, and the trace table with copy, print and save as CSV.
class ExplainPane : public QDockWidget {
    Q_OBJECT

public:
    /// `run` runs a command on the session and shows the window after it.
    ExplainPane(const Workbench& model, ExplainedDisplays displays,
                std::function<void(std::function<void(Workbench&)>)> run, QWidget* parent);

    /// Shows the session's explanation; the displays already show their texts.
    void render();
    /// Writes the table as CSV to `path` (UTF-8); false when it could not be written.
    bool saveTable(const QString& path) const;
    /// The rows the table panel shows at most (the newest); CSV and print take every kept row.
    static constexpr std::size_t panelRows = 2000;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildPredictions(QWidget* page);
    void buildTable(QWidget* page);
    void renderTable();
    const ValueExplanation* explanationAt(QObject* watched, const QPoint& position) const;
    void offerStepBack(const ValueExplanation& value, QMenu& menu);
    TraceTableColumns columns() const;

    const Workbench& model_;
    ExplainedDisplays displays_;
    std::function<void(std::function<void(Workbench&)>)> run_;
    QLabel* reads_ = nullptr;
    QLabel* notice_ = nullptr;
    std::array<QLineEdit*, predictedValueCount> predictions_{};
    std::array<QLabel*, predictedValueCount> marks_{};
    QLabel* score_ = nullptr;
    QTableWidget* table_ = nullptr;
    std::array<QCheckBox*, 11> columnChoices_{};
    std::uint64_t shownRevision_ = 0;
};

} // namespace casl
