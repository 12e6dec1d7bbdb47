// What an explained run keeps beside its steps: the writer of every machine value.
#include "simulator/trace_session.h"

#include <bit>

namespace casl {

void TraceSession::noteMachineWriters() {
    const DecodedLine& d = program_.line(executedLine_);
    unsigned writes = d.writes;
    if (d.writesOnlyWhenMoving && machine_.currentLine == executedLine_) {
        writes = 0;
    }
    while (writes != 0) {
        const int value = std::countr_zero(writes);
        writes &= writes - 1;
        noteWriter(static_cast<std::uint16_t>(machinePlace | value), provenance_->machine(value));
    }
}

} // namespace casl
