#include "simulator/run_bounds.h"

#include "simulator/machine_state.h"

namespace casl {

bool RunBounds::mayPrint(std::size_t bytes) {
    if (stop_ == RunStop::None && deadline_.passed()) {
        reach(RunStop::TimeLimit);
    }
    if (stop_ != RunStop::None) {
        return false;
    }
    if (printedBytes_ &&
        static_cast<std::uint64_t>(printed_) + bytes > static_cast<std::uint64_t>(*printedBytes_)) {
        reach(RunStop::OutputBound);
        return false;
    }
    printed_ += static_cast<std::int64_t>(bytes);
    return true;
}

RunStop RunBounds::stop(const MachineState& machine, bool readClockNow) {
    if (stop_ == RunStop::None) {
        if (outputText_ && static_cast<std::int64_t>(machine.outputText.size()) > *outputText_) {
            reach(RunStop::OutputBound);
        } else if (readClockNow ? deadline_.passedNow() : deadline_.passed()) {
            reach(RunStop::TimeLimit);
        }
    }
    return stop_;
}

} // namespace casl
