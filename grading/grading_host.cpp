#include "grading/grading_host.h"

#include "simulator/trace_session.h"

namespace casl::check {

MessageAnswer GradingHost::messageBox(std::u32string_view text, std::u32string_view title,
                                      MessageButtons buttons) {
    static_cast<void>(text);
    static_cast<void>(title);
    if (buttons == MessageButtons::Ok) {
        return MessageAnswer::Ok;
    }
    if (openedBox().purpose == RunBox::Purpose::StepQuestion) {
        // Yes until the budget is spent; the question comes every 101 steps, so a run may go
        // up to 100 steps past the budget, as `casl2 run --max-steps` does.
        const bool yes = session_ != nullptr && session_->countedSteps() < case_.maxSteps &&
                         !deadline_.passedNow();
        return yes ? MessageAnswer::Yes : MessageAnswer::No;
    }
    const bool yes = nextAnswer_ < case_.answers.size() ? case_.answers[nextAnswer_++] : true;
    return yes ? MessageAnswer::Yes : MessageAnswer::No;
}

std::optional<std::u32string> GradingHost::inputBox(std::u32string_view prompt,
                                                    std::u32string_view title,
                                                    std::u32string_view defaultText,
                                                    ScreenPosition position) {
    static_cast<void>(prompt);
    static_cast<void>(title);
    static_cast<void>(defaultText);
    static_cast<void>(position);
    if (nextInput_ < case_.inputs.size()) {
        return case_.inputs[nextInput_++];
    }
    return std::nullopt;
}

} // namespace casl::check
