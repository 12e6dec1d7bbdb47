#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace casl::check {

/// Where two long texts first differ, with a few characters either side of it.
struct FirstDifference {
    /// "line 3, character 12", or "line 4" when one text has no such line.
    std::string at;
    /// The expected and the actual text around the place: quoted, "…" outside the quotes where
    /// the line goes on, or "no line 4 (3 lines)".
    std::string expected;
    std::string actual;
};

/// One thing that differed from the case's expectations, as the reports show it.
struct Mismatch {
    Mismatch() = default;
    Mismatch(std::string what, std::string expected, std::string actual)
        : what(std::move(what)), expected(std::move(expected)), actual(std::move(actual)) {}

    std::string what; ///< "GR1", "output", "data SUM", "ending", "errors on line 3", ...
    std::string expected;
    std::string actual;
    /// For a program line ("errors on line 3"): the line of the student's file that holds it,
    /// when that is another number (Assemble drops empty lines); 0 otherwise.
    int fileLine = 0;
    /// For an output of more than one line or of long lines: where it first differs.
    std::optional<FirstDifference> firstDifference;
    /// The case expects data words at a label that no DC or DS line of the program has.
    bool missingLabel = false;

    /// `what`, with the file's line where it differs: "errors on line 3 (line 4 of the file)".
    std::string place() const {
        return fileLine == 0 ? what : what + " (line " + std::to_string(fileLine) + " of the file)";
    }
};

/// The result of one case on one program.
struct CaseResult {
    std::string name;
    bool passed = false;
    /// What kept the case from running: the program cannot be read or does not assemble.
    std::string problem;
    std::vector<Mismatch> mismatches;
    /// How the run ended ("program-end", "step-limit", ...); empty when nothing ran.
    std::string ending;
    /// The message that ended the run, LF line ends; empty for the step budget.
    std::string endingMessage;
    /// The steps the run counted.
    std::int64_t steps = 0;
    /// The lines that `OUT` wrote, LF after each.
    std::string output;
    double seconds = 0;
    /// The points the case is worth, and whether a student may see more than its verdict.
    double maxPoints = 1;
    bool hidden = false;
    /// The answers the case gives to the `IN` boxes, in order.
    std::vector<std::string> inputs;
    /// A generated case that failed: what it gave the run (inputs, set-up, registers) on one
    /// line, and the `[[case]]` table that keeps it as a fixed case; empty otherwise.
    std::string given;
    std::string fixedCase;

    /// The points the case earned: all of them when it passed, none otherwise.
    double points() const { return passed ? maxPoints : 0; }
};

/// The results of every case on one program.
struct ProgramResult {
    /// The program as the command line named it ("class/ito.cas").
    std::string name;
    /// Why no case could run, when that was so.
    std::string problem;
    std::vector<CaseResult> cases;
    double seconds = 0;
    /// The program could not be read at all (as opposed to not assembling).
    bool unreadable = false;

    int passedCount() const {
        int n = 0;
        for (const CaseResult& c : cases) {
            n += c.passed ? 1 : 0;
        }
        return n;
    }
    int caseCount() const { return static_cast<int>(cases.size()); }
    /// The points of the cases passed.
    double score() const {
        double sum = 0;
        for (const CaseResult& c : cases) {
            sum += c.points();
        }
        return sum;
    }
    /// The points of every case.
    double maxScore() const {
        double sum = 0;
        for (const CaseResult& c : cases) {
            sum += c.maxPoints;
        }
        return sum;
    }
    bool passed() const { return passedCount() == caseCount(); }
    /// The first case that failed; nullptr when all passed.
    const CaseResult* firstFailure() const {
        for (const CaseResult& c : cases) {
            if (!c.passed) {
                return &c;
            }
        }
        return nullptr;
    }
};

} // namespace casl::check
