#pragma once

#include "assembler/assembler.h"
#include "simulator/trace_session.h"

#include <deque>
#include <initializer_list>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace casl::test {

/// One thing the run did to its host, in order; the refreshes of the displays are read from the
/// session.
struct HostEvent {
    enum Kind { Refresh, Wait, Show, Message, Input, Ended } kind;
    std::u32string text;
    std::u32string title;
    MessageButtons buttons = MessageButtons::Ok;
    /// What the box was for (Message and Input only).
    RunBox::Purpose purpose = RunBox::Purpose::Message;
};

/// A trace host that records every call and answers from scripts (Yes and cancel when the
/// scripts run out).
class ScriptedHost : public AnsweringTraceHost {
public:
    std::deque<MessageAnswer> answers;
    std::deque<std::optional<std::u32string>> inputs;
    std::vector<HostEvent> events;
    /// The texts of the last `showDisplays` call.
    DisplayTexts shown;
    bool shownRefreshed = false;
    /// The texts shown at every wait, in order.
    std::vector<DisplayTexts> waits;
    const TraceSession* session = nullptr;

    void showDisplays(const TraceDisplays& displays) override;
    MessageAnswer messageBox(std::u32string_view text, std::u32string_view title,
                             MessageButtons buttons) override;
    std::optional<std::u32string> inputBox(std::u32string_view prompt, std::u32string_view title,
                                           std::u32string_view defaultText,
                                           ScreenPosition position) override;
    void traceEnded() override { record({HostEvent::Ended, {}, {}}); }

    /// The message boxes shown, in order.
    std::vector<HostEvent> messages() const;
    /// Whether the displays were refreshed after the last wait and before message `n`.
    bool refreshedBeforeMessage(std::size_t n) const;
    int count(HostEvent::Kind kind) const;

private:
    /// Records `event` after a Refresh event for every refresh that the session made since the
    /// last event, as its refresh count tells.
    void record(HostEvent event);
    std::uint64_t refreshesSeen_ = 0;
};

/// An assembled program with a trace session on it.
class TracedProgram {
public:
    /// Assembles `lines` (joined with CR LF); the assembly must succeed.
    explicit TracedProgram(std::initializer_list<std::u32string_view> lines,
                           TraceOptions options = {})
        : TracedProgram(std::vector<std::u32string_view>(lines), options) {}
    explicit TracedProgram(const std::vector<std::u32string_view>& lines,
                           TraceOptions options = {});
    /// A session on tables built by hand.
    TracedProgram(std::unique_ptr<ProgramTables> tables, std::u32string infoText,
                  TraceOptions options = {});

    /// Starts the run and presses Next at every wait, at most `nexts` times.
    TracedProgram& run(int nexts = 100000);

    ProgramTables& tables() { return *tables_; }
    MachineState& machine() { return machine_; }
    ScriptedHost& host() { return host_; }
    TraceSession& session() { return *session_; }
    std::int16_t gr(int i) const { return machine_.generalRegisters[static_cast<std::size_t>(i)]; }
    /// The value of the first data word labelled `label`.
    std::int32_t data(std::u32string_view label) const;
    /// The texts of the last `showDisplays`.
    const DisplayTexts& shown() const { return host_.shown; }
    /// The message boxes shown so far.
    std::vector<HostEvent> messages() const { return host_.messages(); }

private:
    std::unique_ptr<ProgramTables> tables_;
    MachineState machine_;
    ScriptedHost host_;
    std::unique_ptr<TraceSession> session_;
};

/// A parameterised case's name from `text`: its ASCII letters and digits, "minus" for "-", "x"
/// for "#", and one "_" for every other run ("LD      GR1,#0500" gives "LD_GR1_x0500").
std::string caseName(std::u32string_view text);

} // namespace casl::test
