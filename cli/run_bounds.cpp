#include "cli/run_bounds.h"

#include <ostream>

namespace casl::cli {

bool RunBounds::mayPrint(std::size_t bytes) {
    if (stop() != RunStop::None) {
        return false;
    }
    if (static_cast<std::uint64_t>(printed_) + bytes >
        static_cast<std::uint64_t>(maxOutputBytes_)) {
        stop_ = RunStop::OutputBound;
        return false;
    }
    printed_ += static_cast<std::int64_t>(bytes);
    return true;
}

RunStop RunBounds::stop(bool readClockNow) {
    if (stop_ == RunStop::None) {
        if (out_.fail()) {
            stop_ = RunStop::OutputLost;
        } else if (readClockNow ? deadline_.passedNow() : deadline_.passed()) {
            stop_ = RunStop::TimeLimit;
        }
    }
    return stop_;
}

} // namespace casl::cli
