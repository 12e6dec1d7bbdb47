#pragma once

#include "assembler/program_tables.h"
#include "simulator/display_texts.h"
#include "simulator/machine_state.h"

#include <array>
#include <cstdint>
#include <string>

namespace casl {

/// The machine state as the last refresh of the run showed it.
struct RefreshedState {
    /// Whether the run has refreshed the displays yet; before that the register rows, `sp`,
    /// the dumps and the editor keep what they showed before the run.
    bool refreshed = false;
    std::array<std::int16_t, 8> generalRegisters{};
    std::int16_t stackPointer = 0;
    std::int16_t stackBase = 0;
    int overflowFlag = 0;
    int signZeroState = 0;
    /// The top index; `stackSlots` holds slots 0 to `stackTop`.
    int stackTop = 1;
    std::array<std::int32_t, stackSlotCount> stackSlots{};
    int markedLine = 0;
    bool simpleDisplay = false;
    /// How many times the run has refreshed the displays, also while it went on without
    /// waiting: a host that paints only at waits tells by it whether anything was refreshed
    /// since.
    std::uint64_t refreshes = 0;
};

/// What `pc` and `obj` show: the instruction sets them before it acts, not at the refresh.
struct InstructionCaptions {
    std::int32_t programRegister = 0;
    /// The line whose `lineCode` row `obj` shows; 0 for "OBJ-Code:" without code.
    int objectCodeLine = 0;
};

/// The display texts of a run, built only when asked for.
class TraceDisplays {
public:
    TraceDisplays(const RefreshedState& refreshed, const InstructionCaptions& captions,
                  const ProgramTables& tables, const MarkedListing& listing)
        : refreshed_(refreshed), captions_(captions), tables_(tables), listing_(listing) {}

    /// Whether a refresh happened in this run (see `RefreshedState::refreshed`).
    bool refreshed() const { return refreshed_.refreshed; }
    /// How many refreshes the run has made so far (see `RefreshedState::refreshes`).
    std::uint64_t refreshCount() const { return refreshed_.refreshes; }
    /// The caption of the value label of GR`index` (0–7).
    std::u32string registerRow(int index) const;
    std::u32string programRegister() const; ///< `pc`
    /// The address that `pc` shows, as a 16-bit pattern.
    std::uint16_t programRegisterAddress() const {
        return static_cast<std::uint16_t>(captions_.programRegister & 0xFFFF);
    }
    std::u32string stackPointer() const; ///< `sp`
    std::u32string flags() const;        ///< `fr`
    std::u32string objectCode() const;   ///< `obj`
    std::u32string stackArea() const;    ///< `Text2`
    std::u32string dataArea() const;     ///< `Text1`
    /// The editor text: the program with the marked line.
    std::u32string markedListing() const;
    /// The marked line of the listing with its ">>>>>> " prefix; "" when none is marked.
    std::u32string markedListingLine() const;
    /// The line the editor marks (0 = none).
    int markedLine() const { return refreshed_.markedLine; }
    /// Every text at once.
    DisplayTexts texts() const;

private:
    const RefreshedState& refreshed_;
    const InstructionCaptions& captions_;
    const ProgramTables& tables_;
    const MarkedListing& listing_;
};

} // namespace casl
