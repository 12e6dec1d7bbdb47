#include "assembler/line_findings.h"

#include "assembler/findings.h"
#include "assembler/listing.h"

namespace casl {
namespace {

bool isLiteralLine(const ProgramTables& t, int n) {
    return t.lineFields[n][literalMarkColumn] == U"1";
}

int literalLineCount(const ProgramTables& t) {
    int count = 0;
    for (int n = 1; n < t.lineCounter; ++n) {
        count += isLiteralLine(t, n) ? 1 : 0;
    }
    return count;
}

} // namespace

std::vector<LineFinding> lineFindings(const ProgramTables& tables) {
    std::vector<LineFinding> findings;
    for (int n = 1; n < tables.lineCounter; ++n) {
        const std::u32string& digits = tables.lineFields[n][findingsColumn];
        if (!hasError(digits)) {
            continue;
        }
        LineFinding finding{n, sourceLineOf(tables, n), errorNumbers(digits), {}};
        for (const int error : finding.errors) {
            finding.messages.emplace_back(errorMessage(error));
        }
        findings.push_back(std::move(finding));
    }
    return findings;
}

int sourceLineOf(const ProgramTables& tables, int line) {
    if (line < 1 || line >= tables.lineCounter) {
        return 0;
    }
    const int last = tables.lineCount();
    const int literals = literalLineCount(tables);
    if (literals == 0 || line < last - literals) {
        return line;
    }
    const int lastSourceLine = last - literals;
    if (line == last) {
        return lastSourceLine;
    }
    // A literal line: the line whose operand is this literal ("=" and the constant).
    const std::u32string written = U"=" + tables.lineFields[line][operand1Column];
    for (int n = 1; n < lastSourceLine; ++n) {
        for (int k : {operand1Column, operand2Column, operand3Column}) {
            if (tables.lineFields[n][k] == written) {
                return n;
            }
        }
    }
    return lastSourceLine;
}

} // namespace casl
