#include "assembler/address_pass.h"

#include "assembler/constants.h"
#include "assembler/findings.h"
#include "assembler/instruction_table.h"
#include "assembler/numeric_text.h"

#include <cstdint>

namespace casl {
namespace {

bool isEmptyLine(const std::array<std::u32string, 7>& fields) {
    for (int k = labelColumn; k <= operand3Column; ++k) {
        if (!fields[k].empty()) {
            return false;
        }
    }
    return true;
}

std::int64_t dsLength(std::u32string& findings, const std::u32string& operand) {
    const std::int64_t count = leadingNumber(operand);
    if (count < 0) {
        // A negative area would make the addresses run backwards.
        appendFinding(findings, 8);
        return 0;
    }
    if (count == 0 && (operand.empty() || operand[0] != U'0')) {
        appendFinding(findings, 8);
    }
    return count;
}

std::int64_t lineLength(AssemblyState& state, int n, bool& startSeen) {
    ProgramTables& t = state.tables;
    auto& fields = t.lineFields[n];
    const int r = findInstruction(fields[mnemonicColumn]);
    if (r == row::nop || r == row::pop || r == row::ret) {
        return 1;
    }
    if (hasTwoForms(r)) {
        return registerNumber(fields[operand2Column]) ? 1 : 2;
    }
    switch (r) {
    case row::dc: {
        const int words = scanDcOperands(state, n, DcScan::count);
        // A DC without words would give its label the address of the next line.
        if (words == 0 && fields[findingsColumn].empty()) {
            appendFinding(fields[findingsColumn], 8);
        }
        return words;
    }
    case row::ds:
        return dsLength(fields[findingsColumn], fields[operand1Column]);
    case row::start:
        if (!startSeen) {
            startSeen = true;
            t.lineAddress[n] = 0;
        }
        return 2;
    case unknownRow:
        if (isEmptyLine(fields)) {
            setFinding(fields[findingsColumn], 0);
            return 0;
        }
        setFinding(fields[findingsColumn], 7);
        return 2;
    default:
        return 2;
    }
}

} // namespace

void addressPass(AssemblyState& state) {
    ProgramTables& t = state.tables;
    const int last = t.lineCounter - 1;
    std::int64_t length = 0;
    bool startSeen = false;
    state.finishedLines = 0;
    for (int n = 1; n <= last; ++n) {
        const std::int64_t address = t.lineAddress[n - 1] + length;
        if (address > highestAddress) {
            state.stop(addressOverflowMessage);
            return;
        }
        t.lineAddress[n] = static_cast<std::int16_t>(address);
        state.finishedLines = n;
        length = lineLength(state, n, startSeen);
        if (state.stopped()) {
            return;
        }
    }
    // The words of the last line must also fit below the highest address.
    if (last >= 1 && t.lineAddress[last] + length > highestAddress + 1) {
        state.stop(addressOverflowMessage);
    }
}

} // namespace casl
