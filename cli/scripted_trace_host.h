#pragma once

#include "cli/run_bounds.h"
#include "cli/run_options.h"
#include "simulator/trace_host.h"

#include <cstddef>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

namespace casl {
class TraceSession;
}

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

/// The trace host of `casl2 run`: prints every box (with `--json`, logs it), answers from the
/// command line, and with `--trace` prints the displays at every wait. Nothing is printed or
/// logged past the bound of the output, and once a bound of the run is reached the step
/// question is answered No, silently, so that a run that goes on towards its breakpoint stops.
class ScriptedTraceHost : public AnsweringTraceHost {
public:
    ScriptedTraceHost(const RunOptions& options, std::ostream& out, RunBounds& bounds)
        : options_(options), out_(out), bounds_(bounds) {}

    /// The session whose step count decides the step question and whose waits are traced.
    void attach(const TraceSession& session) { session_ = &session; }

    void showDisplays(const TraceDisplays& displays) override;
    MessageAnswer messageBox(std::u32string_view text, std::u32string_view title,
                             MessageButtons buttons) override;
    std::optional<std::u32string> inputBox(std::u32string_view prompt, std::u32string_view title,
                                           std::u32string_view defaultText,
                                           ScreenPosition position) override;
    void traceEnded() override {}

    /// The boxes, with `--json`.
    const RunLog& log() const { return log_; }

private:
    /// Prints `text`, or nothing when it would pass the bound of the output.
    void print(const std::string& text);
    /// Prints or logs a box and its answer.
    void showBox(std::u32string_view text, std::u32string_view title, MessageButtons buttons,
                 MessageAnswer button);

    const RunOptions& options_;
    std::ostream& out_;
    RunBounds& bounds_;
    const TraceSession* session_ = nullptr;
    std::size_t nextInput_ = 0;
    std::size_t nextAnswer_ = 0;
    RunLog log_;
};

/// The display block: the register rows, `pc`, `sp`, `fr`, `obj`, and both dumps, as the
/// window shows them (LF line ends).
std::string displayBlock(const TraceDisplays& displays);

} // namespace casl::cli
