#include "simulator/trace_history.h"

namespace casl {

// A quarter of the bound goes to the positions, which every step writes, three quarters to the
// words and slots that steps overwrite: most steps write none or one, but an `IN` may write a
// few thousand and an `RPUSH` fourteen.
TraceHistory::TraceHistory(std::size_t byteLimit)
    : enabled_(byteLimit > 0),
      steps_(std::max<std::size_t>(byteLimit / 4 / sizeof(TracePosition), 2)),
      writes_(std::max<std::size_t>(byteLimit / 4 * 3 / sizeof(TraceWrite), 4096)) {}

void TraceHistory::clear() {
    dropped_ = false;
    steps_.clear();
    writes_.clear();
    writesStart_ = 0;
}

TracePosition& TraceHistory::firstPosition() {
    // The records before the first position are its step's.
    TracePosition& position = steps_.emplaceBack();
    position.firstWrite = static_cast<std::uint32_t>(writesEnd());
    return position;
}

void TraceHistory::makeRoomForWrite() {
    while (writes_.full() && steps_.size() > 1) {
        dropOldestStep();
    }
    if (writes_.full() && !steps_.empty()) {
        // What the step that led to the one position left wrote and read goes next.
        const std::uint32_t dropped =
            steps_.front().firstWrite - static_cast<std::uint32_t>(writesStart_);
        writes_.dropFront(dropped);
        writesStart_ += dropped;
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

} // namespace casl
