#pragma once

#include "grading/check_case.h"

#include <cstdint>

namespace casl::check {

/// The stream of numbers generated cases are drawn from: splitmix64, written out so that a
/// seed gives the same numbers on every machine and with every standard library.
class CaseRandom {
public:
    /// The stream of case `index` (from 1) of a section with `seed`; each case has a stream
    /// of its own, so that one case can be made again without the others.
    CaseRandom(std::uint64_t seed, std::int64_t index);

    /// The next 64 bits.
    std::uint64_t next();
    /// A number from `min` to `max` (inclusive; `min` <= `max`), every one equally likely.
    std::int64_t between(std::int64_t min, std::int64_t max);

private:
    std::uint64_t state_;
};

/// Case `index` (from 1 to `section.count`) of `section`: its name, IN lines, set-up data and
/// registers at the call; no expectations yet.
CheckCase generatedCase(const GenerateSection& section, std::int32_t index);

} // namespace casl::check
