#include "cli/run_table.h"

#include "platform/text_codec.h"
#include "simulator/trace_session.h"

namespace casl::cli {

TablePrinter::TablePrinter(TraceTableFormat format, TraceTableColumns columns, std::ostream& out,
                           RunBounds& bounds)
    : format_(format), columns_(columns), out_(out), bounds_(bounds) {
    print(traceTableHeaderText(format_, columns_));
}

void TablePrinter::print(const std::u32string& text) {
    const std::string bytes = platform::toUtf8(text);
    if (!stopped_ && bounds_.mayPrint(bytes.size())) {
        out_ << bytes;
    } else {
        stopped_ = true;
    }
}

void TablePrinter::printNewRows() {
    if (session_ == nullptr || stopped_) {
        return;
    }
    const std::vector<TraceTableRow> rows = traceTableRows(*session_, printedStep_ + 1);
    if (rows.empty()) {
        return;
    }
    // 戻る takes rows back; the table goes on from the step after the newest printed.
    printedStep_ = rows.back().step;
    print(traceTableRowsText(rows, session_->tables(), format_, columns_));
}

} // namespace casl::cli
