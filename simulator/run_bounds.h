#pragma once

#include "simulator/deadline.h"

#include <cstddef>
#include <cstdint>
#include <optional>

namespace casl {

struct MachineState;

/// Why a scripted run was stopped before it ended by itself.
enum class RunStop {
    None,        ///< It may go on.
    OutputBound, ///< Its output passed its bound: the `OUT` text, or what its host printed.
    TimeLimit,   ///< It took longer than its time limit.
    OutputLost,  ///< What it prints no longer reaches anyone (a full disk, a closed output).
};

/// What a scripted run may do besides its steps: grow its `OUT` text up to a bound, let its host
/// print up to a number of bytes, take up to a time, and go on only while its output can be
/// written. Once a bound is reached it stays reached.
class RunBounds {
public:
    struct Limits {
        /// The characters the `OUT` text may hold (CR LF counting two); none: no bound.
        std::optional<std::int64_t> outputText;
        /// The bytes the host may print; none: no bound.
        std::optional<std::int64_t> printedBytes;
        /// The wall-clock time of the run; none: no limit.
        std::optional<double> timeLimitSeconds;
    };

    explicit RunBounds(const Limits& limits)
        : outputText_(limits.outputText), printedBytes_(limits.printedBytes),
          deadline_(limits.timeLimitSeconds) {}

    /// Whether the host may print `bytes` more; they are counted when it may. A refusal stops
    /// the run.
    bool mayPrint(std::size_t bytes);

    /// The host's output no longer reaches anyone: the run stops.
    void outputLost() { reach(RunStop::OutputLost); }

    /// Why the run on `machine` must stop now; `RunStop::None` while it may go on.
    /// `readClockNow` reads the clock at once instead of at every 64th question.
    RunStop stop(const MachineState& machine, bool readClockNow = false);

    /// The bound that stopped the run so far, without asking again.
    RunStop reached() const { return stop_; }

private:
    void reach(RunStop stop) {
        if (stop_ == RunStop::None) {
            stop_ = stop;
        }
    }

    std::optional<std::int64_t> outputText_;
    std::optional<std::int64_t> printedBytes_;
    std::int64_t printed_ = 0;
    Deadline deadline_;
    RunStop stop_ = RunStop::None;
};

} // namespace casl
