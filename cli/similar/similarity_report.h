#pragma once

#include "similarity/pair_similarity.h"
#include "similarity/similar_pairs.h"

#include <string>
#include <vector>

namespace casl::similar {

/// A pair as the reports show it: the pair and its lines alike.
struct ShownPair {
    similarity::SimilarPair pair;
    std::vector<similarity::LinePair> lines;
};

/// What every format of the report holds.
struct SimilarityReport {
    /// Every program named, in the order read; the ones not compared carry their problem.
    std::vector<similarity::ProgramFingerprint> programs;
    /// The pairs shown, most alike first.
    std::vector<ShownPair> pairs;
    /// How many pairs were compared (both programs assembled).
    std::size_t comparedPairs = 0;
};

/// The report as text in 80 columns: the ranking, the programs not compared, then each pair's
/// lines alike side by side.
std::string similarityText(const SimilarityReport& report);

/// The report as one JSON object (keys in the README).
std::string similarityJson(const SimilarityReport& report);

/// The report as one HTML page that needs no network and no script.
std::string similarityHtml(const SimilarityReport& report);

/// A score as the reports print it: percent with one decimal ("87.5").
std::string scoreText(double score);

} // namespace casl::similar
