#pragma once

#include "simulator/trace_host.h"

#include <optional>
#include <string>
#include <string_view>

namespace casl::bench {

/// Answers every question Yes, cancels every input box and shows nothing, like a run that is
/// never looked at.
class QuietHost : public AnsweringTraceHost {
public:
    void showDisplays(const TraceDisplays&) override {}
    MessageAnswer messageBox(std::u32string_view, std::u32string_view, MessageButtons) override {
        return MessageAnswer::Yes;
    }
    std::optional<std::u32string> inputBox(std::u32string_view, std::u32string_view,
                                           std::u32string_view, ScreenPosition) override {
        return std::nullopt;
    }
    void traceEnded() override {}
};

} // namespace casl::bench
