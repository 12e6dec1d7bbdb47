#pragma once

#include "simulator/display_texts.h"

#include <array>
#include <vector>

namespace casl {

/// A part of a caption: `length` characters from `from`.
struct CaptionSpan {
    int from = 0;
    int length = 0;

    friend bool operator==(const CaptionSpan&, const CaptionSpan&) = default;
};

/// What differs between the displays of two waits of a run: the captions and dump rows that a
/// front end draws in its accent colour, so that a student sees what a step changed.
struct DisplayChanges {
    std::array<bool, 8> registers{};
    bool programRegister = false;
    bool stackPointer = false;
    bool overflowFlag = false;
    bool signFlag = false;
    bool zeroFlag = false;
    /// Where each changed flag stands in the `fr` caption, its name and digit ("SF:1").
    std::vector<CaptionSpan> flagSpans;
    /// Lines of the data dump (0-based, the two header lines included) whose word changed.
    std::vector<int> dataRows;
    /// Lines of the stack dump (0-based, header included) of slots that are new or changed.
    std::vector<int> stackRows;

    friend bool operator==(const DisplayChanges&, const DisplayChanges&) = default;
};

/// The changes from the displays of one wait to those of the next (or of a step back). Dump
/// lines are compared one by one; stack rows by their address, so a push marks the new top and
/// a pop marks nothing but SP. A data dump whose layout changed ("簡易表示" switched) marks none
/// of its rows.
DisplayChanges displayChanges(const DisplayTexts& previous, const DisplayTexts& current);

} // namespace casl
