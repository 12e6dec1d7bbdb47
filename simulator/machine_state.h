#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace casl {

/// Number of stack slots: slot 0 holds the top index, values occupy slots 2 to 100.
inline constexpr int stackSlotCount = 101;

/// The COMET II machine as the trace shows it. The window keeps it between runs: GR0–GR7 and
/// `stackBase` keep their values until the `START` at address 0 sets them again.
struct MachineState {
    std::array<std::int16_t, 8> generalRegisters{};
    /// SP: moved by every push and pop, shown and dumped, never used to address the stack.
    std::int16_t stackPointer = 0;
    /// The SP that the main program's `START` set; the stack dump counts from it.
    std::int16_t stackBase = 0;
    /// Slot 0 is the index of the top slot (1 = empty).
    std::array<std::int32_t, stackSlotCount> stackSlots{};
    /// OF, 0 or 1.
    int overflowFlag = 0;
    /// SF and ZF together: 0 = SF 0 ZF 0, 1 = ZF 1, 2 = SF 1.
    int signZeroState = 0;
    /// The program line that executes next.
    int currentLine = 1;
    /// Everything `OUT` wrote in this run, CR LF before each `OUT`'s text.
    std::u32string outputText;

    friend bool operator==(const MachineState&, const MachineState&) = default;
};

} // namespace casl
