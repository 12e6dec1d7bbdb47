#include "lockstep_run.h"

#include "platform/text_codec.h"
#include "simulator/run_messages.h"
#include "tests/simulator/reference/reference_trace_session.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <memory>
#include <optional>
#include <random>
#include <sstream>
#include <string>
#include <type_traits>
#include <vector>

namespace casl::test {
namespace {

/// A box as the host saw it.
struct BoxView {
    RunBox::Kind kind = RunBox::Kind::Message;
    std::u32string text;
    std::u32string title;
    MessageButtons buttons = MessageButtons::Ok;
    std::u32string defaultText;
    int left = 0;
    int top = 0;
    RunBox::Purpose purpose = RunBox::Purpose::Message;

    friend bool operator==(const BoxView&, const BoxView&) = default;
};

BoxView viewOf(const RunBox& box) {
    return {box.kind,
            box.text,
            box.title,
            box.buttons,
            box.defaultText,
            box.position.leftTwips,
            box.position.topTwips,
            box.purpose};
}

/// One thing a host was told, with the displays as they stood then.
struct Observation {
    enum Kind { Show, Box, Ended } kind = Show;
    DisplayTexts texts;
    bool refreshed = false;
    /// How many refreshes the run had made.
    std::uint64_t refreshes = 0;
    std::u32string markedLine;
    std::optional<BoxView> box;

