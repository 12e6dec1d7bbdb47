#include "similarity/pair_similarity.h"

namespace casl::similarity {

std::size_t sharedHashes(const std::vector<std::uint64_t>& a, const std::vector<std::uint64_t>& b) {
    std::size_t shared = 0;
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < a.size() && j < b.size()) {
        if (a[i] < b[j]) {
            ++i;
        } else if (b[j] < a[i]) {
            ++j;
        } else {
            ++shared;
            ++i;
            ++j;
        }
    }
    return shared;
}

double scoreOf(std::size_t shared, std::size_t sizeA, std::size_t sizeB) {
    if (sizeA + sizeB == 0) {
        return 0;
    }
    return 200.0 * static_cast<double>(shared) / static_cast<double>(sizeA + sizeB);
}

std::vector<LinePair> matchingLines(const ProgramFingerprint& a, const ProgramFingerprint& b) {
    // A longest common subsequence by its table; programs have at most 300 lines, so the table
    // holds at most 90,000 entries.
    const std::size_t n = a.lines.size();
    const std::size_t m = b.lines.size();
    std::vector<std::vector<unsigned>> after(n + 1, std::vector<unsigned>(m + 1, 0));
    for (std::size_t i = n; i-- > 0;) {
        for (std::size_t j = m; j-- > 0;) {
            after[i][j] = a.lines[i].shape == b.lines[j].shape
                              ? after[i + 1][j + 1] + 1
                              : std::max(after[i + 1][j], after[i][j + 1]);
        }
    }
    std::vector<LinePair> pairs;
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < n && j < m) {
        if (a.lines[i].shape == b.lines[j].shape && after[i][j] == after[i + 1][j + 1] + 1) {
            pairs.push_back({i, j});
            ++i;
            ++j;
        } else if (after[i + 1][j] >= after[i][j + 1]) {
            ++i;
        } else {
            ++j;
        }
    }
    return pairs;
}

} // namespace casl::similarity
