#pragma once

#include "simulator/trace_host.h"

namespace casl {

class Form1;

/// The main window as the host of a trace run: displays go into its labels and text boxes;
/// the run's messages, questions and the `IN` input box open as boxes without a nested event
/// loop, and the window hands their answers to the session when they close.
class WindowTraceHost : public TraceHost {
public:
    explicit WindowTraceHost(Form1& window) : window_(window) {}

    void showDisplays(const TraceDisplays& displays) override;
    std::optional<BoxAnswer> boxOpened(const RunBox& box) override;
    void traceEnded() override;

private:
    Form1& window_;
};

} // namespace casl
