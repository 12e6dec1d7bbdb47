#include "grading/reference_check.h"

namespace casl::check {

std::vector<std::string> referenceFaults(const ProgramResult& reference) {
    const std::string who = "the reference " + reference.name;
    if (!reference.problem.empty()) {
        return {who + " " + reference.problem};
    }
    std::vector<std::string> faults;
    for (const CaseResult& c : reference.cases) {
        if (c.passed) {
            continue;
        }
        const std::string caseName = "case \"" + c.name + "\": ";
        std::string failed;
        for (const Mismatch& m : c.mismatches) {
            if (m.missingLabel) {
                // The label is what the teacher got wrong, not the program.
                faults.push_back(caseName + "expect.data names the label " +
                                 m.what.substr(std::string("data ").size()) + ", which " + who +
                                 " has no DC or DS line for");
            } else {
                failed += (failed.empty() ? "" : "; ") + m.place() + ": expected " + m.expected +
                          " | got " + m.actual;
            }
        }
        if (!c.problem.empty()) {
            failed = c.problem;
        }
        if (!failed.empty()) {
            faults.push_back(caseName + who + " fails it: " + failed);
        }
    }
    return faults;
}

} // namespace casl::check
