#pragma once

#include "assembler/program_tables.h"
#include "simulator/machine_state.h"

#include <array>
#include <cstdint>

namespace casl {

/// The values the displays show besides the data words and the stack slots. OF, SF and ZF
/// share one writer: every instruction that sets one of them sets all three.
enum class MachineValue : std::uint8_t {
    GR0,
    GR1,
    GR2,
    GR3,
    GR4,
    GR5,
    GR6,
    GR7,
    ProgramRegister,
    StackPointer,
    Flags,
};

inline constexpr int machineValueCount = 11;

/// The bit of `value` in a set of machine values (`DecodedLine::writes`).
constexpr std::uint16_t valueBit(MachineValue value) {
    return static_cast<std::uint16_t>(1u << static_cast<unsigned>(value));
}
/// The bit of GR`r`.
constexpr std::uint16_t registerBit(int r) {
    return static_cast<std::uint16_t>(1u << (r & 7));
}

/// Who last wrote a value: the step of the run (counted from 1, every executed line a step)
/// and the program line it executed. Step 0: no step of this run wrote it, so it holds what the
/// assembler, an earlier run or this run's start left there. Runs stay far below 2^32 steps:
/// the window asks every 101 steps, and `casl2` stops at 10^9.
struct Writer {
    std::uint32_t step = 0;
    std::uint16_t line = 0;

    friend bool operator==(const Writer&, const Writer&) = default;
};

/// A value of the displays: a machine value, a data word (its row of `dataWords`) or a stack
/// slot (its index in `stackSlots`).
struct ValuePlace {
    enum class Area : std::uint8_t { Machine, DataWord, StackSlot };
    Area area = Area::Machine;
    int index = 0;

    static ValuePlace machine(MachineValue value) {
        return {Area::Machine, static_cast<int>(value)};
    }
    static ValuePlace dataWord(int row) { return {Area::DataWord, row}; }
    static ValuePlace stackSlot(int slot) { return {Area::StackSlot, slot}; }

    friend bool operator==(const ValuePlace&, const ValuePlace&) = default;
};

/// The writer of every value of the displays during one run: eight bytes a value.
class Provenance {
public:
    /// Nothing written yet (a new run).
    void clear() { *this = Provenance{}; }

    Writer& machine(int value) { return machine_[static_cast<std::size_t>(value)]; }
    Writer& dataWord(int row) { return dataWords_[static_cast<std::size_t>(row)]; }
    Writer& stackSlot(int slot) { return stackSlots_[static_cast<std::size_t>(slot)]; }

    /// The writer of `place`; step 0 for a place outside the tables.
    Writer of(ValuePlace place) const;

private:
    std::array<Writer, machineValueCount> machine_{};
    std::array<Writer, maxDataWords + 1> dataWords_{};
    std::array<Writer, stackSlotCount> stackSlots_{};
};

} // namespace casl
