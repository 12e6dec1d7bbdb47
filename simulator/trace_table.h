#pragma once

#include <array>
#include <cstdint>
#include <vector>

namespace casl {

class TraceSession;

/// A data word or stack slot as the run explains it: where it is, and a value.
struct WordOfStep {
    /// A stack slot rather than a data word.
    bool stack = false;
    /// The data word's row of `dataWords`, or the slot's index in `stackSlots`.
    int index = 0;
    /// The address the dumps show it at.
    std::int32_t address = 0;
    /// The value (written: after the step; read: as the step read it).
    std::int32_t value = 0;

    friend bool operator==(const WordOfStep&, const WordOfStep&) = default;
};

/// One row of the trace table: a step and the machine after it.
struct TraceTableRow {
    std::uint32_t step = 0;
    /// The line the step executed.
    int line = 0;
    std::array<std::int16_t, 8> registers{};
    /// What `pc` showed after the step, as a 16-bit pattern.
    std::uint16_t programRegister = 0;
    std::int16_t stackPointer = 0;
    int overflowFlag = 0;
    int signZeroState = 0;
    /// The data words and the stack slots the step wrote, in the order it first wrote them,
    /// with their values after the step; a slot it popped (above the top afterwards) is none.
    std::vector<WordOfStep> written;

    friend bool operator==(const TraceTableRow&, const TraceTableRow&) = default;
};

/// The trace table of an explained run so far: one row per step that the session keeps for 戻る
/// (the newest steps, up to the history's bound), oldest first, from step `fromStep` on. A step
/// that ended the run has no row: the run never stood after it. Empty when the run is not
/// explained or keeps no history.
std::vector<TraceTableRow> traceTableRows(const TraceSession& session, std::uint32_t fromStep = 1);

/// The data words and stack slots the step that led to the current position read, in the order
/// it read them (an explained run only; none before the first step).
std::vector<WordOfStep> wordsReadByStep(const TraceSession& session);

} // namespace casl
