#include "similarity/similar_pairs.h"

#include "similarity/pair_similarity.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <mutex>
#include <thread>

namespace casl::similarity {
namespace {

/// A hash that a program holds, and how often.
struct Posting {
    std::uint64_t hash = 0;
    std::size_t program = 0;
    std::size_t count = 0;

    bool operator<(const Posting& other) const {
        return hash != other.hash ? hash < other.hash : program < other.program;
    }
};

/// From each hash to the programs that hold it: the postings sorted by hash, then program.
std::vector<Posting> postingsOf(const std::vector<ProgramFingerprint>& programs) {
    std::vector<Posting> postings;
    for (std::size_t p = 0; p < programs.size(); ++p) {
        const std::vector<std::uint64_t>& hashes = programs[p].hashes;
        for (std::size_t i = 0; i < hashes.size();) {
            std::size_t j = i;
            while (j < hashes.size() && hashes[j] == hashes[i]) {
                ++j;
            }
            postings.push_back({hashes[i], p, j - i});
            i = j;
        }
    }
    std::sort(postings.begin(), postings.end());
    return postings;
}

/// The pairs of program `p` with the programs after it: the hashes they share are counted
/// along the postings of p's hashes.
class PairCounter {
public:
    PairCounter(const std::vector<ProgramFingerprint>& programs,
                const std::vector<Posting>& postings, double minScore)
        : programs_(programs), postings_(postings), minScore_(minScore),
          shared_(programs.size(), 0) {}

    void countFrom(std::size_t p, std::vector<SimilarPair>& into) {
        const std::vector<std::uint64_t>& hashes = programs_[p].hashes;
        for (std::size_t i = 0; i < hashes.size();) {
            std::size_t j = i;
            while (j < hashes.size() && hashes[j] == hashes[i]) {
                ++j;
            }
            const std::size_t mine = j - i;
            auto it =
                std::upper_bound(postings_.begin(), postings_.end(), Posting{hashes[i], p, 0});
            for (; it != postings_.end() && it->hash == hashes[i]; ++it) {
                if (shared_[it->program] == 0) {
                    touched_.push_back(it->program);
                }
                shared_[it->program] += std::min(mine, it->count);
            }
            i = j;
        }
        for (const std::size_t q : touched_) {
            const double score =
                scoreOf(shared_[q], programs_[p].hashes.size(), programs_[q].hashes.size());
            if (score >= minScore_) {
                into.push_back({p, q, score, shared_[q]});
            }
            shared_[q] = 0;
        }
        touched_.clear();
    }

private:
    const std::vector<ProgramFingerprint>& programs_;
    const std::vector<Posting>& postings_;
    double minScore_;
    std::vector<std::size_t> shared_;
    std::vector<std::size_t> touched_;
};

} // namespace

std::vector<SimilarPair> similarPairs(const std::vector<ProgramFingerprint>& programs,
                                      double minScore, unsigned jobs) {
    const std::vector<Posting> postings = postingsOf(programs);
    std::atomic<std::size_t> next{0};
    std::mutex gathering;
    std::vector<SimilarPair> pairs;
    std::exception_ptr failure;
    const auto work = [&] {
        try {
            PairCounter counter(programs, postings, minScore);
            std::vector<SimilarPair> found;
            for (std::size_t p = next++; p < programs.size(); p = next++) {
                counter.countFrom(p, found);
            }
            const std::lock_guard lock(gathering);
            pairs.insert(pairs.end(), found.begin(), found.end());
        } catch (...) {
            const std::lock_guard lock(gathering);
            failure = std::current_exception();
        }
    };
    {
        std::vector<std::jthread> threads;
        for (std::size_t t = 1; t < std::min<std::size_t>(jobs, programs.size()); ++t) {
            threads.emplace_back(work);
        }
        work();
    }
    if (failure) {
        std::rethrow_exception(failure);
    }
    std::sort(pairs.begin(), pairs.end(), [](const SimilarPair& a, const SimilarPair& b) {
        if (a.score != b.score) {
            return a.score > b.score;
        }
        return a.first != b.first ? a.first < b.first : a.second < b.second;
    });
    return pairs;
}

} // namespace casl::similarity
