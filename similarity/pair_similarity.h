#pragma once

#include "similarity/program_fingerprint.h"

#include <cstddef>
#include <vector>

namespace casl::similarity {

/// How many hashes two sorted multisets share, each counted as often as both hold it.
std::size_t sharedHashes(const std::vector<std::uint64_t>& a, const std::vector<std::uint64_t>& b);

/// The similarity in percent of two fingerprints that share `shared` hashes: twice the shared
/// hashes over all hashes of both, so that padding either one lowers it.
double scoreOf(std::size_t shared, std::size_t sizeA, std::size_t sizeB);

/// Two instructions that stand for each other in a pair: indexes into the `lines` of each.
struct LinePair {
    std::size_t first = 0;
    std::size_t second = 0;
};

/// The longest run of instructions, in order, that the two programs have alike (equal shapes),
/// as pairs of indexes: the lines a report shows side by side. Where several runs are longest,
/// the one that pairs earlier lines of `a` is taken.
std::vector<LinePair> matchingLines(const ProgramFingerprint& a, const ProgramFingerprint& b);

} // namespace casl::similarity
