#include "cli/json_text.h"
#include "cli/similar/similarity_report.h"

#include <cmath>

namespace casl::similar {
namespace {

using Json = nlohmann::ordered_json;

/// Raised when a key changes meaning or goes away.
constexpr int reportVersion = 1;

Json programJson(const similarity::ProgramFingerprint& program) {
    Json json = {{"name", program.name}, {"compared", program.compared()}};
    if (program.compared()) {
        json["instructions"] = program.lines.size();
    } else {
        json["problem"] = program.problem;
    }
    return json;
}

Json pairJson(const SimilarityReport& report, const ShownPair& p, std::size_t rank) {
    const auto& a = report.programs[p.pair.first];
    const auto& b = report.programs[p.pair.second];
    Json lines = Json::array();
    for (const similarity::LinePair& line : p.lines) {
        lines.push_back({{"first_line", a.lines[line.first].fileLine},
                         {"first_text", a.lines[line.first].text},
                         {"second_line", b.lines[line.second].fileLine},
                         {"second_text", b.lines[line.second].text}});
    }
    return {{"rank", rank},
            {"first", a.name},
            {"second", b.name},
            {"score", std::round(p.pair.score * 10) / 10},
            {"shared_hashes", p.pair.shared},
            {"lines", lines}};
}

} // namespace

std::string similarityJson(const SimilarityReport& report) {
    Json programs = Json::array();
    for (const auto& program : report.programs) {
        programs.push_back(programJson(program));
    }
    Json pairs = Json::array();
    for (std::size_t i = 0; i < report.pairs.size(); ++i) {
        pairs.push_back(pairJson(report, report.pairs[i], i + 1));
    }
    const Json json = {{"version", reportVersion},
                       {"programs", programs},
                       {"compared_pairs", report.comparedPairs},
                       {"pairs", pairs}};
    return cli::jsonText(json);
}

} // namespace casl::similar
