#pragma once

// The step history as it stood before runs were decoded, kept with the reference loop so that
// its figures are those of the loop it replaced.

#include "simulator/bounded_ring.h"

#include <array>
#include <cstddef>
#include <cstdint>

namespace casl::test {

/// Everything a step may change besides data words and stack slots, as it stood at one
/// position of the run: the end of a step, where the run waits or could have waited. Kept small
/// and left uninitialised until written: a record is written at every step, also while the run
/// goes on towards a breakpoint.
struct ReferenceTracePosition {
    std::array<std::int16_t, 8> generalRegisters;
    std::int16_t stackPointer;
    std::int16_t stackBase;
    std::int16_t currentLine;
    std::int16_t markedLine;
    /// `obj` and `pc` as the instruction set them.
    std::int16_t objectCodeLine;
    std::uint16_t programRegister;
    std::uint32_t outputLength;
    /// Where the writes made after this position begin in the write log (modulo 2^32).
    std::uint32_t firstWrite;
    /// The proceeds since the start or the last Yes to the step question: 0 to 100.
    std::int8_t stepCount;
    std::uint8_t overflowFlag : 1;
    std::uint8_t signZeroState : 2;
    std::uint8_t branchMark : 1;
    /// The step answered a question and went on without waiting and without counting.
    std::uint8_t displayOnly : 1;
};

/// One write of a step: which data word or stack slot, and the value it replaced.
struct ReferenceTraceWrite {
    /// A data-word row, or a stack slot plus `stackPlace`.
    std::uint16_t place;
    std::int32_t previous;
};

/// The places of stack slots in `ReferenceTraceWrite::place`.
inline constexpr std::uint16_t referenceStackPlace = 0x8000;

/// The steps of a run that can be undone: for each step, the position before it and the
/// writes it made (per-step undo records, never copies of the tables). Bounded in memory:
/// beyond the bound the oldest steps are dropped.
class ReferenceTraceHistory {
public:
    /// A history that keeps at most about `byteLimit` bytes; 0 keeps nothing.
    explicit ReferenceTraceHistory(std::size_t byteLimit);

    /// Forgets everything (a new run).
    void clear();

    /// A data word or stack slot is about to be overwritten.
    void recordWrite(std::uint16_t place, std::int32_t previous) {
        if (!enabled_) {
            return;
        }
        if (writes_.full()) {
            makeRoomForWrite();
        }
        writes_.pushBack(ReferenceTraceWrite{place, previous});
    }

    /// The run reached a new position: returns the record to fill with it (nothing when the
    /// history keeps nothing). The step that led there can then be undone back to the position
    /// reached before.
    ReferenceTracePosition* newPosition() {
        if (!enabled_) {
            return nullptr;
        }
        return &addPosition();
    }

    /// How many steps can be undone.
    std::size_t stepsBack() const { return steps_.empty() ? 0 : steps_.size() - 1; }
    /// Whether older steps were dropped to stay within the bound.
    bool dropped() const { return dropped_; }
    /// The memory the history takes now.
    std::size_t bytes() const { return steps_.bytes() + writes_.bytes(); }

    /// Undoes the last step: `undo` receives its writes, newest first; returns the position
    /// before the step, which becomes the current one. There must be a step to undo.
    template <typename Undo> const ReferenceTracePosition& back(Undo&& undo) {
        steps_.popBack();
        const ReferenceTracePosition& before = steps_.back();
        while (static_cast<std::uint32_t>(writesEnd()) != before.firstWrite) {
            undo(writes_.back());
            writes_.popBack();
        }
        return before;
    }

private:
    std::uint64_t writesEnd() const { return writesStart_ + writes_.size(); }
    ReferenceTracePosition& addPosition();
    void dropOldestStep();
    void makeRoomForWrite();

    bool enabled_;
    bool dropped_ = false;
    /// The positions reached, oldest first; the last is where the run stands.
    BoundedRing<ReferenceTracePosition> steps_;
    BoundedRing<ReferenceTraceWrite> writes_;
    /// The absolute index of the oldest write kept.
    std::uint64_t writesStart_ = 0;
};

} // namespace casl::test
