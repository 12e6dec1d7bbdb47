#pragma once

#include "simulator/run_bounds.h"
#include "simulator/step_budget.h"
#include "simulator/trace_host.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace casl {

class TraceSession;

/// A button pressed at a wait of a scripted run.
enum class Press { Next, Back, End };

/// How a run without a window answers its boxes and which buttons it presses.
struct RunScript {
    /// The answers of the `IN` boxes in order; when they run out, the box is cancelled.
    std::vector<std::u32string> inputs;
    /// The answers of the questions about operands in order (true = Yes); when they run out,
    /// Yes.
    std::vector<bool> answers;
    /// The step question is answered Yes while fewer steps than this were counted, No after.
    std::int64_t maxSteps = defaultMaxSteps;
    /// The buttons pressed at the first waits, in order; Next at every wait after them.
    std::vector<Press> presses;
};

/// Whoever follows a scripted run: what the window would show and every box with its answer.
class RunWatcher {
public:
    virtual ~RunWatcher() = default;
    /// The run waits (`waiting`), opens a box or ends: the displays as the window shows them.
    /// `displays` is valid only during the call.
    virtual void showDisplays(const TraceDisplays& displays, bool waiting) = 0;
    /// A box of the run and the answer the script gave it. The step question comes only when
    /// it was answered No because the step budget was spent; Yes, or No because a bound stopped
    /// the run, is said to nobody.
    virtual void boxAnswered(const RunBox& box, const BoxAnswer& answer) = 0;
};

/// The host of a run without a window (`casl2 run`, a case of `casl2 check`): it answers every
/// box by its purpose from the script, presses the script's buttons at the waits, and stops the
/// run at a wait or at the step question once one of its bounds is reached. With no watcher, once
/// the script's buttons are used up, the run goes on from box to box without waiting at every
/// step in between. The session is made with this host and handed to `drive`.
class ScriptedRun final : public TraceHost {
public:
    ScriptedRun(RunScript script, RunBounds& bounds, RunWatcher* watcher = nullptr)
        : script_(std::move(script)), bounds_(bounds), watcher_(watcher) {}

    ScriptedRun(const ScriptedRun&) = delete;
    ScriptedRun& operator=(const ScriptedRun&) = delete;

    /// Starts `session` and runs it until it ends; a bound that was reached ends it with End
    /// at a wait, or with No to the step question (`RunBounds::reached` says which).
    void drive(TraceSession& session);

    void showDisplays(const TraceDisplays& displays) override;
    /// Every box waits in the session; `drive` answers it.
    std::optional<BoxAnswer> boxOpened(const RunBox& box) override;
    void traceEnded() override {}

private:
    /// The script's answer to `box`; tells the watcher unless the answer is said to nobody.
    BoxAnswer answer(const RunBox& box);
    /// The buttons pressed at the waits until the run stops waiting.
    void press();

    RunScript script_;
    RunBounds& bounds_;
    RunWatcher* watcher_;
    TraceSession* session_ = nullptr;
    std::size_t nextInput_ = 0;
    std::size_t nextAnswer_ = 0;
    std::size_t nextPress_ = 0;
};

} // namespace casl
