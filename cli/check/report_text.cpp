#include "cli/check/reports.h"
#include "platform/text_codec.h"

#include <algorithm>
#include <iomanip>
#include <sstream>

namespace casl::check {
namespace {

/// Names are padded to a common width, counted in characters.
constexpr std::size_t widestName = 40;

std::size_t characters(std::string_view utf8) {
    return platform::fromUtf8(utf8).size();
}

std::string mismatchText(const Mismatch& m) {
    return m.what + ": expected " + m.expected + " | got " + m.actual;
}

} // namespace

Totals totalsOf(const std::vector<ProgramResult>& results) {
    Totals t;
    for (const ProgramResult& p : results) {
        ++t.programs;
        t.programsPassed += p.passed() ? 1 : 0;
        t.cases += p.caseCount();
        t.casesPassed += p.passedCount();
        t.score += p.score();
        t.maxScore += p.maxScore();
        for (const CaseResult& c : p.cases) {
            t.weighted = t.weighted || c.maxPoints != 1;
        }
    }
    return t;
}

std::string pointsText(double points) {
    std::ostringstream text;
    text << std::setprecision(15) << points;
    return text.str();
}

std::string summaryLine(const Totals& t) {
    return std::to_string(t.programsPassed) + " of " + std::to_string(t.programs) +
           (t.programs == 1 ? " program" : " programs") + " passed every case; " +
           std::to_string(t.casesPassed) + " of " + std::to_string(t.cases) +
           (t.cases == 1 ? " case" : " cases") + " passed" +
           (t.weighted ? "; " + pointsText(t.score) + " of " + pointsText(t.maxScore) + " points"
                       : "");
}

std::string failureText(const CaseResult& r) {
    if (!r.problem.empty()) {
        return r.problem;
    }
    if (r.mismatches.empty()) {
        return "";
    }
    std::string text = mismatchText(r.mismatches.front());
    if (r.mismatches.size() > 1) {
        text += " (and " + std::to_string(r.mismatches.size() - 1) + " more)";
    }
    return text;
}

std::string studentDetails(const CaseResult& r) {
    if (r.passed || r.hidden) {
        return "";
    }
    std::string text = r.problem.empty() ? "" : r.problem + "\n";
    for (const Mismatch& m : r.mismatches) {
        text += mismatchText(m) + "\n";
    }
    return text;
}

std::string textReport(const std::vector<ProgramResult>& results, bool verbose) {
    std::size_t nameWidth = 0;
    std::size_t countWidth = 0;
    for (const ProgramResult& p : results) {
        nameWidth = std::max(nameWidth, std::min(characters(p.name), widestName));
        const std::string counts =
            std::to_string(p.passedCount()) + "/" + std::to_string(p.caseCount());
        countWidth = std::max(countWidth, counts.size());
    }
    std::string out;
    for (const ProgramResult& p : results) {
        out += p.name + std::string(nameWidth - std::min(nameWidth, characters(p.name)), ' ');
        const std::string counts =
            std::to_string(p.passedCount()) + "/" + std::to_string(p.caseCount());
        out += "  " + std::string(countWidth - counts.size(), ' ') + counts;
        const CaseResult* first = p.firstFailure();
        if (first == nullptr) {
            out += "  passed\n";
            continue;
        }
        out += "  FAILED  case \"" + first->name + "\": " + failureText(*first) + "\n";
        if (!verbose) {
            continue;
        }
        for (const CaseResult& c : p.cases) {
            if (c.passed) {
                continue;
            }
            if (!c.problem.empty()) {
                out += "    case \"" + c.name + "\": " + c.problem + "\n";
            }
            for (const Mismatch& m : c.mismatches) {
                out += "    case \"" + c.name + "\": " + mismatchText(m) + "\n";
            }
        }
    }
    out += "\n" + summaryLine(totalsOf(results)) + "\n";
    return out;
}

} // namespace casl::check
