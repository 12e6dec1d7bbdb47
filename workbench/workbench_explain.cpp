// What the working session explains about its run: who wrote each value, what a step read,
// the trace table, and the predictions made before Next.
#include "simulator/trace_table.h"
#include "workbench/workbench.h"

#include <algorithm>

namespace casl {

void Workbench::refreshExplanation() {
    RunExplanation& e = view_.explanation;
    if (predictionsPending_ && !session_->asking()) {
        predictionsPending_ = false;
        markPredictions(*session_, e);
    }
    explainRun(*session_, *tables_, simpleDisplay_, e);
}

void Workbench::stepBackToStep(std::uint32_t step) {
    if (!session_ || !session_->waiting()) {
        return;
    }
    RunExplanation& e = view_.explanation;
    if (step == 0) {
        e.notice = U"No step of this run wrote it.";
    } else if (step > session_->stepNumber()) {
        e.notice.clear();
    } else if (step < e.oldestStep) {
        e.notice = U"Step " + decimalText(step) +
                   U" is no longer kept: 戻る reaches back to step " + decimalText(e.oldestStep) +
                   U".";
    } else {
        e.notice.clear();
        while (session_->stepNumber() > step && session_->stepsBack() > 0) {
            session_->back();
        }
    }
    refreshRunView();
    refreshView();
}

void Workbench::setPrediction(int value, std::u32string_view text) {
    if (value < 0 || value >= predictedValueCount) {
        return;
    }
    view_.explanation.predictions[static_cast<std::size_t>(value)] = text;
}

std::u32string Workbench::traceTable(TraceTableFormat format,
                                     const TraceTableColumns& columns) const {
    if (!session_) {
        return traceTableHeaderText(format, columns);
    }
    return traceTableText(traceTableRows(*session_), *tables_, format, columns);
}

std::vector<std::vector<std::u32string>>
Workbench::traceTableCells(const TraceTableColumns& columns, std::size_t maxRows) const {
    std::vector<std::vector<std::u32string>> cells{traceTableHeader(columns)};
    if (!session_) {
        return cells;
    }
    const std::uint32_t step = session_->stepNumber();
    const std::uint32_t from = step > maxRows ? step - static_cast<std::uint32_t>(maxRows) + 1 : 1;
    for (const TraceTableRow& row : traceTableRows(*session_, from)) {
        cells.push_back(casl::traceTableCells(row, *tables_, columns));
    }
    return cells;
}

} // namespace casl
