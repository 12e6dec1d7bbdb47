#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace casl::cli {

/// A button pressed at a wait of the run.
enum class Press { Next, Back, End };

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
    std::int64_t maxSteps = 100000;
    bool simpleDisplay = false;
    bool trace = false;
    /// The buttons pressed at the first waits, in order; Next at every wait after them.
    std::vector<Press> presses;
};

/// The options, or nothing with the reason in `error`.
std::optional<RunOptions> parseRunOptions(const std::vector<std::string>& args, std::string& error);

} // namespace casl::cli
