#pragma once

#include "assembler/program_tables.h"
#include "grading/check_case.h"
#include "grading/check_results.h"
#include "simulator/trace_session.h"
#include "workbench/exercise_view.h"
#include "workbench/workbench_box.h"

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace casl {

/// What a front end hands the session to open an exercise.
struct ExerciseFiles {
    /// The exercise's folder name ("reverse"); it names the exercise when its file gives no
    /// title.
    std::u32string name;
    /// The bytes of its test file (TOML, UTF-8).
    std::string tests;
    /// Why the test file could not be read; "" when it was.
    std::u32string problem;
    /// The name by which the session's source files read its starting program; "" for none.
    std::u32string startProgram;
};

/// The open exercise: its statement and cases, the results of the last Check, and the run of a
/// case, whose boxes get the case's answers as their defaults. The working session owns it and
/// tells it what happens; it knows nothing of the front ends.
class ExerciseSession {
public:
    /// The exercise of `files`, or why it cannot be opened.
    static std::variant<std::unique_ptr<ExerciseSession>, std::u32string>
    open(const ExerciseFiles& files);

    ExerciseSession(std::u32string name, check::TestFile tests);

    const check::TestFile& tests() const { return tests_; }

    /// The program the exercise starts with ("" for none), which a link to it need not carry.
    void setStartProgram(std::u32string text) { startProgram_ = std::move(text); }
    const std::u32string& startProgram() const { return startProgram_; }

    /// 採点: grades `programText` with every case, as `casl2 check` grades a file holding it.
    void check(std::u32string_view programText);
    /// The program was edited or replaced: the results no longer belong to it.
    void programChanged();

    /// A run starts: with the case `caseIndex`, or without a case.
    void runStarts(std::optional<std::size_t> caseIndex);
    /// The case the run was started with; nullptr for a run without one.
    const check::CheckCase* runCase() const;
    /// Gives `box`, just opened by the run of a case, the case's answer as its default: the
    /// next of its inputs already typed into an `IN` box, its answer to an operand question,
    /// and to the step question the answer `casl2 check` gives (Yes while the step budget
    /// lasts).
    void prepareBox(WorkbenchBox& box, const TraceSession& session) const;
    /// The run's box was answered while `stepsBack` steps could be undone.
    void boxAnswered(const RunBox& box, std::size_t stepsBack);
    /// 戻る undid steps: the answers given in them are given again when their boxes reopen.
    void steppedBack(std::size_t stepsBack);
    /// The run ended: compares what it left in `machine` and `tables` with the case.
    void runEnded(const TraceSession& session, const MachineState& machine,
                  const ProgramTables& tables);

    /// The view, with 採点 and the runs enabled as `commandsEnabled` says.
    ExerciseView view(bool commandsEnabled) const;

private:
    /// An answer given to a box of the case's run.
    struct Given {
        RunBox::Purpose purpose;
        /// The steps that could be undone when the box opened: undoing back to there undoes
        /// the answer.
        std::size_t stepsBack;
    };
    std::size_t givenCount(RunBox::Purpose purpose) const;

    std::u32string name_;
    check::TestFile tests_;
    std::u32string startProgram_;
    std::vector<StatementBlock> statement_;
    std::optional<check::ProgramResult> results_;
    bool stale_ = false;

    std::optional<std::size_t> runCase_;
    std::vector<Given> given_;
    /// How the case's run came out, once it ended.
    std::optional<std::vector<check::Mismatch>> runMismatches_;
    bool runStopped_ = false;
};

} // namespace casl