    friend bool operator==(const Observation&, const Observation&) = default;
};

Observation observe(Observation::Kind kind, const TraceDisplays& displays) {
    return {kind,
            displays.texts(),
            displays.refreshed(),
            displays.refreshCount(),
            displays.markedListingLine(),
            {}};
}

/// An answer to `box`, drawn from `random`: the step question says Yes while the budget lasts.
BoxAnswer answerFor(const RunBox& box, std::mt19937& random, std::int64_t countedSteps,
                    std::int64_t budget) {
    if (box.kind == RunBox::Kind::Input) {
        if (random() % 4 == 0) {
            return {MessageAnswer::Ok, std::nullopt};
        }
        // ASCII, half-width katakana, a double-byte character and one the code page lacks.
        static constexpr std::u32string_view alphabet = U"AZaz09 #'\"ｱﾝあ漢€";
        std::u32string text;
        const std::size_t length = random() % 8 == 0 ? random() % 120 : random() % 10;
        for (std::size_t i = 0; i < length; ++i) {
            text.push_back(alphabet[random() % alphabet.size()]);
        }
        return {MessageAnswer::Ok, std::move(text)};
    }
    if (box.buttons == MessageButtons::Ok) {
        return {MessageAnswer::Ok, std::nullopt};
    }
    if (box.purpose == RunBox::Purpose::StepQuestion) {
        return {countedSteps < budget ? MessageAnswer::Yes : MessageAnswer::No, std::nullopt};
    }
    return {random() % 2 == 0 ? MessageAnswer::Yes : MessageAnswer::No, std::nullopt};
}

/// A host that notes everything it is told and answers about half of the boxes at once; the
/// others stay open for the driver to answer. Two hosts with the same seed told the same things
/// answer alike.
template <typename Session> class LockstepHost : public TraceHost {
public:
    LockstepHost(std::uint32_t seed, std::int64_t budget) : random_(seed), budget_(budget) {}

    const Session* session = nullptr;
    std::vector<Observation> seen;

    void showDisplays(const TraceDisplays& displays) override {
        seen.push_back(observe(Observation::Show, displays));
    }
    std::optional<BoxAnswer> boxOpened(const RunBox& box) override {
        Observation o = observe(Observation::Box, session->displays());
        o.box = viewOf(box);
        seen.push_back(std::move(o));
        if (random_() % 2 == 0) {
            return std::nullopt;
        }
        return answerFor(box, random_, session->countedSteps(), budget_);
    }
    void traceEnded() override { seen.push_back(observe(Observation::Ended, session->displays())); }

private:
    std::mt19937 random_;
    std::int64_t budget_;
};

std::string utf8(std::u32string_view text) {
    return platform::toUtf8(text);
}

/// The first difference between two sets of display texts, in words; "" when equal.
std::string textsDifference(const DisplayTexts& a, const DisplayTexts& b) {
    const auto field = [](const char* name, const std::u32string& x, const std::u32string& y) {
        return x == y ? std::string()
                      : std::string(name) + ": \"" + utf8(x) + "\" / \"" + utf8(y) + "\"";
    };
    for (std::size_t i = 0; i < 8; ++i) {
        if (a.registers[i] != b.registers[i]) {
            return field(("GR" + std::to_string(i)).c_str(), a.registers[i], b.registers[i]);
        }
    }
    for (const auto& [name, x, y] :
         {std::tuple{"pc", &a.pc, &b.pc}, std::tuple{"sp", &a.sp, &b.sp},
          std::tuple{"fr", &a.fr, &b.fr}, std::tuple{"obj", &a.obj, &b.obj},
          std::tuple{"stack area", &a.stackArea, &b.stackArea},
          std::tuple{"data area", &a.dataArea, &b.dataArea},
          std::tuple{"listing", &a.listing, &b.listing}}) {
        if (*x != *y) {
            return field(name, *x, *y);
        }
    }
    return {};
}

std::string observationDifference(const Observation& a, const Observation& b) {
    std::ostringstream out;
    if (a.kind != b.kind) {
        out << "kind " << a.kind << " / " << b.kind;
    } else if (const std::string texts = textsDifference(a.texts, b.texts); !texts.empty()) {
        out << texts;
    } else if (a.refreshed != b.refreshed) {
        out << "refreshed " << a.refreshed << " / " << b.refreshed;
    } else if (a.refreshes != b.refreshes) {
        out << "refreshes " << a.refreshes << " / " << b.refreshes;
    } else if (a.markedLine != b.markedLine) {
        out << "marked line \"" << utf8(a.markedLine) << "\" / \"" << utf8(b.markedLine) << "\"";
    } else if (a.box.has_value() != b.box.has_value()) {
        out << "box / no box";
    } else if (a.box && !(*a.box == *b.box)) {
        out << "box \"" << utf8(a.box->title) << "\": \"" << utf8(a.box->text) << "\" / \""
            << utf8(b.box->title) << "\": \"" << utf8(b.box->text) << "\"";
    }
    return out.str();
}

/// Everything a session holds that a host or a test can read.
struct SessionView {
    TraceState state = TraceState::NotStarted;
    TraceEnding ending = TraceEnding::None;
    std::int32_t stepCount = 0;
    std::int64_t countedSteps = 0;
    std::size_t stepsBack = 0;
    bool historyDropped = false;
    int breakpointLine = 0;
    std::optional<BoxView> pendingBox;
    std::optional<BoxView> endingBox;
    DisplayTexts texts;
    std::u32string markedLine;
    std::uint16_t programRegister = 0;
    MachineState machine;
    std::vector<std::int32_t> data;
};

template <typename Session>
SessionView viewOf(const Session& s, const MachineState& machine, const ProgramTables& tables) {
    SessionView v;
    v.state = s.state();
    v.ending = s.ending();
    v.stepCount = s.stepCount();
    v.countedSteps = s.countedSteps();
    v.stepsBack = s.stepsBack();
    v.historyDropped = s.historyDropped();
    v.breakpointLine = s.breakpointLine();
    if (const RunBox* box = s.pendingBox()) {
        v.pendingBox = viewOf(*box);
    }
    if (const RunBox* box = s.endingBox()) {
        v.endingBox = viewOf(*box);
    }
    const TraceDisplays displays = s.displays();
    v.texts = displays.texts();
    v.markedLine = displays.markedListingLine();
    v.programRegister = displays.programRegisterAddress();
    v.machine = machine;
    for (int w = 0; w <= maxDataWords; ++w) {
        v.data.push_back(tables.dataWords[static_cast<std::size_t>(w)][dataValueColumn]);
    }
    return v;
}

std::string sessionDifference(const SessionView& a, const SessionView& b) {
    std::ostringstream out;
    if (a.state != b.state) {
        out << "state " << static_cast<int>(a.state) << " / " << static_cast<int>(b.state);
    } else if (a.ending != b.ending) {
        out << "ending " << static_cast<int>(a.ending) << " / " << static_cast<int>(b.ending);
    } else if (a.stepCount != b.stepCount || a.countedSteps != b.countedSteps) {
        out << "steps " << a.stepCount << "," << a.countedSteps << " / " << b.stepCount << ","
            << b.countedSteps;
    } else if (a.stepsBack != b.stepsBack || a.historyDropped != b.historyDropped) {
        out << "steps back " << a.stepsBack << (a.historyDropped ? " dropped" : "") << " / "
            << b.stepsBack << (b.historyDropped ? " dropped" : "");
    } else if (a.breakpointLine != b.breakpointLine) {
        out << "breakpoint " << a.breakpointLine << " / " << b.breakpointLine;
    } else if (!(a.pendingBox == b.pendingBox)) {
        out << "pending box differs";
    } else if (!(a.endingBox == b.endingBox)) {
        out << "ending box differs";
    } else if (const std::string texts = textsDifference(a.texts, b.texts); !texts.empty()) {
        out << texts;
    } else if (a.markedLine != b.markedLine || a.programRegister != b.programRegister) {
        out << "marked line or pc differs";
    } else if (!(a.machine == b.machine)) {
        out << "machine: line " << a.machine.currentLine << " / " << b.machine.currentLine
            << ", output \"" << utf8(a.machine.outputText) << "\" / \""
            << utf8(b.machine.outputText) << "\"";
    } else if (a.data != b.data) {
        for (std::size_t w = 0; w < a.data.size(); ++w) {
            if (a.data[w] != b.data[w]) {
                out << "data word " << w << ": " << a.data[w] << " / " << b.data[w];
                break;
            }
        }
    }
    return out.str();
}

/// Next until a box, done by the loop before decoding with Next at every wait: what the host
/// was shown at the waits passed is taken back, except that the host, shown nothing since, is
/// shown the displays before a box that opens at once.
void nextUntilBox(ReferenceTraceSession& s, std::vector<Observation>& seen) {
    const auto boxSeen = [&] {
        return std::any_of(seen.begin(), seen.end(),
                           [](const Observation& o) { return o.kind == Observation::Box; });
    };
    s.next();
    while (s.waiting() && !boxSeen()) {
        const Observation passed = seen.back();
        seen.pop_back();
        const std::size_t mark = seen.size();
        s.next();
        if (seen.size() > mark && seen[mark].kind != Observation::Show) {
            seen.insert(seen.begin() + static_cast<std::ptrdiff_t>(mark), passed);
        }
    }
}

} // namespace

LockstepOutcome runLockstep(const ProgramTables& tables, std::u32string_view infoText,
                            const LockstepPlan& plan) {
    auto referenceTables = std::make_unique<ProgramTables>(tables);
    auto decodedTables = std::make_unique<ProgramTables>(tables);
    MachineState referenceMachine = plan.machine;
    MachineState decodedMachine = plan.machine;
    LockstepHost<ReferenceTraceSession> referenceHost(plan.seed, plan.stepBudget);
    LockstepHost<TraceSession> decodedHost(plan.seed, plan.stepBudget);
    ReferenceTraceSession reference(*referenceTables, referenceMachine, infoText, plan.options,
                                    referenceHost);
    TraceSession decoded(*decodedTables, decodedMachine, infoText, plan.options, decodedHost);
    referenceHost.session = &reference;
    decodedHost.session = &decoded;

    LockstepOutcome outcome;
    std::string lastCommand = "start";
    // Compares the two runs; on a difference, reports it once and stops the run.
    const auto agree = [&] {
        std::string difference;
        if (referenceHost.seen.size() != decodedHost.seen.size()) {
            difference = "told " + std::to_string(referenceHost.seen.size()) + " / " +
                         std::to_string(decodedHost.seen.size()) + " things";
        }
        for (std::size_t i = 0; difference.empty() && i < referenceHost.seen.size(); ++i) {
            difference = observationDifference(referenceHost.seen[i], decodedHost.seen[i]);
        }
        if (difference.empty()) {
            difference = sessionDifference(viewOf(reference, referenceMachine, *referenceTables),
                                           viewOf(decoded, decodedMachine, *decodedTables));
        }
        referenceHost.seen.clear();
        decodedHost.seen.clear();
        if (!difference.empty()) {
            ADD_FAILURE() << "the loops differ after " << lastCommand << " (command "
                          << outcome.commands << ", line " << referenceMachine.currentLine
                          << "): " << difference;
            outcome.differed = true;
        }
        return !outcome.differed;
    };
    const auto both = [&](std::string command, auto&& act) {
        lastCommand = std::move(command);
        ++outcome.commands;
        act(reference);
        act(decoded);
        return agree();
    };

    std::mt19937 driver(plan.seed ^ 0x5bd1e995U);
    bool same = both("start", [](auto& s) { s.start(); });
    for (int c = 0; same && c < plan.commands && !reference.ended(); ++c) {
        if (reference.asking()) {
            const BoxAnswer answer = answerFor(*reference.pendingBox(), driver,
                                               reference.countedSteps(), plan.stepBudget);
            same = both("an answer", [&](auto& s) { s.answer(answer); });
            continue;
        }
        ++outcome.waits;
        const unsigned roll = plan.varyCommands ? driver() % 100 : 0;
        if (roll < 60) {
            same = both("Next", [](auto& s) { s.next(); });
        } else if (roll < 70) {
            same = both("Next until a box", [&](auto& s) {
                if constexpr (std::is_same_v<std::decay_t<decltype(s)>, TraceSession>) {
                    s.nextUntilBox();
                } else {
                    nextUntilBox(s, referenceHost.seen);
                }
            });
        } else if (roll < 88) {
            const unsigned count = 1 + driver() % 4;
            same = both("戻る", [&](auto& s) {
                for (unsigned i = 0; i < count; ++i) {
                    s.back();
                }
            });
        } else if (roll < 94) {
            // A line of the program, one past it, or none.
            const int line = static_cast<int>(
                driver() % static_cast<unsigned>(std::max(tables.lineCount(), 1) + 2));
            same = both("a breakpoint move", [&](auto& s) { s.setBreakpointLine(line); });
        } else if (roll < 99) {
            const bool simple = driver() % 2 == 0;
            same = both("a display switch", [&](auto& s) { s.setSimpleDisplay(simple); });
        } else {
            same = both("End", [](auto& s) { s.end(); });
        }
    }
    // Out of commands: End, or No and OK to whatever is open, until the run is over.
    for (int c = 0; same && !reference.ended() && c < 1000; ++c) {
        if (reference.waiting()) {
            same = both("the last End", [](auto& s) { s.end(); });
        } else {
            same = both("the last answer", [](auto& s) {
                s.answer(BoxAnswer{MessageAnswer::No, std::nullopt});
            });
        }
    }
    outcome.countedSteps = decoded.countedSteps();
    outcome.ending = decoded.ending();
    return outcome;
}

} // namespace casl::test
