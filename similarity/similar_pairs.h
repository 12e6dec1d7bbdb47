#pragma once

#include "similarity/program_fingerprint.h"

#include <cstddef>
#include <vector>

namespace casl::similarity {

/// Two compared programs (indexes into the list given) and how alike they are.
struct SimilarPair {
    std::size_t first = 0;
    std::size_t second = 0;
    /// Percent, 0 to 100.
    double score = 0;
    /// The hashes they share.
    std::size_t shared = 0;
};

/// Every pair of compared programs that shares at least one hash and scores at least
/// `minScore`, most alike first; equal scores in the order of the list (first, then second),
/// so the ranking is the same on every run. Only pairs that share a hash are scored (through an
/// index from each hash to the programs holding it), `jobs` programs at a time on threads.
std::vector<SimilarPair> similarPairs(const std::vector<ProgramFingerprint>& programs,
                                      double minScore, unsigned jobs);

} // namespace casl::similarity
