#include "assembler/line_findings.h"

#include "assembler/findings.h"
#include "assembler/listing.h"

namespace casl {
namespace {

bool isLiteralLine(const ProgramTables& t, int n) {
    return t.lineFields[n][literalMarkColumn] == U"1";
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
    // The literal lines stand together, just before the closing END.
    int first = 1;
    while (first < tables.lineCounter && !isLiteralLine(tables, first)) {
        ++first;
    }
    int literals = 0;
    while (first + literals < tables.lineCounter && isLiteralLine(tables, first + literals)) {
        ++literals;
    }
    if (line < first) {
        return line;
    }
    if (line >= first + literals) {
        return line - literals;
    }
    // A literal line: the line whose operand is this literal ("=" and the constant).
    const std::u32string written = U"=" + tables.lineFields[line][operand1Column];
    for (int n = 1; n < first; ++n) {
        for (int k : {operand1Column, operand2Column, operand3Column}) {
            if (tables.lineFields[n][k] == written) {
                return n;
            }
        }
    }
    return first;
}

} // namespace casl
