#pragma once

#include "workbench/statement_text.h"

#include <cstdint>
#include <string>
#include <vector>

namespace casl {

/// One case in the results of a Check.
struct ExerciseCaseView {
    std::u32string name;
    /// "合格" or "不合格"; "" before the first Check.
    std::u32string verdict;
    bool passed = false;
    /// A hidden case shows only its name and verdict.
    bool hidden = false;
    /// Why it failed, a line each: what kept it from running, or what was expected and what
    /// came out (`output: expected "CBA", got "CB"`); none for a passed case, and for a hidden
    /// one only that it is hidden.
    std::vector<std::u32string> details;
    /// Its index among the exercise's cases, which `Workbench::startCaseRun` takes.
    std::size_t index = 0;
    /// It can be started as a run: it is not hidden and it runs the program.
    bool runnable = false;

    friend bool operator==(const ExerciseCaseView&, const ExerciseCaseView&) = default;
};

/// The run of a case, while it goes on and once it ended.
struct CaseRunView {
    bool shown = false;
    /// "ケース「three letters」で実行中", then the verdict once the run ended.
    std::u32string heading;
    /// What the case gives the run: its inputs, its data set-up.
    std::vector<std::u32string> given;
    bool ended = false;
    /// The run came to its end and everything the case expects holds.
    bool passed = false;
    /// Once it ended: what was expected and what came out, a line each.
    std::vector<std::u32string> details;

    friend bool operator==(const CaseRunView&, const CaseRunView&) = default;
};

/// The open exercise as the window and the page show it beside the editor.
struct ExerciseView {
    bool open = false;
    /// Grows whenever anything below changes.
    std::uint64_t revision = 0;
    /// The exercise's folder name, and its title (the name when the file gives none).
    std::u32string name;
    std::u32string title;
    std::vector<StatementBlock> statement;
    /// The command that copies a link to the exercise ("" while none is open).
    std::u32string linkCommand;
    /// 採点 and the runs of cases can be started now.
    bool checkEnabled = false;
    /// Whether a Check has been made for this exercise.
    bool checked = false;
    /// Every case passed the last Check.
    bool allPassed = false;
    /// "3 / 5 ケースに合格", everything passed, or what to do now.
    std::u32string summary;
    std::vector<ExerciseCaseView> cases;
    CaseRunView run;

    /// The same view, whatever the revisions.
    bool sameAs(const ExerciseView& other) const {
        return open == other.open && name == other.name && title == other.title &&
               statement == other.statement && linkCommand == other.linkCommand &&
               checkEnabled == other.checkEnabled && checked == other.checked &&
               allPassed == other.allPassed && summary == other.summary && cases == other.cases &&
               run == other.run;
    }
};

} // namespace casl
