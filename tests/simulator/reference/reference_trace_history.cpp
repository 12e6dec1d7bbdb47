#include "tests/simulator/reference/reference_trace_history.h"

namespace casl::test {

// A quarter of the bound goes to the positions, which every step writes, three quarters to the
// words and slots that steps overwrite: most steps write none or one, but an `IN` may write a
// few thousand and an `RPUSH` fourteen.
ReferenceTraceHistory::ReferenceTraceHistory(std::size_t byteLimit)
    : enabled_(byteLimit > 0),
      steps_(std::max<std::size_t>(byteLimit / 4 / sizeof(ReferenceTracePosition), 2)),
      writes_(std::max<std::size_t>(byteLimit / 4 * 3 / sizeof(ReferenceTraceWrite), 4096)) {}

void ReferenceTraceHistory::clear() {
    dropped_ = false;
    steps_.clear();
    writes_.clear();
    writesStart_ = 0;
}

ReferenceTracePosition& ReferenceTraceHistory::addPosition() {
    if (steps_.empty()) {
        // Writes before the first position belong to no step that can be undone.
        writesStart_ += writes_.size();
        writes_.clear();
    } else if (steps_.full()) {
        dropOldestStep();
    }
    ReferenceTracePosition& position = steps_.emplaceBack();
    position.firstWrite = static_cast<std::uint32_t>(writesEnd());
    return position;
}

void ReferenceTraceHistory::dropOldestStep() {
    steps_.popFront();
    dropped_ = true;
    // Positions hold the low 32 bits of a write's index; fewer writes than that are ever kept.
    const std::uint32_t kept =
        steps_.empty() ? static_cast<std::uint32_t>(writesEnd()) : steps_.front().firstWrite;
    while (static_cast<std::uint32_t>(writesStart_) != kept) {
        writes_.popFront();
        ++writesStart_;
    }
}

void ReferenceTraceHistory::makeRoomForWrite() {
    while (writes_.full() && steps_.size() > 1) {
        dropOldestStep();
    }
    if (writes_.full()) {
        // The step under way alone wrote more than the ring holds (no program does: an `IN`
        // writes at most a few thousand words): it cannot be undone, nor anything before it.
        dropped_ = true;
        steps_.clear();
        writesStart_ += writes_.size();
        writes_.clear();
    }
}

} // namespace casl::test
