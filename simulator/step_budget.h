#pragma once

#include <cstdint>

namespace casl {

/// The step budget of a run that names none (`casl2 run`, a case of `casl2 check`).
inline constexpr std::int64_t defaultMaxSteps = 100'000;
/// The largest step budget that may be given: some twenty seconds of steps on a current
/// machine. The step question of every 101 steps stops a run, so a larger budget only lets an
/// endless loop go on longer.
inline constexpr std::int64_t maxStepsBound = 1'000'000'000;

} // namespace casl
