#pragma once

#include <chrono>
#include <optional>

namespace casl {

/// A wall-clock limit that a run asks about at every step. The clock is read only at every
/// 64th question, since a step takes some tens of nanoseconds; once passed it stays passed.
class Deadline {
public:
    using Clock = std::chrono::steady_clock;

    /// `seconds` from now; none: no limit.
    explicit Deadline(std::optional<double> seconds) {
        if (seconds) {
            end_ = Clock::now() + std::chrono::duration_cast<Clock::duration>(
                                      std::chrono::duration<double>(*seconds));
        }
    }

    /// Whether the limit has passed.
    bool passed() {
        if (!passed_ && end_ && (++questions_ % 64 == 0)) {
            passed_ = Clock::now() >= *end_;
        }
        return passed_;
    }

    /// Whether the limit has passed, reading the clock now: for the rare questions (the step
    /// question of every 101 steps).
    bool passedNow() {
        if (!passed_ && end_) {
            passed_ = Clock::now() >= *end_;
        }
        return passed_;
    }

private:
    std::optional<Clock::time_point> end_;
    unsigned questions_ = 0;
    bool passed_ = false;
};

} // namespace casl
