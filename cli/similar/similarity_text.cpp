#include "cli/check/terminal_columns.h"
#include "cli/similar/similarity_report.h"
#include "platform/text_codec.h"

#include <cmath>
#include <cstdio>

namespace casl::similar {
namespace {

using check::shortenedInTheMiddle;
using check::terminalColumns;

/// The report fits a terminal of this many columns.
constexpr std::size_t terminalWidth = 80;
/// One side of the lines alike: the line number, a blank and the text.
constexpr std::size_t sideWidth = 37;
constexpr std::size_t lineNumberWidth = 4;
const std::string sideGap = " | ";

/// The text in exactly `columns` columns: cut with "…" when it is wider, padded with blanks
/// when `padded` and it is narrower.
std::string fitted(std::string_view utf8, std::size_t columns, bool padded) {
    const std::u32string text = platform::fromUtf8(utf8);
    std::string out;
    std::size_t used = 0;
    const bool fits = terminalColumns(utf8) <= columns;
    for (const char32_t c : text) {
        const std::string one = platform::toUtf8(std::u32string(1, c));
        const std::size_t width = terminalColumns(one);
        if (used + width > (fits ? columns : columns - 1)) {
            break;
        }
        out += one;
        used += width;
    }
    if (!fits) {
        out += "…";
        ++used;
    }
    if (padded) {
        out.append(columns - used, ' ');
    }
    return out;
}

/// The statement of a source line without its comment: the part before the first ';' that
/// stands outside a quoted string.
std::string withoutComment(const std::string& text) {
    bool quoted = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\'') {
            quoted = !quoted;
        } else if (text[i] == ';' && !quoted) {
            std::string code = text.substr(0, i);
            while (!code.empty() && code.back() == ' ') {
                code.pop_back();
            }
            return code;
        }
    }
    return text;
}

/// The folder that every program's name begins with ("class/" for "class/a.cas" and
/// "class/b/c.cas"), which the text names once instead of on every line.
std::string commonFolder(const SimilarityReport& report) {
    if (report.programs.empty()) {
        return "";
    }
    std::string common = report.programs.front().name;
    for (const auto& program : report.programs) {
        std::size_t same = 0;
        while (same < common.size() && same < program.name.size() &&
               common[same] == program.name[same]) {
            ++same;
        }
        common.resize(same);
    }
    const std::size_t slash = common.rfind('/');
    return slash == std::string::npos ? "" : common.substr(0, slash + 1);
}

std::string numbered(int line) {
    std::string number = std::to_string(line);
    return std::string(lineNumberWidth - std::min(number.size(), lineNumberWidth), ' ') + number +
           " ";
}

std::string pairHeading(std::size_t rank, const SimilarityReport& report, const ShownPair& p,
                        std::size_t folderLength) {
    std::string number = std::to_string(rank) + ".";
    std::string score = scoreText(p.pair.score) + "%";
    const std::string lead = std::string(4 - std::min<std::size_t>(number.size(), 4), ' ') +
                             number + std::string(7 - std::min<std::size_t>(score.size(), 7), ' ') +
                             score + "  ";
    const std::size_t room = (terminalWidth - lead.size() - 3) / 2;
    const auto name = [&](std::size_t program) {
        return shortenedInTheMiddle(report.programs[program].name.substr(folderLength), room);
    };
    return lead + name(p.pair.first) + " ~ " + name(p.pair.second) + "\n";
}

std::string sideBySide(const SimilarityReport& report, const ShownPair& p) {
    const auto& a = report.programs[p.pair.first].lines;
    const auto& b = report.programs[p.pair.second].lines;
    std::string out;
    const std::size_t textWidth = sideWidth - lineNumberWidth - 1;
    for (const similarity::LinePair& line : p.lines) {
        std::string left = numbered(a[line.first].fileLine) +
                           fitted(withoutComment(a[line.first].text), textWidth, true);
        std::string right = numbered(b[line.second].fileLine) +
                            fitted(withoutComment(b[line.second].text), textWidth, false);
        std::string row = "  " + left + sideGap + right;
        while (!row.empty() && row.back() == ' ') {
            row.pop_back();
        }
        out += row + "\n";
    }
    return out;
}

} // namespace

std::string scoreText(double score) {
    char text[16];
    std::snprintf(text, sizeof text, "%.1f", std::round(score * 10) / 10);
    return text;
}

std::string similarityText(const SimilarityReport& report) {
    std::size_t notCompared = 0;
    for (const auto& program : report.programs) {
        notCompared += program.compared() ? 0 : 1;
    }
    const std::string folder = commonFolder(report);
    std::string out = std::to_string(report.programs.size()) +
                      (report.programs.size() == 1 ? " program" : " programs");
    if (!folder.empty()) {
        out += " in " + folder;
    }
    out += ", " + std::to_string(report.comparedPairs) +
           (report.comparedPairs == 1 ? " pair compared" : " pairs compared");
    if (notCompared > 0) {
        out += ", " + std::to_string(notCompared) + " not compared";
    }
    out += "\n\n";
    if (report.pairs.empty()) {
        out += "No pair of programs is alike.\n";
    } else {
        out += "Most alike pairs:\n";
        for (std::size_t i = 0; i < report.pairs.size(); ++i) {
            out += pairHeading(i + 1, report, report.pairs[i], folder.size());
        }
    }
    if (notCompared > 0) {
        out += "\nNot compared:\n";
        for (const auto& program : report.programs) {
            if (program.compared()) {
                continue;
            }
            // What goes on stands two columns further in, under the name.
            const std::vector<std::string> lines = check::wrappedToColumns(
                program.name.substr(folder.size()) + ": " + program.problem, 76);
            for (std::size_t i = 0; i < lines.size(); ++i) {
                out += (i == 0 ? "  " : "    ") + lines[i] + "\n";
            }
        }
    }
    for (std::size_t i = 0; i < report.pairs.size(); ++i) {
        const ShownPair& p = report.pairs[i];
        out += "\n" + pairHeading(i + 1, report, p, folder.size());
        out += "     " + std::to_string(p.lines.size()) +
               (p.lines.size() == 1 ? " instruction" : " instructions") + " alike, in order:\n";
        out += sideBySide(report, p);
    }
    return out;
}

} // namespace casl::similar
