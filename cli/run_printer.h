#pragma once

#include "cli/run_options.h"
#include "simulator/scripted_run.h"

#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

namespace casl::cli {

/// The boxes of a run and their answers, for `casl2 run --json` (UTF-8 texts, CR LF kept).
struct RunLog {
    struct Box {
        RunBox::Kind kind = RunBox::Kind::Message;
        std::string title;
        std::string text;
        MessageButtons buttons = MessageButtons::Ok;
        /// The button of a message box.
        MessageAnswer button = MessageAnswer::Ok;
        /// The text given to an input box; none: cancelled.
        std::optional<std::string> input;
    };
    std::vector<Box> boxes;
};

/// What `casl2 run` shows of its run: prints every box with its answer (with `--json`, logs
/// it), and with `--trace` the displays at every wait. Nothing is printed or logged past the
/// bound of the output; a write that fails stops the run.
class RunPrinter : public RunWatcher {
public:
    RunPrinter(const RunOptions& options, std::ostream& out, RunBounds& bounds)
        : options_(options), out_(out), bounds_(bounds) {}

    void showDisplays(const TraceDisplays& displays, bool waiting) override;
    void boxAnswered(const RunBox& box, const BoxAnswer& answer) override;

    /// The boxes, with `--json`.
    const RunLog& log() const { return log_; }

private:
    /// Prints `text`, or nothing when it would pass the bound of the output.
    void print(const std::string& text);

    const RunOptions& options_;
    std::ostream& out_;
    RunBounds& bounds_;
    RunLog log_;
};

/// The display block: the register rows, `pc`, `sp`, `fr`, `obj`, and both dumps, as the
/// window shows them (LF line ends).
std::string displayBlock(const TraceDisplays& displays);

} // namespace casl::cli
