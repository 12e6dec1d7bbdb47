// The ranking of a class: disguised copies above every pair of solutions written apart, the
// same order on every run, and the lines alike of a pair.
#include "platform/source_file.h"
#include "similarity/pair_similarity.h"
#include "similarity/similar_pairs.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <gtest/gtest.h>
#include <ostream>

namespace casl::similarity {
namespace {

namespace fs = std::filesystem;

/// Every program of the corpus, named "exercise/file.cas", sorted by name.
std::vector<ProgramFingerprint> corpus() {
    std::vector<fs::path> paths;
    for (const auto& entry : fs::recursive_directory_iterator(CASL_SIMILARITY_CORPUS)) {
        if (entry.path().extension() == ".cas") {
            paths.push_back(entry.path());
        }
    }
    std::sort(paths.begin(), paths.end());
    std::vector<ProgramFingerprint> programs;
    for (const fs::path& path : paths) {
        const auto source = platform::readSourceFile(path);
        const std::string name = fs::relative(path, CASL_SIMILARITY_CORPUS).generic_string();
        programs.push_back(fingerprintOf(name, std::get<platform::SourceText>(source).text));
    }
    return programs;
}

std::size_t indexOf(const std::vector<ProgramFingerprint>& programs, const std::string& name) {
    const auto found = std::find_if(programs.begin(), programs.end(),
                                    [&](const ProgramFingerprint& p) { return p.name == name; });
    EXPECT_NE(found, programs.end()) << name;
    return static_cast<std::size_t>(found - programs.begin());
}

double pairScore(const ProgramFingerprint& a, const ProgramFingerprint& b) {
    return scoreOf(sharedHashes(a.hashes, b.hashes), a.hashes.size(), b.hashes.size());
}

bool isCopy(const std::string& name) {
    return name.find("/copy-of-") != std::string::npos;
}

/// The highest score of two solutions written apart, of the same exercise or not.
double bestIndependentScore(const std::vector<ProgramFingerprint>& programs) {
    double best = 0;
    for (std::size_t i = 0; i < programs.size(); ++i) {
        for (std::size_t j = i + 1; j < programs.size(); ++j) {
            if (!isCopy(programs[i].name) && !isCopy(programs[j].name)) {
                best = std::max(best, pairScore(programs[i], programs[j]));
            }
        }
    }
    return best;
}

struct CopyCase {
    std::string copy;
    std::string original;
};

void PrintTo(const CopyCase& c, std::ostream* os) {
    *os << c.copy;
}

class DisguisedCopy : public testing::TestWithParam<CopyCase> {};

TEST_P(DisguisedCopy, RanksAboveEveryPairOfSolutionsWrittenApart) {
    const auto programs = corpus();
    const ProgramFingerprint& copy = programs[indexOf(programs, GetParam().copy)];
    const ProgramFingerprint& original = programs[indexOf(programs, GetParam().original)];
    ASSERT_TRUE(copy.compared()) << copy.problem;
    EXPECT_GT(pairScore(copy, original), bestIndependentScore(programs));
}

TEST_P(DisguisedCopy, HasItsOriginalAsItsMostAlikeProgram) {
    const auto programs = corpus();
    const std::size_t copy = indexOf(programs, GetParam().copy);
    const std::size_t original = indexOf(programs, GetParam().original);
    for (std::size_t other = 0; other < programs.size(); ++other) {
        if (other != copy && other != original && !isCopy(programs[other].name)) {
            EXPECT_GT(pairScore(programs[copy], programs[original]),
                      pairScore(programs[copy], programs[other]))
                << programs[other].name;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Corpus, DisguisedCopy,
    testing::Values(CopyCase{"sum/copy-of-solution-a-renamed.cas", "sum/solution-a.cas"},
                    CopyCase{"sum/copy-of-solution-b-padded.cas", "sum/solution-b.cas"},
                    CopyCase{"sum/copy-of-solution-c-dead-code.cas", "sum/solution-c.cas"},
                    CopyCase{"bits/copy-of-solution-a-registers.cas", "bits/solution-a.cas"},
                    CopyCase{"bits/copy-of-solution-b-data.cas", "bits/solution-b.cas"},
                    CopyCase{"reverse/copy-of-solution-b-everything.cas",
                             "reverse/solution-b.cas"}),
    [](const testing::TestParamInfo<CopyCase>& info) {
        std::string name = info.param.copy.substr(0, info.param.copy.size() - 4);
        std::replace_if(
            name.begin(), name.end(), [](char c) { return !std::isalnum(c); }, '_');
        return name;
    });

TEST(SimilarPairs, RankTheCopiesFirst) {
    const auto programs = corpus();
    const std::vector<SimilarPair> pairs = similarPairs(programs, 0, 2);
    const std::size_t copies = static_cast<std::size_t>(std::count_if(
        programs.begin(), programs.end(), [](const auto& p) { return isCopy(p.name); }));
    ASSERT_GE(pairs.size(), copies);
    for (std::size_t i = 0; i < copies; ++i) {
        EXPECT_TRUE(isCopy(programs[pairs[i].first].name) || isCopy(programs[pairs[i].second].name))
            << "rank " << i + 1 << ": " << programs[pairs[i].first].name << " ~ "
            << programs[pairs[i].second].name;
    }
}

TEST(SimilarPairs, AreTheSameOnEveryRunWhateverTheThreads) {
    const auto programs = corpus();
    const auto one = similarPairs(programs, 0, 1);
    for (const unsigned jobs : {2U, 3U, 8U}) {
        const auto again = similarPairs(programs, 0, jobs);
        ASSERT_EQ(again.size(), one.size()) << jobs << " threads";
        for (std::size_t i = 0; i < one.size(); ++i) {
            EXPECT_EQ(again[i].first, one[i].first) << jobs << " threads, rank " << i + 1;
            EXPECT_EQ(again[i].second, one[i].second) << jobs << " threads, rank " << i + 1;
            EXPECT_EQ(again[i].score, one[i].score);
        }
    }
}

TEST(SimilarPairs, ScoreEveryPairThatSharesAHashAsAPairByPairComparisonDoes) {
    const auto programs = corpus();
    const auto pairs = similarPairs(programs, 0, 2);
    std::size_t sharing = 0;
    for (std::size_t i = 0; i < programs.size(); ++i) {
        for (std::size_t j = i + 1; j < programs.size(); ++j) {
            if (sharedHashes(programs[i].hashes, programs[j].hashes) > 0) {
                ++sharing;
            }
        }
    }
    EXPECT_EQ(pairs.size(), sharing);
    for (const SimilarPair& p : pairs) {
        EXPECT_LT(p.first, p.second);
        EXPECT_DOUBLE_EQ(p.score, pairScore(programs[p.first], programs[p.second]));
    }
}

TEST(SimilarPairs, LeaveOutPairsBelowTheLeastScoreAndProgramsNotCompared) {
    auto programs = corpus();
    programs.push_back(unreadableProgram("gone.cas", "cannot be read"));
    const auto pairs = similarPairs(programs, 50, 2);
    ASSERT_FALSE(pairs.empty());
    for (const SimilarPair& p : pairs) {
        EXPECT_GE(p.score, 50);
        EXPECT_NE(p.second, programs.size() - 1);
    }
}

TEST(SharedHashes, CountARepeatedHashAsOftenAsBothHoldIt) {
    EXPECT_EQ(sharedHashes({1, 1, 1, 4}, {1, 1, 3, 4}), 3U);
    EXPECT_EQ(sharedHashes({}, {1}), 0U);
    EXPECT_DOUBLE_EQ(scoreOf(0, 0, 0), 0);
    EXPECT_DOUBLE_EQ(scoreOf(3, 4, 4), 75);
}

TEST(MatchingLines, PairTheInstructionsAlikeInOrderPastTheOnesAdded) {
    const ProgramFingerprint a =
        fingerprintOf("a", U"A START\n LAD GR1,1\n LAD GR2,2\n ADDA GR1,GR2\n RET\n END\n");
    const ProgramFingerprint b = fingerprintOf(
        "b", U"B START\n LAD GR3,1\n SLL GR3,1\n LAD GR4,2\n ADDA GR3,GR4\n RET\n END\n");
    const std::vector<LinePair> lines = matchingLines(a, b);
    ASSERT_EQ(lines.size(), 4U);
    const std::vector<std::pair<std::size_t, std::size_t>> expected{{0, 0}, {1, 2}, {2, 3}, {3, 4}};
    for (std::size_t i = 0; i < lines.size(); ++i) {
        EXPECT_EQ(lines[i].first, expected[i].first) << i;
        EXPECT_EQ(lines[i].second, expected[i].second) << i;
    }
    EXPECT_TRUE(matchingLines(a, unreadableProgram("c", "cannot be read")).empty());
}

} // namespace
} // namespace casl::similarity
