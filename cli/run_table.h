#pragma once

#include "simulator/run_bounds.h"
#include "simulator/scripted_run.h"
#include "simulator/trace_table_text.h"

#include <cstdint>
#include <ostream>

namespace casl {
class TraceSession;
}

namespace casl::cli {

/// Prints the trace table of a run as it goes (`casl2 run --table`): the header first, then the
/// rows of the steps done since it printed last, at every wait, box and at the end, so that no
/// step leaves the history before its row is printed. The rows count against the run's print
/// bound.
class TablePrinter final : public RunWatcher {
public:
    TablePrinter(TraceTableFormat format, TraceTableColumns columns, std::ostream& out,
                 RunBounds& bounds);

    /// The session whose rows are printed; set before the run starts.
    void follow(const TraceSession& session) { session_ = &session; }
    /// Prints the rows of the last steps.
    void finish() { printNewRows(); }

    void showDisplays(const TraceDisplays&, bool) override { printNewRows(); }
    void boxAnswered(const RunBox&, const BoxAnswer&) override {}

private:
    void printNewRows();
    void print(const std::u32string& text);

    TraceTableFormat format_;
    TraceTableColumns columns_;
    std::ostream& out_;
    RunBounds& bounds_;
    const TraceSession* session_ = nullptr;
    std::uint32_t printedStep_ = 0;
    bool stopped_ = false;
};

} // namespace casl::cli
