#include "cli/check/program_list.h"
#include "cli/check/reference_answers.h"
#include "cli/check/reports.h"
#include "cli/commands.h"
#include "cli/exit_status.h"
#include "cli/run_printer.h"
#include "grading/generated_cases.h"
#include "grading/program_check.h"
#include "grading/test_file_reader.h"
#include "simulator/trace_session.h"

#include <algorithm>
#include <ostream>

namespace casl::cli {
namespace {

/// The names of the cases of `file`, a generated section's as a range.
std::string caseNames(const check::TestFile& file) {
    std::string names;
    for (const check::CheckCase& c : file.cases) {
        names += (names.empty() ? "'" : ", '") + c.name + "'";
    }
    for (const check::GenerateSection& g : file.generate) {
        names += (names.empty() ? "'" : ", '") + g.name + "#1' to '" + g.name + "#" +
                 std::to_string(g.count) + "'";
    }
    return names;
}

} // namespace

int explainCommand(const check::CheckOptions& options, std::ostream& out, std::ostream& err) {
    auto tests = check::readTestFile(options.testsPath);
    if (const auto* error = std::get_if<check::TestFileError>(&tests)) {
        err << "casl2 check: " << error->message << '\n';
        return exit_status::usageOrFileError;
    }
    check::TestFile& file = std::get<check::TestFile>(tests);
    const std::string names = caseNames(file);
    check::addGeneratedCases(file);
    const std::string& name = *options.explainCase;
    const auto found = std::ranges::find(file.cases, name, &check::CheckCase::name);
    if (found == file.cases.end()) {
        err << "casl2 check: " << options.testsPath << " has no case named '" << name
            << "'; its cases: " << names << '\n';
        return exit_status::usageOrFileError;
    }
    // A hidden case keeps its inputs and expectations from students; its run would show both.
    if (found->hidden) {
        err << "casl2 check: the case '" << name << "' is hidden: its run is not shown\n";
        return exit_status::usageOrFileError;
    }
    const std::vector<check::ProgramEntry> programs = check::programsOf(options.programs);
    if (programs.size() != 1) {
        err << "casl2 check: --explain shows the run of one program, not " << programs.size()
            << '\n';
        return exit_status::usageOrFileError;
    }
    check::CheckCase c = *found;
    c.timeLimitSeconds = options.timeLimitSeconds;
    file.cases = {c};
    if (!check::answerGeneratedCases(options, file, err)) {
        return exit_status::usageOrFileError;
    }

    // The run is shown as `casl2 run --trace` shows it; the case's own bounds and step budget
    // bound what is printed, so that the verdict below is the one `check` gives.
    RunOptions shown;
    shown.trace = true;
    RunBounds bounds(check::caseLimits(c));
    RunPrinter printer(shown, out, bounds);
    check::CaseRunWatch watch{&printer, &bounds, [&](const TraceSession& session) {
                                  out << displayBlock(session.displays());
                              }};
    const check::ProgramResult result = check::checkProgram(programs.front(), file, &watch);
    out << '\n' << check::textReport({result}, true);
    return result.passed() ? exit_status::success : exit_status::failed;
}

} // namespace casl::cli
