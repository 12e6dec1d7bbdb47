#pragma once

#include "simulator/display_changes.h"
#include "simulator/display_texts.h"

#include <string>
#include <string_view>

namespace casl {

namespace texts {
/// What a screen reader says when a run ends without a box of its own (End).
inline constexpr std::u32string_view runEndedAnnouncement = U"トレースが終わりました";
} // namespace texts

/// The most changed dump rows an announcement reads out; it counts the others.
inline constexpr int announcedRowsLimit = 6;

/// What a screen reader says when a step of a run waits: the line the listing marks and what
/// the step changed (`changes` against the wait before), read from the displays `texts` as the
/// window shows them, the binary digits of the registers left out.
std::u32string stepAnnouncement(const DisplayTexts& texts, const DisplayChanges& changes,
                                int markedLine);

} // namespace casl
