#include "cli/check/markup_text.h"
#include "cli/check/reports.h"

#include <cstdio>

namespace casl::check {
namespace {

std::string attr(std::string_view name, std::string_view value) {
    return " " + std::string(name) + "=\"" + xmlText(value, true) + "\"";
}

std::string seconds(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.6f", value);
    return text;
}

std::string failureBody(const CaseResult& c) {
    std::string body;
    if (!c.problem.empty()) {
        body += c.problem + "\n";
    }
    for (const Mismatch& m : c.mismatches) {
        body += m.place() + ": expected " + m.expected + " | got " + m.actual + "\n";
    }
    if (!c.ending.empty()) {
        body += "the run ended: " + c.ending + " after " + std::to_string(c.steps) + " steps\n";
    }
    return body;
}

void appendCase(std::string& out, const ProgramResult& p, const CaseResult& c) {
    out += "    <testcase" + attr("name", c.name) + attr("classname", p.name) +
           attr("time", seconds(c.seconds));
    if (c.passed) {
        out += "/>\n";
        return;
    }
    out += ">\n      <failure" + attr("message", failureText(c)) +
           attr("type", c.problem.empty() ? "mismatch" : "program") + ">" +
           xmlText(failureBody(c), false) + "</failure>\n";
    if (!c.output.empty()) {
        out += "      <system-out>" + xmlText(c.output, false) + "</system-out>\n";
    }
    out += "    </testcase>\n";
}

} // namespace

std::string junitReport(const std::vector<ProgramResult>& results, std::string_view testsPath) {
    const Totals t = totalsOf(results);
    double total = 0;
    for (const ProgramResult& p : results) {
        total += p.seconds;
    }
    std::string out = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    out += "<testsuites" + attr("name", "casl2 check " + std::string(testsPath)) +
           attr("tests", std::to_string(t.cases)) +
           attr("failures", std::to_string(t.cases - t.casesPassed)) + attr("errors", "0") +
           attr("time", seconds(total)) + ">\n";
    for (const ProgramResult& p : results) {
        out +=
            "  <testsuite" + attr("name", p.name) + attr("tests", std::to_string(p.caseCount())) +
            attr("failures", std::to_string(p.caseCount() - p.passedCount())) +
            attr("errors", "0") + attr("skipped", "0") + attr("time", seconds(p.seconds)) + ">\n";
        for (const CaseResult& c : p.cases) {
            appendCase(out, p, c);
        }
        out += "  </testsuite>\n";
    }
    out += "</testsuites>\n";
    return out;
}

} // namespace casl::check
