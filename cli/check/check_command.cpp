#include "cli/check/check_command.h"

#include "cli/check/batch.h"
#include "cli/check/program_list.h"
#include "cli/check/progress_bar.h"
#include "cli/check/reference_answers.h"
#include "cli/check/report_destination.h"
#include "grading/generated_cases.h"
#include "grading/reference_check.h"
#include "grading/test_file_reader.h"
#include "platform/file_writer.h"

#include <algorithm>
#include <optional>
#include <ostream>
#include <thread>

namespace casl::check {
namespace {

std::string reportOf(const CheckOptions& options, const std::vector<ProgramResult>& results) {
    switch (options.format) {
    case ReportFormat::Json:
        return jsonReport(results, options.testsPath);
    case ReportFormat::Junit:
        return junitReport(results, options.testsPath);
    case ReportFormat::Tap:
        return tapReport(results, options.testsPath);
    case ReportFormat::Html:
        return htmlReport(results, options.testsPath);
    case ReportFormat::Gradescope:
        return gradescopeReport(results.front());
    case ReportFormat::PrairieLearn:
        return prairieLearnReport(results.front());
    case ReportFormat::Vpl:
        return vplReport(results.front());
    case ReportFormat::CodeRunner:
        return codeRunnerReport(results.front());
    case ReportFormat::Text:
        break;
    }
    return textReport(results, options.verbose);
}

/// Keeps the cases of `file` that `names` name, in the file's order (all when `names` is
/// empty); the first name that no case has, if any.
std::optional<std::string> keepCases(TestFile& file, const std::vector<std::string>& names) {
    if (names.empty()) {
        return std::nullopt;
    }
    for (const std::string& name : names) {
        if (std::ranges::none_of(file.cases, [&](const CheckCase& c) { return c.name == name; })) {
            return name;
        }
    }
    std::erase_if(file.cases, [&](const CheckCase& c) {
        return std::ranges::find(names, c.name) == names.end();
    });
    return std::nullopt;
}

unsigned coreCount() {
    return std::max(1u, std::thread::hardware_concurrency());
}

} // namespace

int checkCommand(const CheckOptions& options, std::ostream& out, std::ostream& err,
                 std::ostream* progressOn) {
    auto tests = readTestFile(options.testsPath);
    if (const auto* error = std::get_if<TestFileError>(&tests)) {
        err << "casl2 check: " << error->message << '\n';
        return wrongTestsOrArguments;
    }
    addGeneratedCases(std::get<TestFile>(tests));
    if (const auto unknown = keepCases(std::get<TestFile>(tests), options.caseNames)) {
        err << "casl2 check: " << options.testsPath << " has no case named '" << *unknown << "'\n";
        return wrongTestsOrArguments;
    }
    const std::vector<ProgramEntry> programs = programsOf(options.programs);
    if (programs.empty()) {
        err << "casl2 check: no .cas programs in the folders given\n";
        return wrongTestsOrArguments;
    }
    if (gradesOneProgram(options.format) && programs.size() != 1) {
        err << "casl2 check: the format of a learning platform grades one program, not "
            << programs.size() << "\n";
        return wrongTestsOrArguments;
    }
    TestFile& testFile = std::get<TestFile>(tests);
    const std::string reference = referenceOf(options, testFile);
    std::vector<std::filesystem::path> inputs{options.testsPath};
    for (const ProgramEntry& program : programs) {
        inputs.push_back(program.path);
    }
    if (!reference.empty()) {
        inputs.emplace_back(reference);
    }
    const auto destination = reportDestination(options.outputPath, inputs);
    if (const auto* refused = std::get_if<DestinationRefused>(&destination)) {
        err << "casl2 check: " << refused->message << '\n';
        return wrongTestsOrArguments;
    }
    for (CheckCase& c : testFile.cases) {
        c.timeLimitSeconds = options.timeLimitSeconds;
    }
    // The reference answers the generated cases once, for every program of the class.
    if (!answerGeneratedCases(options, testFile, err)) {
        return wrongTestsOrArguments;
    }
    if (!reference.empty()) {
        // A case that the teacher's own solution fails is a fault of the test file: grading the
        // class with it would fail every student for the teacher's typo.
        const std::vector<std::string> faults =
            referenceFaults(checkProgram({reference, reference}, testFile));
        for (const std::string& fault : faults) {
            err << "casl2 check: " << options.testsPath << ": " << fault << '\n';
        }
        if (!faults.empty()) {
            return wrongTestsOrArguments;
        }
    }

    std::vector<ProgramResult> results;
    {
        std::optional<ProgressBar> bar;
        Progress progress;
        if (progressOn != nullptr) {
            bar.emplace(*progressOn);
            progress = [&bar](std::size_t done, std::size_t total) { bar->show(done, total); };
        }
        results = checkPrograms(programs, testFile, options.jobs == 0 ? coreCount() : options.jobs,
                                progress);
    }

    const std::string report = reportOf(options, results);
    const ReportDestination& to = std::get<ReportDestination>(destination);
    switch (to.kind) {
    case ReportDestination::Kind::StandardOutput:
        out << report << std::flush;
        break;
    case ReportDestination::Kind::StandardError:
        err << report << std::flush;
        if (err.fail()) {
            return reportNotWritten;
        }
        break;
    case ReportDestination::Kind::File:
        if (const auto error = platform::writeFileAtomically(to.path, report)) {
            err << "casl2 check: cannot write " << options.outputPath << " (" << error->reason
                << ")\n";
            return reportNotWritten;
        }
        break;
    }
    const Totals totals = totalsOf(results);
    return totals.casesPassed == totals.cases ? everyCasePassed : someCaseFailed;
}

} // namespace casl::check
