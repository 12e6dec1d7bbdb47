#include "grading/program_check.h"

#include "assembler/assembler.h"
#include "grading/assembly_check.h"
#include "grading/case_runner.h"
#include "grading/case_setup.h"
#include "grading/fixed_case_text.h"
#include "grading/run_check.h"
#include "platform/source_file.h"
#include "platform/text_codec.h"

#include <chrono>
#include <memory>
#include <variant>

namespace casl::check {
namespace {

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

/// A case's result before anything ran: its name, worth and inputs.
CaseResult resultOf(const CheckCase& c) {
    CaseResult r;
    r.name = c.name;
    r.maxPoints = c.points;
    r.hidden = c.hidden;
    for (const std::u32string& input : c.inputs) {
        r.inputs.push_back(platform::toUtf8(input));
    }
    return r;
}

/// A failed generated case keeps what it gave the run and its fixed form, for the reports.
void noteGenerated(CaseResult& r, const CheckCase& c) {
    if (c.compare) {
        r.given = givenText(c);
        r.fixedCase = fixedCaseToml(c);
    }
}

/// One case; `problem` is why the program cannot run (it did not assemble), "" when it can.
CaseResult runOne(const CheckCase& c, const ProgramTables& assembled, ProgramTables& work,
                  const AssemblyResult& assembly, const SourceLines& lines,
                  const std::string& problem, const CaseRunWatch* watch) {
    const Clock::time_point start = Clock::now();
    CaseResult r = resultOf(c);
    if (!c.assembles) {
        r.mismatches = compareAssembly(assembled, assembly, c, lines);
    } else if (!assembly.success) {
        r.problem = problem;
    } else {
        // Every case starts from the tables as the assembly left them, with its own set-up.
        work = assembled;
        const auto prepared = prepareCaseRun(work, c);
        if (const auto* setupProblem = std::get_if<std::string>(&prepared)) {
            r.problem = *setupProblem;
            noteGenerated(r, c);
            r.seconds = secondsSince(start);
            return r;
        }
        const RunRecord run = runCase(work, assembly.infoText, c, std::get<int>(prepared), watch);
        r.mismatches = compareRun(run, work, c);
        r.ending = endingName(run.ending);
        r.endingMessage = platform::toUtf8(comparableMessage(run.endingMessage));
        r.steps = run.steps;
        for (const std::u32string& line : outputLinesOf(run.machine.outputText)) {
            r.output += platform::toUtf8(line) + "\n";
        }
    }
    r.passed = r.problem.empty() && r.mismatches.empty();
    // A program that does not assemble fails every case alike; the inputs would not help.
    if (!r.passed && assembly.success) {
        noteGenerated(r, c);
    }
    r.seconds = secondsSince(start);
    return r;
}

} // namespace

ProgramResult failedProgram(const ProgramEntry& program, const std::string& problem,
                            const TestFile& tests) {
    ProgramResult result;
    result.name = program.name;
    result.problem = problem;
    for (const CheckCase& c : tests.cases) {
        CaseResult r = resultOf(c);
        r.problem = problem;
        result.cases.push_back(std::move(r));
    }
    return result;
}

ProgramResult checkProgram(const ProgramEntry& program, const TestFile& tests,
                           const CaseRunWatch* watch) {
    const Clock::time_point start = Clock::now();
    auto source = platform::readSourceFile(program.path);
    if (const auto* error = std::get_if<platform::FileError>(&source)) {
        ProgramResult result =
            failedProgram(program, "cannot be read: " + platform::toUtf8(error->message), tests);
        result.unreadable = true;
        result.seconds = secondsSince(start);
        return result;
    }
    ProgramResult result =
        checkProgramText(program.name, std::get<platform::SourceText>(source).text, tests, watch);
    result.seconds = secondsSince(start);
    return result;
}

ProgramResult checkProgramText(const std::string& name, std::u32string_view text,
                               const TestFile& tests, const CaseRunWatch* watch) {
    const Clock::time_point start = Clock::now();
    const auto assembled = std::make_unique<ProgramTables>();
    const AssemblyResult assembly = assemble(text, *assembled);
    const SourceLines lines(text);
    if (assembly.blank) {
        ProgramResult result =
            failedProgram({{}, name}, assemblyProblem(*assembled, assembly, lines), tests);
        result.seconds = secondsSince(start);
        return result;
    }
    ProgramResult result;
    result.name = name;
    if (!assembly.success) {
        result.problem = assemblyProblem(*assembled, assembly, lines);
    }
    const auto work = std::make_unique<ProgramTables>();
    for (const CheckCase& c : tests.cases) {
        result.cases.push_back(
            runOne(c, *assembled, *work, assembly, lines, result.problem, watch));
    }
    result.seconds = secondsSince(start);
    return result;
}

} // namespace casl::check
