#pragma once

#include "simulator/bounded_ring.h"

#include <array>
#include <cstddef>
#include <cstdint>

namespace casl {

/// Everything a step may change besides data words and stack slots, as it stood at one
/// position of the run: the end of a step, where the run waits or could have waited.
struct TracePosition {
    std::array<std::int16_t, 8> generalRegisters{};
    std::int16_t stackPointer = 0;
    std::int16_t stackBase = 0;
    std::int32_t currentLine = 0;
    std::int16_t markedLine = 0;
    std::int16_t lineAfterBranch = 0;
    /// `obj` and `pc` as the instruction set them.
    std::int16_t objectCodeLine = 0;
    std::uint16_t programRegister = 0;
    std::int8_t overflowFlag = 0;
    std::int8_t signZeroState = 0;
    bool branchMark = false;
    /// The step answered a question and went on without waiting (and without counting).
    bool displayOnly = false;
    std::int32_t stepCount = 0;
    std::uint32_t outputLength = 0;
    std::int64_t countedSteps = 0;
    /// Where the writes made after this position begin in the write log.
    std::uint64_t firstWrite = 0;
};

/// One write of a step: which data word or stack slot, and the value it replaced.
struct TraceWrite {
    /// A data-word row, or a stack slot plus `stackPlace`.
    std::uint16_t place = 0;
    std::int32_t previous = 0;
};

/// The places of stack slots in `TraceWrite::place`.
inline constexpr std::uint16_t stackPlace = 0x8000;

/// The steps of a run that can be undone: for each step, the position before it and the
/// writes it made (per-step undo records, never copies of the tables). Bounded in memory:
/// beyond the bound the oldest steps are dropped.
class TraceHistory {
public:
    /// A history that keeps at most about `byteLimit` bytes; 0 keeps nothing.
    explicit TraceHistory(std::size_t byteLimit);

    bool enabled() const { return enabled_; }
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
        writes_.pushBack(TraceWrite{place, previous});
    }

    /// The run reached `position`: the step that led there can be undone back to the position
    /// reached before.
    void positionReached(const TracePosition& position);

    /// How many steps can be undone.
    std::size_t stepsBack() const { return steps_.size(); }
    /// Whether older steps were dropped to stay within the bound.
    bool dropped() const { return dropped_; }
    /// The memory the history takes now.
    std::size_t bytes() const { return steps_.bytes() + writes_.bytes(); }

    /// Undoes the last step: `undo` receives its writes, newest first; returns the position
    /// before the step, which becomes the current one. There must be a step to undo.
    template <typename Undo> TracePosition back(Undo&& undo) {
        const TracePosition before = steps_.back();
        steps_.popBack();
        while (writesEnd() > before.firstWrite) {
            undo(writes_.back());
            writes_.popBack();
        }
        current_ = before;
        return before;
    }

private:
    std::uint64_t writesEnd() const { return writesStart_ + writes_.size(); }
    void dropOldestStep();
    void makeRoomForWrite();

    bool enabled_;
    bool haveCurrent_ = false;
    bool dropped_ = false;
    /// The position reached last; its step is not undone, it is where the run stands.
    TracePosition current_;
    BoundedRing<TracePosition> steps_;
    BoundedRing<TraceWrite> writes_;
    /// The absolute index of the oldest write kept.
    std::uint64_t writesStart_ = 0;
};

} // namespace casl
