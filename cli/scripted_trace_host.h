#pragma once

#include "cli/run_options.h"
#include "simulator/trace_host.h"

#include <cstddef>
#include <iosfwd>

namespace casl {
class TraceSession;
}

namespace casl::cli {

/// The trace host of `casl2 run`: prints every box, answers from the command line, and with
/// `--trace` prints the displays at every wait.
class ScriptedTraceHost : public AnsweringTraceHost {
public:
    ScriptedTraceHost(const RunOptions& options, std::ostream& out)
        : options_(options), out_(out) {}

    /// The session whose step count decides the step question and whose waits are traced.
    void attach(const TraceSession& session) { session_ = &session; }

    void showDisplays(const TraceDisplays& displays) override;
    MessageAnswer messageBox(std::u32string_view text, std::u32string_view title,
                             MessageButtons buttons) override;
    std::optional<std::u32string> inputBox(std::u32string_view prompt, std::u32string_view title,
                                           std::u32string_view defaultText,
                                           ScreenPosition position) override;
    void traceEnded() override {}

private:
    const RunOptions& options_;
    std::ostream& out_;
    const TraceSession* session_ = nullptr;
    std::size_t nextInput_ = 0;
    std::size_t nextAnswer_ = 0;
};

/// The display block: the register rows, `pc`, `sp`, `fr`, `obj`, and both dumps, as the
/// window shows them (LF line ends).
void printDisplayBlock(const TraceDisplays& displays, std::ostream& out);

} // namespace casl::cli
