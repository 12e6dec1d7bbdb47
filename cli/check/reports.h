#pragma once

#include "grading/check_results.h"

#include <string>
#include <string_view>
#include <vector>

namespace casl::check {

/// The formats of the report.
enum class ReportFormat {
    Text,  ///< One line per program, then a summary; for people.
    Json,  ///< One object (docs/check-report.schema.json).
    Junit, ///< JUnit XML, as CI systems read test results.
    Tap,   ///< TAP version 14: a subtest per program, a test point per case.
    Html,  ///< A page to look at: pass rates per case, programs by score, failing cases.
    // The learning platforms' own result files; each grades one program.
    Gradescope,   ///< Gradescope's results.json.
    PrairieLearn, ///< PrairieLearn's external grading results.
    Vpl,          ///< Moodle VPL's evaluation lines (Comment :=>> and Grade :=>>).
    CodeRunner,   ///< Moodle CodeRunner's combinator template grader JSON.
};

/// Whether `format` is a learning platform's, which grades one program per run.
inline bool gradesOneProgram(ReportFormat format) {
    return format == ReportFormat::Gradescope || format == ReportFormat::PrairieLearn ||
           format == ReportFormat::Vpl || format == ReportFormat::CodeRunner;
}

/// The counts of the summary.
struct Totals {
    int programs = 0;
    int programsPassed = 0;
    int cases = 0;
    int casesPassed = 0;
    /// The points earned and the points there were, over every program.
    double score = 0;
    double maxScore = 0;
    /// Whether any case is worth other than one point: the text report then counts points.
    bool weighted = false;
};

Totals totalsOf(const std::vector<ProgramResult>& results);

/// "1 of 3 programs passed every case; 8 of 15 cases passed", and when the cases carry points
/// other than one, "; 17 of 30 points".
std::string summaryLine(const Totals& totals);

/// Points as the reports write them: "3", "2.5".
std::string pointsText(double points);

/// The text report, in 80 columns: a line per program, the first failure (`verbose`: every
/// failing case with its inputs) on the lines below it, then the summary.
std::string textReport(const std::vector<ProgramResult>& results, bool verbose);
/// The JSON report; `testsPath` names the test file.
std::string jsonReport(const std::vector<ProgramResult>& results, std::string_view testsPath);
/// The JUnit XML report: a test suite per program, a test case per case.
std::string junitReport(const std::vector<ProgramResult>& results, std::string_view testsPath);
/// The TAP 14 report.
std::string tapReport(const std::vector<ProgramResult>& results, std::string_view testsPath);

/// The class report as one HTML page that needs no network and no script: a chart of each
/// case's pass rate, the programs sorted by score, and each program's failing cases.
std::string htmlReport(const std::vector<ProgramResult>& results, std::string_view testsPath);

/// "GR1: expected 55 (#0037) | got 45 (#002D)", or the problem that kept a case from running.
std::string failureText(const CaseResult& result);

/// What a student may read of a failed case, one line each: the problem and every difference;
/// nothing for a case that passed or is hidden.
std::string studentDetails(const CaseResult& result);

/// Gradescope's results.json for one program.
std::string gradescopeReport(const ProgramResult& program);
/// PrairieLearn's results.json for one program.
std::string prairieLearnReport(const ProgramResult& program);
/// Moodle VPL's evaluation output for one program.
std::string vplReport(const ProgramResult& program);
/// The JSON of a Moodle CodeRunner combinator template grader for one program.
std::string codeRunnerReport(const ProgramResult& program);

} // namespace casl::check
