#include "simulator/display_changes.h"

#include <algorithm>
#include <map>
#include <string_view>
#include <utility>

namespace casl {
namespace {

/// The lines of a dump text (CR LF line ends), without their line ends.
std::vector<std::u32string_view> linesOf(std::u32string_view text) {
    std::vector<std::u32string_view> lines;
    while (!text.empty()) {
        const std::size_t end = text.find(U"\r\n");
        lines.push_back(text.substr(0, end));
        if (end == std::u32string_view::npos) {
            break;
        }
        text.remove_prefix(end + 2);
    }
    return lines;
}

/// Whether the character at `index` of two captions differs (or only one has it).
bool differsAt(std::u32string_view a, std::u32string_view b, std::size_t index) {
    const bool inA = index < a.size();
    const bool inB = index < b.size();
    return inA != inB || (inA && a[index] != b[index]);
}

// "OF:0 SF:0 ZF:0": where each flag's digit stands, after its name of three characters.
constexpr std::size_t overflowDigit = 3;
constexpr std::size_t signDigit = 8;
constexpr std::size_t zeroDigit = 13;
constexpr std::size_t flagNameLength = 3;

/// The flag's name and digit in `caption`, as far as the caption reaches.
CaptionSpan flagSpan(std::u32string_view caption, std::size_t digit) {
    const std::size_t from = std::min(digit - flagNameLength, caption.size());
    const std::size_t to = std::min(digit + 1, caption.size());
    return {static_cast<int>(from), static_cast<int>(to - from)};
}

/// Stack rows are "address TAB value" after two header lines.
constexpr std::size_t dumpHeaderLines = 2;

} // namespace

DisplayChanges displayChanges(const DisplayTexts& previous, const DisplayTexts& current) {
    DisplayChanges changes;
    for (std::size_t i = 0; i < changes.registers.size(); ++i) {
        changes.registers[i] = previous.registers[i] != current.registers[i];
    }
    changes.programRegister = previous.pc != current.pc;
    changes.stackPointer = previous.sp != current.sp;
    changes.overflowFlag = differsAt(previous.fr, current.fr, overflowDigit);
    changes.signFlag = differsAt(previous.fr, current.fr, signDigit);
    changes.zeroFlag = differsAt(previous.fr, current.fr, zeroDigit);
    for (const auto& [changed, digit] :
         {std::pair{changes.overflowFlag, overflowDigit}, std::pair{changes.signFlag, signDigit},
          std::pair{changes.zeroFlag, zeroDigit}}) {
        if (changed) {
            changes.flagSpans.push_back(flagSpan(current.fr, digit));
        }
    }

    const auto before = linesOf(previous.dataArea);
    const auto after = linesOf(current.dataArea);
    if (before.size() == after.size()) {
        for (std::size_t i = dumpHeaderLines; i < after.size(); ++i) {
            if (before[i] != after[i]) {
                changes.dataRows.push_back(static_cast<int>(i));
            }
        }
    }

    std::map<std::u32string_view, std::u32string_view> slots;
    const auto stackBefore = linesOf(previous.stackArea);
    for (std::size_t i = dumpHeaderLines; i < stackBefore.size(); ++i) {
        const std::size_t tab = stackBefore[i].find(U'\t');
        slots[stackBefore[i].substr(0, tab)] = stackBefore[i];
    }
    const auto stackAfter = linesOf(current.stackArea);
    for (std::size_t i = dumpHeaderLines; i < stackAfter.size(); ++i) {
        const std::size_t tab = stackAfter[i].find(U'\t');
        const auto found = slots.find(stackAfter[i].substr(0, tab));
        if (found == slots.end() || found->second != stackAfter[i]) {
            changes.stackRows.push_back(static_cast<int>(i));
        }
    }
    return changes;
}

} // namespace casl
