#pragma once

#include "simulator/deadline.h"

#include <cstddef>
#include <cstdint>
#include <iosfwd>
#include <optional>

namespace casl::cli {

/// Why `casl2 run` stopped a run that had not ended by itself.
enum class RunStop {
    None,        ///< It may go on.
    OutputBound, ///< It would have printed more than `--max-output` bytes.
    TimeLimit,   ///< It took longer than `--time-limit`.
    OutputLost,  ///< Its output no longer reaches anyone (a full disk, a closed output).
};

/// What a run may do besides its steps: print up to a number of bytes, take up to a time, and
/// go on only while its output can be written. Once a bound is reached it stays reached.
class RunBounds {
public:
    RunBounds(std::int64_t maxOutputBytes, std::optional<double> timeLimitSeconds,
              const std::ostream& out)
        : maxOutputBytes_(maxOutputBytes), deadline_(timeLimitSeconds), out_(out) {}

    /// Whether `bytes` more may be printed; they are counted when they may. A refusal stops
    /// the run.
    bool mayPrint(std::size_t bytes);

    /// Why the run must stop now; `RunStop::None` while it may go on. `readClockNow` reads the
    /// clock at once instead of at every 64th question.
    RunStop stop(bool readClockNow = false);

    /// The bound that stopped the run so far, without asking again.
    RunStop reached() const { return stop_; }

private:
    std::int64_t maxOutputBytes_;
    std::int64_t printed_ = 0;
    Deadline deadline_;
    const std::ostream& out_;
    RunStop stop_ = RunStop::None;
};

} // namespace casl::cli
