#pragma once

#include "workbench/exercise_view.h"

#include <string>
#include <vector>

namespace casl::web {

/// A run of text of one look in a block of the statement.
struct PageStatementSpan {
    std::string text;
    bool strong = false;
    bool emphasis = false;
    bool code = false;
};

/// A block of the statement: `kind` is "heading", "paragraph", "bullet", "numbered" or "code".
struct PageStatementBlock {
    std::string kind;
    int level = 0;
    std::vector<PageStatementSpan> spans;
};

/// A case in the results of 採点.
struct PageExerciseCase {
    std::string name;
    std::string verdict;
    bool passed = false;
    bool hidden = false;
    std::vector<std::string> details;
    int index = 0;
    bool runnable = false;
};

/// The run of a case.
struct PageCaseRun {
    bool shown = false;
    std::string heading;
    std::vector<std::string> given;
    bool ended = false;
    bool passed = false;
    std::vector<std::string> details;
};

/// The open exercise as the page shows it (`ExerciseView`, in UTF-8).
struct PageExercise {
    bool open = false;
    double revision = 0;
    std::string name;
    std::string title;
    /// The menu's command that copies a link to the exercise ("" while none is open).
    std::string linkCommand;
    std::vector<PageStatementBlock> statement;
    bool checkEnabled = false;
    bool checked = false;
    bool allPassed = false;
    std::string summary;
    std::vector<PageExerciseCase> cases;
    PageCaseRun run;
};

PageExercise pageExercise(const ExerciseView& view);

} // namespace casl::web
