#include "cli/check/reports.h"
#include "cli/check/terminal_columns.h"
#include "grading/word_text.h"
#include "platform/text_codec.h"

#include <algorithm>
#include <iomanip>
#include <sstream>

namespace casl::check {
namespace {

/// The report fits a terminal of this many columns.
constexpr std::size_t terminalWidth = 80;
/// Details stand under their program, and a case's differences under the case.
const std::string indent = "    ";
const std::string deeper = "      ";
const std::string deepest = "        ";

std::string mismatchText(const Mismatch& m) {
    return m.place() + ": expected " + m.expected + " | got " + m.actual;
}

std::string countsOf(const ProgramResult& p) {
    return std::to_string(p.passedCount()) + "/" + std::to_string(p.caseCount());
}

std::string quotedName(const std::string& name) {
    return "\"" + shortenedInTheMiddle(name, 40) + "\"";
}

/// A line of details after `before`, wrapped to the terminal's width; what goes on stands two
/// columns further in.
std::string detailLine(const std::string& before, const std::string& text) {
    const std::size_t room = terminalWidth - before.size();
    const std::vector<std::string> first = wrappedToColumns(text, room);
    std::string out = before + first.front() + "\n";
    if (first.size() > 1) {
        std::string rest = platform::toUtf8(platform::fromUtf8(text)).substr(first.front().size());
        rest.erase(0, rest.find_first_not_of(' '));
        for (const std::string& line : wrappedToColumns(rest, room - 2)) {
            out += before + "  " + line + "\n";
        }
    }
    return out;
}

/// Whether a case failed only because the program as a whole could not run; that is said once
/// for the program.
bool programWide(const ProgramResult& p, const CaseResult& c) {
    return !p.problem.empty() && c.problem == p.problem && c.mismatches.empty();
}

/// A difference on one line when it fits, else its place with expected and got below it; a
/// long output shows where it first differs rather than its whole lines.
std::string differenceLines(const Mismatch& m) {
    if (m.firstDifference) {
        return detailLine(deeper, m.place() + " differs first at " + m.firstDifference->at + ":") +
               detailLine(deepest, "expected " + m.firstDifference->expected) +
               detailLine(deepest, "got      " + m.firstDifference->actual);
    }
    const std::string line = deeper + mismatchText(m);
    if (terminalColumns(line) <= terminalWidth) {
        return line + "\n";
    }
    return detailLine(deeper, m.place() + ":") + detailLine(deepest, "expected " + m.expected) +
           detailLine(deepest, "got      " + m.actual);
}

/// A failed generated case's `[[case]]` table under it, unwrapped so that it can be pasted
/// into the test file as it stands.
std::string fixedCaseLines(const CaseResult& c) {
    if (c.fixedCase.empty()) {
        return "";
    }
    std::string out = deeper + "to keep it as a fixed case:\n";
    std::size_t begin = 0;
    while (begin < c.fixedCase.size()) {
        const std::size_t end = c.fixedCase.find('\n', begin);
        out += deepest + c.fixedCase.substr(begin, end - begin) + "\n";
        begin = end == std::string::npos ? c.fixedCase.size() : end + 1;
    }
    return out;
}

/// Every failing case of a program with its inputs and differences; a problem of the whole
/// program once.
std::string verboseDetails(const ProgramResult& p) {
    std::string out;
    if (!p.problem.empty()) {
        out += detailLine(indent, p.problem);
    }
    for (const CaseResult& c : p.cases) {
        if (c.passed || programWide(p, c)) {
            continue;
        }
        std::string heading = "case " + quotedName(c.name);
        if (!c.given.empty()) {
            heading += ", generated with " + c.given;
        } else if (!c.inputs.empty()) {
            std::string inputs;
            for (const std::string& input : c.inputs) {
                inputs += (inputs.empty() ? "" : ", ") + check::quoted(platform::fromUtf8(input));
            }
            heading += ", inputs " + inputs;
        }
        out += detailLine(indent, heading + ":");
        if (!c.problem.empty()) {
            out += detailLine(deeper, c.problem);
        }
        for (const Mismatch& m : c.mismatches) {
            out += differenceLines(m);
        }
        out += fixedCaseLines(c);
    }
    return out;
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
    std::string text = r.problem;
    if (text.empty() && !r.mismatches.empty()) {
        text = mismatchText(r.mismatches.front());
        if (r.mismatches.size() > 1) {
            text += " (and " + std::to_string(r.mismatches.size() - 1) + " more)";
        }
    }
    return r.given.empty() ? text : text + "; generated with " + r.given;
}

std::string studentDetails(const CaseResult& r) {
    if (r.passed || r.hidden) {
        return "";
    }
    std::string text = r.given.empty() ? "" : "generated with " + r.given + "\n";
    text += r.problem.empty() ? "" : r.problem + "\n";
    for (const Mismatch& m : r.mismatches) {
        text += mismatchText(m) + "\n";
    }
    return text;
}

std::string textReport(const std::vector<ProgramResult>& results, bool verbose) {
    std::size_t countWidth = 0;
    for (const ProgramResult& p : results) {
        countWidth = std::max(countWidth, countsOf(p).size());
    }
    // "  1/3  FAILED" after the name; the name takes what is left of the line at most.
    const std::size_t nameRoom = terminalWidth - (2 + countWidth + 2 + 6);
    std::size_t nameWidth = 0;
    for (const ProgramResult& p : results) {
        nameWidth = std::max(nameWidth, std::min(terminalColumns(p.name), nameRoom));
    }
    std::string out;
    for (const ProgramResult& p : results) {
        const std::string name = shortenedInTheMiddle(p.name, nameWidth);
        const std::string counts = countsOf(p);
        out += name + std::string(nameWidth - terminalColumns(name), ' ') + "  " +
               std::string(countWidth - counts.size(), ' ') + counts;
        const CaseResult* first = p.firstFailure();
        if (first == nullptr) {
            out += "  passed\n";
            continue;
        }
        out += "  FAILED\n";
        if (verbose) {
            out += verboseDetails(p);
        } else if (programWide(p, *first)) {
            out += detailLine(indent, p.problem);
        } else {
            out +=
                detailLine(indent, "case " + quotedName(first->name) + ": " + failureText(*first));
            out += fixedCaseLines(*first);
        }
    }
    out += "\n" + summaryLine(totalsOf(results)) + "\n";
    return out;
}

} // namespace casl::check
