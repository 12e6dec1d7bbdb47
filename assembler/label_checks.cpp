#include "assembler/label_checks.h"

#include "assembler/findings.h"

#include <string_view>
#include <unordered_map>

namespace casl {

void labelChecks(ProgramTables& tables) {
    const int last = tables.lineCounter - 1;
    // Walking backwards, the count of a label is the number of later lines that carry it.
    std::unordered_map<std::u32string_view, int> laterCount;
    for (int n = last; n >= 1; --n) {
        const std::u32string& label = tables.lineFields[n][labelColumn];
        std::u32string& findings = tables.lineFields[n][findingsColumn];
        if (label.size() >= 9) {
            appendFinding(findings, 2);
        } else if (!label.empty()) {
            int& count = laterCount[label];
            findings.append(static_cast<std::size_t>(count), U'1');
            ++count;
        }
    }
}

void labelCharacterCheck(ProgramTables& tables) {
    for (int n = 1; n < tables.lineCounter; ++n) {
        const std::u32string& label = tables.lineFields[n][labelColumn];
        if (!label.empty() &&
            ((label[0] >= U'0' && label[0] <= U'9') || (label[0] >= U'a' && label[0] <= U'z'))) {
            setFinding(tables.lineFields[n][findingsColumn], 3);
        }
    }
}

} // namespace casl
