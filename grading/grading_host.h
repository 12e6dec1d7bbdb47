#pragma once

#include "grading/check_case.h"
#include "simulator/deadline.h"
#include "simulator/trace_host.h"

#include <cstddef>

namespace casl {
class TraceSession;
}

namespace casl::check {

/// The trace host of a checked run: shows nothing and answers every box from the case.
class GradingHost : public AnsweringTraceHost {
public:
    /// Answers from `c`; once `deadline` has passed, the step question is answered No.
    GradingHost(const CheckCase& c, Deadline& deadline) : case_(c), deadline_(deadline) {}

    /// The session whose counted steps decide the step question.
    void attach(const TraceSession& session) { session_ = &session; }

    void showDisplays(const TraceDisplays& displays) override { static_cast<void>(displays); }
    MessageAnswer messageBox(std::u32string_view text, std::u32string_view title,
                             MessageButtons buttons) override;
    std::optional<std::u32string> inputBox(std::u32string_view prompt, std::u32string_view title,
                                           std::u32string_view defaultText,
                                           ScreenPosition position) override;
    void traceEnded() override {}

private:
    const CheckCase& case_;
    Deadline& deadline_;
    const TraceSession* session_ = nullptr;
    std::size_t nextInput_ = 0;
    std::size_t nextAnswer_ = 0;
};

} // namespace casl::check
