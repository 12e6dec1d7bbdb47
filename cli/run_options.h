#pragma once

#include "simulator/scripted_run.h"
#include "simulator/step_budget.h"
#include "simulator/trace_table_text.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace casl::cli {

/// The bytes a run may print unless `--max-output` says otherwise. Every `OUT` box shows the
/// whole output so far, so a printing loop prints with the square of its steps.
inline constexpr std::int64_t defaultMaxOutputBytes = std::int64_t{16} << 20;

/// The arguments of `casl2 run`.
struct RunOptions {
    std::string path;
    /// The answers of the `IN` input boxes, in order (UTF-8).
    std::vector<std::string> inputs;
    /// The answers of the operand questions, in order: true = Yes.
    std::vector<bool> answers;
    /// The line after whose execution the run waits; 0: every step waits.
    int breakpointLine = 0;
    /// The step question is answered Yes while fewer steps than this were counted.
    std::int64_t maxSteps = defaultMaxSteps;
    /// The bytes the boxes and traced displays of the run may print (with `json`: the bytes
    /// of the boxes' texts).
    std::int64_t maxOutputBytes = defaultMaxOutputBytes;
    /// The wall-clock time the run may take; none: no limit.
    std::optional<double> timeLimitSeconds;
    bool simpleDisplay = false;
    bool trace = false;
    /// The run as one JSON object instead of text.
    bool json = false;
    /// The run as its trace table instead of text, and the table's value columns.
    std::optional<TraceTableFormat> table;
    TraceTableColumns tableColumns;
    /// The buttons pressed at the first waits, in order; Next at every wait after them.
    std::vector<Press> presses;
};

} // namespace casl::cli
