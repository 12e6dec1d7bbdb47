// The ranking to look at: one HTML file that needs no network and no script.
#include "cli/check/markup_text.h"
#include "cli/similar/similarity_report.h"

namespace casl::similar {
namespace {

/// The page's colours, for a light and a dark system setting; every text reaches 4.5:1 on its
/// background in both.
constexpr std::string_view style = R"(
:root { color-scheme: light dark; --text: #1b1b1b; --muted: #4a4a4a; --page: #ffffff;
  --panel: #f3f4f6; --line: #c9ccd1; --high: #a4161a; --problem: #fff1c2; }
@media (prefers-color-scheme: dark) {
  :root { --text: #ececec; --muted: #b8b8b8; --page: #16181b; --panel: #22262b;
    --line: #454b53; --high: #ff8a8a; --problem: #4a3f12; }
}
body { margin: 0; background: var(--page); color: var(--text);
  font: 15px/1.5 system-ui, "IPAGothic", "Noto Sans CJK JP", sans-serif; }
main { max-width: 80rem; margin: 0 auto; padding: 1rem 1.5rem 3rem; }
h1 { font-size: 1.5rem; margin: 0.5rem 0; }
h2 { font-size: 1.2rem; margin-top: 2rem; border-bottom: 1px solid var(--line); }
a { color: inherit; }
code { font-family: ui-monospace, "DejaVu Sans Mono", "Noto Sans Mono CJK JP", monospace;
  white-space: pre-wrap; overflow-wrap: anywhere; }
table { border-collapse: collapse; margin: 0.5rem 0; }
th, td { border: 1px solid var(--line); padding: 0.2rem 0.6rem; text-align: left;
  vertical-align: top; }
thead th { background: var(--panel); }
td.number { text-align: right; font-variant-numeric: tabular-nums; color: var(--muted); }
.score { font-weight: 600; }
.high { color: var(--high); }
.problem { background: var(--problem); padding: 0.3rem 0.6rem; }
@media print { body { background: #fff; color: #000; } }
)";

/// Scores from here up are marked: most copies score above it, few independent solutions do.
constexpr double highScore = 70;

std::string h(std::string_view text) {
    return check::htmlText(text);
}

std::string scoreCell(double score) {
    return std::string("<td class=\"number score") + (score >= highScore ? " high" : "") + "\">" +
           scoreText(score) + "%</td>";
}

std::string rankingTable(const SimilarityReport& report) {
    std::string out = "<table><thead><tr><th>#</th><th>Score</th><th>Program</th>"
                      "<th>Program</th><th>Lines alike</th></tr></thead><tbody>\n";
    for (std::size_t i = 0; i < report.pairs.size(); ++i) {
        const ShownPair& p = report.pairs[i];
        const std::string rank = std::to_string(i + 1);
        out += "<tr><td class=\"number\"><a href=\"#pair-" + rank + "\">" + rank + "</a></td>" +
               scoreCell(p.pair.score) + "<td>" + h(report.programs[p.pair.first].name) +
               "</td><td>" + h(report.programs[p.pair.second].name) + "</td><td class=\"number\">" +
               std::to_string(p.lines.size()) + "</td></tr>\n";
    }
    return out + "</tbody></table>\n";
}

std::string pairSection(const SimilarityReport& report, const ShownPair& p, std::size_t rank) {
    const auto& a = report.programs[p.pair.first];
    const auto& b = report.programs[p.pair.second];
    const std::string number = std::to_string(rank);
    std::string out = "<section id=\"pair-" + number + "\"><h2>" + number + ". " +
                      scoreText(p.pair.score) + "% " + h(a.name) + " ~ " + h(b.name) + "</h2>\n";
    out += "<table><thead><tr><th>Line</th><th>" + h(a.name) + "</th><th>Line</th><th>" +
           h(b.name) + "</th></tr></thead><tbody>\n";
    for (const similarity::LinePair& line : p.lines) {
        out += "<tr><td class=\"number\">" + std::to_string(a.lines[line.first].fileLine) +
               "</td><td><code>" + h(a.lines[line.first].text) +
               "</code></td><td class=\"number\">" + std::to_string(b.lines[line.second].fileLine) +
               "</td><td><code>" + h(b.lines[line.second].text) + "</code></td></tr>\n";
    }
    return out + "</tbody></table></section>\n";
}

} // namespace

std::string similarityHtml(const SimilarityReport& report) {
    std::string out = "<!DOCTYPE html>\n<html lang=\"en\"><head><meta charset=\"utf-8\">\n"
                      "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n"
                      "<title>casl2 similar: programs alike</title>\n<style>";
    out += style;
    out += "</style></head><body><main>\n<h1>Programs alike</h1>\n";
    out += "<p>" + std::to_string(report.programs.size()) + " programs, " +
           std::to_string(report.comparedPairs) + " pairs compared.</p>\n";
    if (report.pairs.empty()) {
        out += "<p>No pair of programs is alike.</p>\n";
    } else {
        out += rankingTable(report);
    }
    std::string notCompared;
    for (const auto& program : report.programs) {
        if (!program.compared()) {
            notCompared += "<li>" + h(program.name) + ": <span class=\"problem\">" +
                           h(program.problem) + "</span></li>\n";
        }
    }
    if (!notCompared.empty()) {
        out += "<h2>Not compared</h2>\n<ul>\n" + notCompared + "</ul>\n";
    }
    for (std::size_t i = 0; i < report.pairs.size(); ++i) {
        out += pairSection(report, report.pairs[i], i + 1);
    }
    return out + "</main></body></html>\n";
}

} // namespace casl::similar
