#include "cli/check/reports.h"
#include "cli/json_text.h"

#include <nlohmann/json.hpp>

namespace casl::check {
namespace {

using Json = nlohmann::ordered_json;

/// The version of the report's layout; it changes when a field changes its meaning.
constexpr int reportVersion = 1;

Json textOrNull(const std::string& text) {
    return text.empty() ? Json(nullptr) : Json(text);
}

Json caseJson(const CaseResult& c) {
    Json mismatches = Json::array();
    for (const Mismatch& m : c.mismatches) {
        Json first = nullptr;
        if (m.firstDifference) {
            first = {{"at", m.firstDifference->at},
                     {"expected", m.firstDifference->expected},
                     {"actual", m.firstDifference->actual}};
        }
        mismatches.push_back({{"what", m.what},
                              {"expected", m.expected},
                              {"actual", m.actual},
                              {"file_line", m.fileLine == 0 ? Json(nullptr) : Json(m.fileLine)},
                              {"first_difference", first}});
    }
    const bool ran = !c.ending.empty();
    return {
        {"name", c.name},
        {"passed", c.passed},
        {"problem", textOrNull(c.problem)},
        {"mismatches", mismatches},
        {"ending", textOrNull(c.ending)},
        {"ending_message", textOrNull(c.endingMessage)},
        {"steps", ran ? Json(c.steps) : Json(nullptr)},
        {"output", ran ? Json(c.output) : Json(nullptr)},
        {"seconds", c.seconds},
        {"points", c.points()},
        {"max_points", c.maxPoints},
        {"hidden", c.hidden},
        {"inputs", c.inputs},
        {"given", textOrNull(c.given)},
        {"fixed_case", textOrNull(c.fixedCase)},
    };
}

} // namespace

std::string jsonReport(const std::vector<ProgramResult>& results, std::string_view testsPath) {
    const Totals t = totalsOf(results);
    Json programs = Json::array();
    for (const ProgramResult& p : results) {
        Json cases = Json::array();
        for (const CaseResult& c : p.cases) {
            cases.push_back(caseJson(c));
        }
        programs.push_back({
            {"name", p.name},
            {"passed", p.passed()},
            {"cases_passed", p.passedCount()},
            {"cases_total", p.caseCount()},
            {"problem", textOrNull(p.problem)},
            {"seconds", p.seconds},
            {"score", p.score()},
            {"max_score", p.maxScore()},
            {"cases", cases},
        });
    }
    const Json report = {
        {"version", reportVersion},
        {"tests", std::string(testsPath)},
        {"summary",
         {
             {"passed", t.programsPassed == t.programs},
             {"programs", t.programs},
             {"programs_passed", t.programsPassed},
             {"cases", t.cases},
             {"cases_passed", t.casesPassed},
             {"score", t.score},
             {"max_score", t.maxScore},
         }},
        {"programs", programs},
    };
    return cli::jsonText(report);
}

} // namespace casl::check
