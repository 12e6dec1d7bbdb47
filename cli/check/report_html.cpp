// The class report to look at: one HTML file that needs no network and no script.
#include "cli/check/markup_text.h"
#include "cli/check/reports.h"
#include "cli/check/terminal_columns.h"
#include "grading/word_text.h"
#include "platform/text_codec.h"

#include <algorithm>
#include <cmath>

namespace casl::check {
namespace {

/// The page's colours, for a light and a dark system setting; every text reaches 4.5:1 on its
/// background in both.
constexpr std::string_view style = R"(
:root { color-scheme: light dark; --text: #1b1b1b; --muted: #4a4a4a; --page: #ffffff;
  --panel: #f3f4f6; --line: #c9ccd1; --bar: #1f6f43; --track: #dfe3e8; --fail: #a4161a;
  --pass: #1f6f43; --mark: #fff1c2; }
@media (prefers-color-scheme: dark) {
  :root { --text: #ececec; --muted: #b8b8b8; --page: #16181b; --panel: #22262b;
    --line: #454b53; --bar: #5ccf8a; --track: #353a41; --fail: #ff8a8a; --pass: #7be0a3;
    --mark: #4a3f12; }
}
body { margin: 0; background: var(--page); color: var(--text);
  font: 15px/1.5 system-ui, "IPAGothic", "Noto Sans CJK JP", sans-serif; }
main { max-width: 72rem; margin: 0 auto; padding: 1rem 1.5rem 3rem; }
h1 { font-size: 1.5rem; margin: 0.5rem 0; }
h2 { font-size: 1.2rem; margin-top: 2rem; border-bottom: 1px solid var(--line); }
h3 { font-size: 1.05rem; margin: 1.5rem 0 0.5rem; }
code, pre { font-family: ui-monospace, "DejaVu Sans Mono", "Noto Sans Mono CJK JP", monospace; }
pre { margin: 0; white-space: pre-wrap; overflow-wrap: anywhere; }
table { border-collapse: collapse; margin: 0.5rem 0; }
th, td { border: 1px solid var(--line); padding: 0.25rem 0.6rem; text-align: left;
  vertical-align: top; }
thead th { background: var(--panel); }
td.number { text-align: right; font-variant-numeric: tabular-nums; }
.passed { color: var(--pass); font-weight: 600; }
.failed { color: var(--fail); font-weight: 600; }
.tag { font-size: 0.8rem; border: 1px solid var(--line); border-radius: 0.3rem;
  padding: 0 0.3rem; color: var(--muted); }
.muted { color: var(--muted); font-weight: normal; }
pre.fixed-case { font-weight: normal; margin: .4em 0 0; }
.problem { background: var(--mark); padding: 0.3rem 0.6rem; }
svg text { fill: var(--text); font-size: 13px; }
svg .track { fill: var(--track); }
svg .bar { fill: var(--bar); }
@media print { body { background: #fff; color: #000; } }
)";

constexpr int chartLabelWidth = 250;
constexpr int chartBarWidth = 400;
constexpr int chartRowHeight = 26;

std::string h(std::string_view text) {
    return htmlText(text);
}

std::string percent(int passed, int total) {
    return std::to_string(static_cast<int>(std::lround(100.0 * passed / std::max(total, 1)))) + "%";
}

struct CaseRate {
    std::string name;
    double points = 0;
    bool hidden = false;
    int passed = 0;
};

/// How many programs passed each case, in the order of the test file.
std::vector<CaseRate> caseRates(const std::vector<ProgramResult>& results) {
    std::vector<CaseRate> rates;
    if (results.empty()) {
        return rates;
    }
    for (const CaseResult& c : results.front().cases) {
        rates.push_back({c.name, c.maxPoints, c.hidden, 0});
    }
    for (const ProgramResult& p : results) {
        for (std::size_t i = 0; i < p.cases.size() && i < rates.size(); ++i) {
            rates[i].passed += p.cases[i].passed ? 1 : 0;
        }
    }
    return rates;
}

std::string chart(const std::vector<CaseRate>& rates, int programs) {
    const int height = chartRowHeight * static_cast<int>(rates.size()) + 8;
    const int width = chartLabelWidth + chartBarWidth + 60;
    std::string description;
    for (const CaseRate& r : rates) {
        description += (description.empty() ? "" : "; ") + r.name + ": " +
                       std::to_string(r.passed) + " of " + std::to_string(programs) + " (" +
                       percent(r.passed, programs) + ")";
    }
    std::string svg = "<svg role=\"img\" aria-labelledby=\"chart-title chart-desc\" width=\"" +
                      std::to_string(width) + "\" height=\"" + std::to_string(height) +
                      "\" viewBox=\"0 0 " + std::to_string(width) + " " + std::to_string(height) +
                      "\">\n<title id=\"chart-title\">The share of " +
                      "programs that passed each case</title>\n<desc id=\"chart-desc\">" +
                      h(description) + "</desc>\n";
    int y = 4;
    for (const CaseRate& r : rates) {
        const int bar = static_cast<int>(
            std::lround(static_cast<double>(chartBarWidth) * r.passed / std::max(programs, 1)));
        const std::string top = std::to_string(y + 3);
        const std::string middle = std::to_string(y + chartRowHeight / 2 + 5);
        svg += "<g>\n<text x=\"" + std::to_string(chartLabelWidth - 8) + "\" y=\"" + middle +
               "\" text-anchor=\"end\">" + h(shortenedInTheMiddle(r.name, 32)) + "</text>\n" +
               "<rect class=\"track\" x=\"" + std::to_string(chartLabelWidth) + "\" y=\"" + top +
               "\" width=\"" + std::to_string(chartBarWidth) + "\" height=\"" +
               std::to_string(chartRowHeight - 6) + "\"/>\n<rect class=\"bar\" x=\"" +
               std::to_string(chartLabelWidth) + "\" y=\"" + top + "\" width=\"" +
               std::to_string(bar) + "\" height=\"" + std::to_string(chartRowHeight - 6) +
               "\"/>\n<text x=\"" + std::to_string(chartLabelWidth + chartBarWidth + 8) +
               "\" y=\"" + middle + "\">" + percent(r.passed, programs) + "</text>\n</g>\n";
        y += chartRowHeight;
    }
    return svg + "</svg>\n";
}

std::string rateTable(const std::vector<CaseRate>& rates, int programs) {
    std::string out = "<table id=\"case-rates\">\n<caption>Each case: the programs that passed "
                      "it</caption>\n<thead><tr><th scope=\"col\">Case</th><th scope=\"col\">"
                      "Points</th><th scope=\"col\">Programs passed</th><th scope=\"col\">"
                      "Pass rate</th></tr></thead>\n<tbody>\n";
    for (const CaseRate& r : rates) {
        out += "<tr data-passed=\"" + std::to_string(r.passed) + "\" data-programs=\"" +
               std::to_string(programs) + "\"><th scope=\"row\">" + h(r.name) +
               (r.hidden ? " <span class=\"tag\">hidden</span>" : "") +
               "</th><td class=\"number\">" + pointsText(r.points) + "</td><td class=\"number\">" +
               std::to_string(r.passed) + " of " + std::to_string(programs) +
               "</td><td class=\"number\">" + percent(r.passed, programs) + "</td></tr>\n";
    }
    return out + "</tbody>\n</table>\n";
}

/// The programs, the best score first; programs of one score keep the command line's order.
std::vector<const ProgramResult*> byScore(const std::vector<ProgramResult>& results) {
    std::vector<const ProgramResult*> sorted;
    for (const ProgramResult& p : results) {
        sorted.push_back(&p);
    }
    std::stable_sort(sorted.begin(), sorted.end(), [](const auto* a, const auto* b) {
        return a->score() != b->score() ? a->score() > b->score()
                                        : a->passedCount() > b->passedCount();
    });
    return sorted;
}

std::string programTable(const std::vector<const ProgramResult*>& sorted) {
    std::string out = "<table id=\"programs\">\n<caption>Every program, the best score first"
                      "</caption>\n<thead><tr><th scope=\"col\">Program</th><th scope=\"col\">"
                      "Score</th><th scope=\"col\">Cases passed</th><th scope=\"col\">Verdict"
                      "</th></tr></thead>\n<tbody>\n";
    for (std::size_t i = 0; i < sorted.size(); ++i) {
        const ProgramResult& p = *sorted[i];
        const std::string name =
            p.passed() ? h(p.name)
                       : "<a href=\"#program-" + std::to_string(i + 1) + "\">" + h(p.name) + "</a>";
        out += "<tr data-score=\"" + pointsText(p.score()) + "\" data-max-score=\"" +
               pointsText(p.maxScore()) + "\"><th scope=\"row\">" + name +
               "</th><td class=\"number\">" + pointsText(p.score()) + " of " +
               pointsText(p.maxScore()) + "</td><td class=\"number\">" +
               std::to_string(p.passedCount()) + " of " + std::to_string(p.caseCount()) +
               "</td><td>" +
               (p.passed() ? "<span class=\"passed\">passed</span>"
                           : "<span class=\"failed\">failed</span>") +
               "</td></tr>\n";
    }
    return out + "</tbody>\n</table>\n";
}

std::string valueCell(const std::string& text) {
    return "<td><pre>" + h(text) + "</pre></td>";
}

std::string failures(const ProgramResult& p, std::size_t index) {
    std::string out = "<section class=\"program\" id=\"program-" + std::to_string(index) +
                      "\" aria-labelledby=\"program-" + std::to_string(index) + "-name\">\n" +
                      "<h3 id=\"program-" + std::to_string(index) + "-name\">" + h(p.name) +
                      " <span class=\"muted\">" + pointsText(p.score()) + " of " +
                      pointsText(p.maxScore()) + " points</span></h3>\n";
    if (!p.problem.empty()) {
        out += "<p class=\"problem\">" + h(p.problem) + "</p>\n";
    }
    std::string rows;
    for (const CaseResult& c : p.cases) {
        if (c.passed || (!p.problem.empty() && c.problem == p.problem)) {
            continue;
        }
        const std::size_t span = std::max<std::size_t>(c.mismatches.size(), 1);
        std::string inputs;
        for (const std::string& input : c.inputs) {
            inputs += (inputs.empty() ? "" : ", ") + check::quoted(platform::fromUtf8(input));
        }
        std::string head =
            "<th scope=\"row\" rowspan=\"" + std::to_string(span) + "\">" + h(c.name) +
            (c.hidden ? " <span class=\"tag\">hidden</span>" : "") +
            (!c.given.empty() ? "<br><span class=\"muted\">generated with " + h(c.given) + "</span>"
             : inputs.empty() ? ""
                              : "<br><span class=\"muted\">inputs " + h(inputs) + "</span>") +
            (c.fixedCase.empty() ? "" : "<pre class=\"fixed-case\">" + h(c.fixedCase) + "</pre>") +
            "</th>";
        if (c.mismatches.empty()) {
            rows += "<tr data-case=\"" + h(c.name) + "\">" + head + "<td>problem</td>" +
                    valueCell("") + valueCell(c.problem) + "</tr>\n";
            continue;
        }
        for (const Mismatch& m : c.mismatches) {
            std::string what = h(m.place());
            if (m.firstDifference) {
                what += "<br><span class=\"muted\">first differs at " + h(m.firstDifference->at) +
                        "</span>";
            }
            rows += "<tr data-case=\"" + h(c.name) + "\" data-what=\"" + h(m.what) + "\">" + head +
                    "<td>" + what + "</td>" + valueCell(m.expected) + valueCell(m.actual) +
                    "</tr>\n";
            head.clear();
        }
    }
    if (!rows.empty()) {
        out += "<table class=\"failures\">\n<caption>The failing cases of " + h(p.name) +
               "</caption>\n<thead><tr><th scope=\"col\">Case</th><th scope=\"col\">What</th>"
               "<th scope=\"col\">Expected</th><th scope=\"col\">Actual</th></tr></thead>\n"
               "<tbody>\n" +
               rows + "</tbody>\n</table>\n";
    }
    return out + "</section>\n";
}

} // namespace

std::string htmlReport(const std::vector<ProgramResult>& results, std::string_view testsPath) {
    const Totals totals = totalsOf(results);
    const std::vector<CaseRate> rates = caseRates(results);
    const std::vector<const ProgramResult*> sorted = byScore(results);
    std::string out = "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
                      "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n"
                      "<meta name=\"color-scheme\" content=\"light dark\">\n<title>casl2 check: " +
                      h(testsPath) + "</title>\n<style>" + std::string(style) +
                      "</style>\n</head>\n<body>\n<main>\n<h1>casl2 check: <code>" + h(testsPath) +
                      "</code></h1>\n<p id=\"summary\">" + h(summaryLine(totals)) +
                      (totals.weighted ? ""
                                       : "; " + pointsText(totals.score) + " of " +
                                             pointsText(totals.maxScore) + " points") +
                      "</p>\n";
    out += "<section aria-labelledby=\"rates\">\n<h2 id=\"rates\">Each case across the class</h2>\n"
           "<figure>\n" +
           chart(rates, totals.programs) +
           "<figcaption>The share of the programs that passed each case; the table below gives "
           "the same numbers.</figcaption>\n</figure>\n" +
           rateTable(rates, totals.programs) + "</section>\n";
    out += "<section aria-labelledby=\"scores\">\n<h2 id=\"scores\">Programs by score</h2>\n" +
           programTable(sorted) + "</section>\n";
    out += "<section aria-labelledby=\"failing\">\n<h2 id=\"failing\">Failing cases</h2>\n";
    bool anyFailed = false;
    for (std::size_t i = 0; i < sorted.size(); ++i) {
        if (!sorted[i]->passed()) {
            out += failures(*sorted[i], i + 1);
            anyFailed = true;
        }
    }
    if (!anyFailed) {
        out += "<p>Every program passed every case.</p>\n";
    }
    return out + "</section>\n</main>\n</body>\n</html>\n";
}

} // namespace casl::check
