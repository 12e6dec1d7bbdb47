// The result files of learning platforms, each for the one program a submission holds.
#include "cli/check/markup_text.h"
#include "cli/check/reports.h"
#include "cli/json_text.h"

#include <nlohmann/json.hpp>

namespace casl::check {
namespace {

using Json = nlohmann::ordered_json;

/// The score as a fraction of the maximum; a file whose cases are worth nothing counts as full
/// marks, since nothing could be missed.
double fraction(const ProgramResult& p) {
    return p.maxScore() > 0 ? p.score() / p.maxScore() : 1.0;
}

/// One line for the whole submission: the counts, or the problem that kept every case from
/// running.
std::string overview(const ProgramResult& p) {
    if (!p.problem.empty()) {
        return p.name + ": " + p.problem;
    }
    return p.name + ": " + std::to_string(p.passedCount()) + " of " +
           std::to_string(p.caseCount()) + " cases passed, " + pointsText(p.score()) + " of " +
           pointsText(p.maxScore()) + " points";
}

std::string verdict(const CaseResult& c) {
    return c.passed ? "passed" : "failed";
}

} // namespace

std::string gradescopeReport(const ProgramResult& p) {
    Json tests = Json::array();
    for (const CaseResult& c : p.cases) {
        tests.push_back({
            {"name", c.name},
            {"score", c.points()},
            {"max_score", c.maxPoints},
            {"status", verdict(c)},
            {"output", studentDetails(c)},
            // A hidden case's verdict waits until the grades are published.
            {"visibility", c.hidden ? "after_published" : "visible"},
        });
    }
    const Json report = {
        {"score", p.score()},
        {"max_score", p.maxScore()},
        {"output", overview(p)},
        {"tests", tests},
    };
    return cli::jsonText(report);
}

std::string prairieLearnReport(const ProgramResult& p) {
    Json tests = Json::array();
    for (const CaseResult& c : p.cases) {
        tests.push_back({
            {"name", c.name},
            {"points", c.points()},
            {"max_points", c.maxPoints},
            {"message", studentDetails(c)},
        });
    }
    // A submission that cannot be read is not graded, so the student is not charged an
    // attempt for it.
    const Json report = {
        {"gradable", !p.unreadable},
        {"score", p.unreadable ? 0.0 : fraction(p)},
        {"message", overview(p)},
        {"tests", p.unreadable ? Json::array() : tests},
    };
    return cli::jsonText(report);
}

/// A text on one line of VPL's output: its line ends become blanks.
std::string oneLine(std::string text) {
    for (char& c : text) {
        c = c == '\n' || c == '\r' ? ' ' : c;
    }
    return text;
}

std::string vplReport(const ProgramResult& p) {
    std::string out = "Comment :=>>" + oneLine(overview(p)) + "\n";
    for (const CaseResult& c : p.cases) {
        out += "Comment :=>>-" + oneLine(c.name) + ": " + verdict(c) + " (" +
               pointsText(c.points()) + " of " + pointsText(c.maxPoints) + " points)\n";
        const std::string details = studentDetails(c);
        for (std::size_t begin = 0; begin < details.size();) {
            const std::size_t end = details.find('\n', begin);
            // A line that begins with '>' is shown as it is, in a fixed font.
            out += "Comment :=>>>" + details.substr(begin, end - begin) + "\n";
            begin = end + 1;
        }
    }
    return out + "Grade :=>>" + pointsText(p.score()) + "\n";
}

std::string codeRunnerReport(const ProgramResult& p) {
    Json rows = Json::array();
    rows.push_back({"iscorrect", "ishidden", "Test", "Mark", "Result"});
    for (const CaseResult& c : p.cases) {
        rows.push_back({c.passed, c.hidden, c.name,
                        pointsText(c.points()) + "/" + pointsText(c.maxPoints),
                        c.passed ? std::string("passed") : studentDetails(c)});
    }
    const Json report = {
        {"fraction", fraction(p)},
        {"testresults", rows},
        {"prologuehtml", "<p>" + htmlText(overview(p)) + "</p>"},
    };
    return cli::jsonText(report);
}

} // namespace casl::check
