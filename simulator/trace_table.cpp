#include "simulator/trace_table.h"

#include "simulator/trace_session.h"
#include "simulator/word.h"

#include <algorithm>

namespace casl {
namespace {

bool isValueWrite(const TraceWrite& record) {
    return (record.place & (writerRecord | readRecord)) == 0;
}

bool isStack(const TraceWrite& record) {
    return (record.place & stackPlace) != 0;
}

int indexOf(const TraceWrite& record) {
    return record.place & placeIndexMask;
}

/// The address the dumps show a data word or stack slot at.
std::int32_t addressOf(const ProgramTables& tables, bool stack, int index, std::int16_t stackBase) {
    if (stack) {
        return wordPattern(std::int64_t{stackBase} - index + 1);
    }
    return wordPattern(tables.dataWords[static_cast<std::size_t>(index)][dataAddressColumn]);
}

std::vector<TraceWrite> recordsOf(const TraceHistory& history, std::size_t i) {
    std::vector<TraceWrite> records;
    history.forEachRecordOf(i, [&records](const TraceWrite& r) { records.push_back(r); });
    return records;
}

} // namespace

std::vector<TraceTableRow> traceTableRows(const TraceSession& session, std::uint32_t fromStep) {
    const TraceHistory& history = session.history();
    const std::size_t kept = history.positions();
    if (kept == 0 || session.provenance() == nullptr) {
        return {};
    }
    const std::uint32_t oldest = history.position(0).step;
    const std::size_t first =
        fromStep > oldest ? std::min<std::size_t>(fromStep - oldest, kept) : 0;
    const ProgramTables& tables = session.tables();

    // The values after each step come from the values now, with the later steps' writes undone
    // one by one from the newest.
    std::vector<std::int32_t> data(maxDataWords + 1);
    for (std::size_t w = 0; w < data.size(); ++w) {
        data[w] = tables.dataWords[w][dataValueColumn];
    }
    std::vector<std::int32_t> slots(session.machine().stackSlots.begin(),
                                    session.machine().stackSlots.end());
    const auto valueAt = [&](const TraceWrite& r) -> std::int32_t& {
        return isStack(r) ? slots[static_cast<std::size_t>(indexOf(r))]
                          : data[static_cast<std::size_t>(indexOf(r))];
    };
    const auto undo = [&](const std::vector<TraceWrite>& records) {
        for (auto r = records.rbegin(); r != records.rend(); ++r) {
            if (isValueWrite(*r)) {
                valueAt(*r) = r->previous;
            }
        }
    };

    undo(recordsOf(history, kept));
    std::vector<TraceTableRow> rows(kept - first);
    for (std::size_t i = kept; i-- > first;) {
        const TracePosition& p = history.position(i);
        TraceTableRow& row = rows[i - first];
        row.step = p.step;
        row.line = p.executedLine;
        row.registers = p.generalRegisters;
        row.programRegister = p.programRegister;
        row.stackPointer = p.stackPointer;
        row.overflowFlag = p.overflowFlag;
        row.signZeroState = p.signZeroState;
        const std::vector<TraceWrite> records = recordsOf(history, i);
        const int top = slots[0];
        for (const TraceWrite& r : records) {
            if (!isValueWrite(r) || (isStack(r) && (indexOf(r) == 0 || indexOf(r) > top))) {
                continue;
            }
            const bool stack = isStack(r);
            const int index = indexOf(r);
            const bool listed =
                std::any_of(row.written.begin(), row.written.end(), [&](const WordOfStep& w) {
                    return w.stack == stack && w.index == index;
                });
            if (!listed) {
                row.written.push_back(WordOfStep{
                    stack, index, addressOf(tables, stack, index, p.stackBase), valueAt(r)});
            }
        }
        undo(records);
    }
    return rows;
}

std::vector<WordOfStep> wordsReadByStep(const TraceSession& session) {
    const TraceHistory& history = session.history();
    if (history.positions() == 0) {
        return {};
    }
    const std::size_t last = history.positions() - 1;
    const std::int16_t stackBase = history.position(last).stackBase;
    std::vector<WordOfStep> reads;
    history.forEachRecordOf(last, [&](const TraceWrite& r) {
        if ((r.place & readRecord) != 0) {
            const bool stack = isStack(r);
            reads.push_back(WordOfStep{stack, indexOf(r),
                                       addressOf(session.tables(), stack, indexOf(r), stackBase),
                                       r.previous});
        }
    });
    return reads;
}

} // namespace casl
