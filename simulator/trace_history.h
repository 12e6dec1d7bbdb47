#pragma once

#include "simulator/bounded_ring.h"

#include <array>
#include <cstddef>
#include <cstdint>

namespace casl {

/// Everything a step may change besides data words and stack slots, as it stood at one
/// position of the run: the end of a step, where the run waits or could have waited. Kept small
/// and left uninitialised until written: a record is written at every step, also while the run
/// goes on towards a breakpoint.
struct TracePosition {
    std::array<std::int16_t, 8> generalRegisters;
    std::int16_t stackPointer;
    std::int16_t stackBase;
    std::int16_t currentLine;
    std::int16_t markedLine;
    /// `obj` and `pc` as the instruction set them.
    std::int16_t objectCodeLine;
    std::uint16_t programRegister;
    std::uint32_t outputLength;
    /// Where the records made after this position begin in the log (modulo 2^32).
    std::uint32_t firstWrite;
    /// The step that led here, counted from 1 at the run's start, and the line it executed.
    std::uint32_t step;
    std::int16_t executedLine;
    /// The proceeds since the start or the last Yes to the step question: 0 to 100.
    std::int8_t stepCount;
    // Whole bytes rather than bit-fields: each is one store, not a read, a mask and a store.
    std::uint8_t overflowFlag;
    std::uint8_t signZeroState;
    std::uint8_t branchMark;
    /// The step answered a question and went on without waiting and without counting.
    std::uint8_t displayOnly;
};

/// One record of a step in the log, made as the step goes: a value it overwrote (a data word
/// or stack slot and the value it replaced), a writer it replaced (when the run is explained:
/// the value's place, and the step and line of the writer before), or a word it read (the
/// place and the value read).
struct TraceWrite {
    /// The kind, the area and the index: see the place bits below.
    std::uint16_t place;
    /// A replaced writer's line.
    std::uint16_t line;
    /// The value replaced, the replaced writer's step, or the value read.
    std::int32_t previous;
};

// The bits of `TraceWrite::place`: an index (a data-word row, a stack slot or a
// `MachineValue`), the area it belongs to, and the kind of record.
inline constexpr std::uint16_t placeIndexMask = 0x0FFF;
/// The area of stack slots; data words have no area bit.
inline constexpr std::uint16_t stackPlace = 0x1000;
/// The area of the values of `MachineValue`.
inline constexpr std::uint16_t machinePlace = 0x2000;
/// A replaced writer rather than a replaced value.
inline constexpr std::uint16_t writerRecord = 0x4000;
/// A word read rather than a value replaced.
inline constexpr std::uint16_t readRecord = 0x8000;

/// The steps of a run that can be undone: for each step, the position before it and the
/// records it made (per-step undo records, never copies of the tables). Bounded in memory:
/// beyond the bound the oldest steps are dropped. The kept steps are also the run's trace
/// table, and their records say what each wrote and read.
class TraceHistory {
public:
    /// A history that keeps at most about `byteLimit` bytes; 0 keeps nothing.
    explicit TraceHistory(std::size_t byteLimit);

    /// Forgets everything (a new run).
    void clear();

    /// A data word or stack slot is about to be overwritten.
    void recordWrite(std::uint16_t place, std::int32_t previous) {
        record(TraceWrite{place, 0, previous});
    }
    /// The value at `place` gets a new writer; `previous` was its writer before.
    void recordWriter(std::uint16_t place, std::uint32_t previousStep, std::uint16_t previousLine) {
        record(TraceWrite{static_cast<std::uint16_t>(place | writerRecord), previousLine,
                          static_cast<std::int32_t>(previousStep)});
    }
    /// The step read `value` at `place`.
    void recordRead(std::uint16_t place, std::int32_t value) {
        record(TraceWrite{static_cast<std::uint16_t>(place | readRecord), 0, value});
    }

