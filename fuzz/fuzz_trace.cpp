// Arbitrary text that assembles cleanly, traced with scripted answers and a step budget; every
// display text is built at every wait.
#include "assembler/assembler.h"
#include "platform/source_file.h"
#include "simulator/trace_session.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>
#include <variant>
#include <vector>

namespace {

/// Enough for loops to wrap counters and fill the stack, little enough to stay fast.
constexpr std::int64_t stepBudget = 3000;
constexpr int waitBudget = 3000;

void require(bool condition) {
    if (!condition) {
        __builtin_trap();
    }
}

/// Answers from the fuzzer's bytes: bit by bit for the questions, a few characters for `IN`.
class FuzzHost : public casl::AnsweringTraceHost {
public:
    explicit FuzzHost(std::string_view script) : script_(script) {}
    void attach(const casl::TraceSession& session) { session_ = &session; }

    void showDisplays(const casl::TraceDisplays& displays) override {
        const casl::DisplayTexts texts = displays.texts();
        require(texts.pc.size() == 7 && texts.stackArea.size() > 0);
        // The marked line is one line of the whole listing, or nothing.
        require(texts.listing.find(displays.markedListingLine()) != std::u32string::npos);
    }
    casl::MessageAnswer messageBox(std::u32string_view, std::u32string_view,
                                   casl::MessageButtons buttons) override {
        if (buttons == casl::MessageButtons::Ok) {
            return casl::MessageAnswer::Ok;
        }
        if (openedBox().purpose == casl::RunBox::Purpose::StepQuestion) {
            return session_->countedSteps() < stepBudget ? casl::MessageAnswer::Yes
                                                         : casl::MessageAnswer::No;
        }
        return nextBit() ? casl::MessageAnswer::Yes : casl::MessageAnswer::No;
    }
    std::optional<std::u32string> inputBox(std::u32string_view, std::u32string_view,
                                           std::u32string_view, casl::ScreenPosition) override {
        if (!nextBit()) {
            return std::nullopt;
        }
        std::u32string answer;
        const std::size_t length = nextByte() % 64;
        for (std::size_t i = 0; i < length; ++i) {
            answer.push_back(static_cast<char32_t>(nextByte()) + (nextBit() ? 0x3000 : 0));
        }
        return answer;
    }
    void traceEnded() override { ++endings_; }
    int endings() const { return endings_; }

    bool nextBit() {
        if (bit_ == 0) {
            bits_ = nextByte();
            bit_ = 8;
        }
        --bit_;
        return ((bits_ >> bit_) & 1) != 0;
    }

private:
    unsigned nextByte() {
        if (script_.empty()) {
            return 0;
        }
        return static_cast<unsigned char>(script_[position_++ % script_.size()]);
    }

    std::string_view script_;
    std::size_t position_ = 0;
    unsigned bits_ = 0;
    int bit_ = 0;
    int endings_ = 0;
    const casl::TraceSession* session_ = nullptr;
};

/// Everything a step may change, to check that a step undone leaves nothing behind.
struct RunState {
    casl::DisplayTexts texts;
    casl::MachineState machine;
    std::vector<std::int32_t> data;

    friend bool operator==(const RunState&, const RunState&) = default;
};

RunState stateOf(const casl::TraceSession& session, const casl::MachineState& machine,
                 const casl::ProgramTables& tables) {
    RunState s{session.displays().texts(), machine, {}};
    for (int w = 1; w < tables.dataWordCounter; ++w) {
        s.data.push_back(tables.dataWords[static_cast<std::size_t>(w)][casl::dataValueColumn]);
    }
    return s;
}

} // namespace

// Layout of an input: one byte of options, the script length, the script, then the source.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) {
        return 0;
    }
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const unsigned options = static_cast<unsigned char>(bytes[0]);
    const std::size_t scriptLength = std::min<std::size_t>(bytes[1] & 0x3F, size - 2);
    const std::string_view script = bytes.substr(2, scriptLength);
    auto source = casl::platform::decodeSourceBytes(bytes.substr(2 + scriptLength));
    const auto* text = std::get_if<casl::platform::SourceText>(&source);
    if (text == nullptr) {
        return 0;
    }
    static const auto tables = std::make_unique<casl::ProgramTables>();
    const casl::AssemblyResult assembly = casl::assemble(text->text, *tables);
    if (!assembly.success) {
        return 0;
    }
    casl::MachineState machine;
    FuzzHost host(script);
    const casl::TraceOptions traceOptions{static_cast<int>(options >> 1) % 40, (options & 1) != 0};
    casl::TraceSession session(*tables, machine, assembly.infoText, traceOptions, host);
    host.attach(session);
    session.start();
    for (int waits = 0; session.waiting(); ++waits) {
        if (waits == waitBudget) {
            session.end();
        } else if (host.nextBit() && host.nextBit()) {
            // Next, then as many steps back as it made, leaves exactly what was there before
            // (running on towards a breakpoint, Next may make many steps).
            const RunState before = stateOf(session, machine, *tables);
            const std::size_t stepsBack = session.stepsBack();
            session.next();
            if (session.waiting()) {
                require(session.stepsBack() > stepsBack);
                while (session.stepsBack() > stepsBack) {
                    session.back();
                }
                require(session.waiting());
                require(stateOf(session, machine, *tables) == before);
            }
        } else {
            session.next();
        }
    }
    require(session.ended());
    require(host.endings() == 1);
    // An RPOP on five or six values pops slot 0 too, so the top index may end at -1.
    require(machine.stackSlots[0] >= -1 && machine.stackSlots[0] < casl::stackSlotCount);
    return 0;
}
