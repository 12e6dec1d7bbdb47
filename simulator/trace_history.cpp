#include "simulator/trace_history.h"

namespace casl {

// Three quarters of the bound go to the positions, one quarter to the writes: a step writes
// one or two words on average, and an `IN` step at most a few thousand.
TraceHistory::TraceHistory(std::size_t byteLimit)
    : enabled_(byteLimit > 0), steps_(byteLimit / 4 * 3 / sizeof(TracePosition)),
      writes_(std::max<std::size_t>(byteLimit / 4 / sizeof(TraceWrite), 4096)) {}

void TraceHistory::clear() {
    haveCurrent_ = false;
    dropped_ = false;
    steps_.clear();
    writes_.clear();
    writesStart_ = 0;
}

void TraceHistory::positionReached(const TracePosition& position) {
    if (!enabled_) {
        return;
    }
    if (haveCurrent_) {
        if (steps_.full()) {
            dropOldestStep();
        }
        steps_.pushBack(current_);
    } else {
        // Writes before the first position belong to no step that can be undone.
        writesStart_ += writes_.size();
        writes_.clear();
    }
    current_ = position;
    current_.firstWrite = writesEnd();
    haveCurrent_ = true;
}

void TraceHistory::dropOldestStep() {
    steps_.popFront();
    dropped_ = true;
    const std::uint64_t kept = steps_.empty() ? current_.firstWrite : steps_.front().firstWrite;
    while (writesStart_ < kept && !writes_.empty()) {
        writes_.popFront();
        ++writesStart_;
    }
}

void TraceHistory::makeRoomForWrite() {
    while (writes_.full() && !steps_.empty()) {
        dropOldestStep();
    }
    if (writes_.full()) {
        // The step under way alone wrote more than the ring holds (no program does: an `IN`
        // writes at most a few thousand words): it cannot be undone, nor anything before it.
        dropped_ = true;
        haveCurrent_ = false;
        writesStart_ += writes_.size();
        writes_.clear();
    }
}

} // namespace casl