    /// The run reached a new position: returns the record to fill with it (nothing when the
    /// history keeps nothing). The step that led there can then be undone back to the position
    /// reached before. Forced inline: every step asks, and a run without history must pay no
    /// more than the test of `enabled_` (left to itself, the WebAssembly build made it a call).
    [[gnu::always_inline]] TracePosition* newPosition() {
        if (!enabled_) {
            return nullptr;
        }
        if (steps_.empty()) {
            return &firstPosition();
        }
        TracePosition& position = steps_.full() ? recycleOldestStep() : steps_.emplaceBack();
        position.firstWrite = static_cast<std::uint32_t>(writesEnd());
        return &position;
    }

    /// Whether the history keeps anything (its byte limit is above 0).
    bool enabled() const { return enabled_; }
    /// How many steps can be undone.
    std::size_t stepsBack() const { return steps_.empty() ? 0 : steps_.size() - 1; }
    /// How many positions are kept: the current one and those `back` can return to.
    std::size_t positions() const { return steps_.size(); }
    /// Kept position `i`, 0 the oldest.
    const TracePosition& position(std::size_t i) const { return steps_[i]; }
    /// Calls `visit` with the records of the step that led to kept position `i`, oldest first;
    /// `i` = `positions()`: those of the step under way.
    template <typename Visit> void forEachRecordOf(std::size_t i, Visit&& visit) const {
        const std::uint32_t start = static_cast<std::uint32_t>(writesStart_);
        const std::uint32_t from = i == 0 ? start : steps_[i - 1].firstWrite;
        const std::uint32_t to =
            i < steps_.size() ? steps_[i].firstWrite : static_cast<std::uint32_t>(writesEnd());
        for (std::uint32_t n = from - start; n != to - start; ++n) {
            visit(writes_[n]);
        }
    }
    /// Whether older steps were dropped to stay within the bound.
    bool dropped() const { return dropped_; }
    /// The memory the history takes now.
    std::size_t bytes() const { return steps_.bytes() + writes_.bytes(); }

    /// Undoes the last step: `undo` receives its writes, newest first; returns the position
    /// before the step, which becomes the current one. There must be a step to undo.
    template <typename Undo> const TracePosition& back(Undo&& undo) {
        steps_.popBack();
        const TracePosition& before = steps_.back();
        while (static_cast<std::uint32_t>(writesEnd()) != before.firstWrite) {
            undo(writes_.back());
            writes_.popBack();
        }
        return before;
    }

private:
    std::uint64_t writesEnd() const { return writesStart_ + writes_.size(); }
    void record(const TraceWrite& write) {
        if (!enabled_) {
            return;
        }
        if (writes_.full()) {
            makeRoomForWrite();
        }
        writes_.pushBack(write);
    }
    TracePosition& firstPosition();
    /// Drops the records older than `kept`, those of the steps no longer kept.
    void dropWritesBefore(std::uint32_t kept) {
        dropped_ = true;
        // Positions hold the low 32 bits of a record's index; fewer records than that are
        // ever kept.
        const std::uint32_t dropped = kept - static_cast<std::uint32_t>(writesStart_);
        writes_.dropFront(dropped);
        writesStart_ += dropped;
    }
    void dropOldestStep() {
        // The records of the step that led to the new oldest position stay: they tell what
        // that step wrote and read.
        const std::uint32_t kept = steps_.front().firstWrite;
        steps_.popFront();
        dropWritesBefore(kept);
    }
    /// Drops the oldest position and gives its place for the new one: a run that goes on past
    /// the bound does this at every step.
    TracePosition& recycleOldestStep() {
        TracePosition& recycled = steps_.recycleFront();
        dropWritesBefore(recycled.firstWrite);
        return recycled;
    }
    void makeRoomForWrite();

    bool enabled_;
    bool dropped_ = false;
    /// The positions reached, oldest first; the last is where the run stands.
    BoundedRing<TracePosition> steps_;
    BoundedRing<TraceWrite> writes_;
    /// The absolute index of the oldest write kept.
    std::uint64_t writesStart_ = 0;
};

} // namespace casl
