#pragma once

#include <cstdint>

namespace casl::similarity {

/// Mixes `value` into `seed`. The same on every machine and in every run, so that the ranking
/// of a class never depends on where it was computed.
constexpr std::uint64_t mixed(std::uint64_t seed, std::uint64_t value) {
    std::uint64_t x = seed ^ (value + 0x9E3779B97F4A7C15ULL + (seed << 6) + (seed >> 2));
    x ^= x >> 30;
    x *= 0xBF58476D1CE4E5B9ULL;
    x ^= x >> 27;
    x *= 0x94D049BB133111EBULL;
    x ^= x >> 31;
    return x;
}

} // namespace casl::similarity
