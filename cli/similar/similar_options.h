#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace casl::similar {

enum class SimilarFormat { Text, Json, Html };

/// The arguments of `casl2 similar`.
struct SimilarOptions {
    /// Folders of programs (searched with their sub-folders) and single programs.
    std::vector<std::string> places;
    SimilarFormat format = SimilarFormat::Text;
    /// How many of the most alike pairs the report shows.
    std::size_t top = 10;
    /// The lowest score, in percent, of a pair that the report shows.
    double minScore = 0;
    /// Where the report goes; empty: standard output.
    std::string outputPath;
    /// Programs compared at once; 0: one per core.
    unsigned jobs = 0;
};

} // namespace casl::similar
