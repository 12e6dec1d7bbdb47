#pragma once

#include "simulator/trace_host.h"

namespace casl {

class Form1;

/// The main window as the host of a trace run: displays go into its labels and text boxes,
/// questions and messages are modal boxes, the `IN` input box sits at its given position.
class WindowTraceHost : public AnsweringTraceHost {
public:
    explicit WindowTraceHost(Form1& window) : window_(window) {}

    void showDisplays(const TraceDisplays& displays) override;
    MessageAnswer messageBox(std::u32string_view text, std::u32string_view title,
                             MessageButtons buttons) override;
    std::optional<std::u32string> inputBox(std::u32string_view prompt, std::u32string_view title,
                                           std::u32string_view defaultText,
                                           ScreenPosition position) override;
    void traceEnded() override;

private:
    Form1& window_;
};

} // namespace casl
