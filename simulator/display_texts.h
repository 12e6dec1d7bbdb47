#pragma once

#include "assembler/program_tables.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace casl {

/// Every text of the state display, as the window's controls take them (CR LF line ends).
struct DisplayTexts {
    /// The captions of `GR0`, `gr1`, … `gr7`.
    std::array<std::u32string, 8> registers;
    std::u32string pc;  ///< "PR:" and four hexadecimal digits.
    std::u32string sp;  ///< "SP:" and four hexadecimal digits.
    std::u32string fr;  ///< "OF:0 SF:0 ZF:0" and the like.
    std::u32string obj; ///< "OBJ-Code:" and the instruction's words.
    /// `Text2`, under "Stack Area".
    std::u32string stackArea;
    /// `Text1`, under "Data Area".
    std::u32string dataArea;
    /// The editor during the run: the program with the marked line.
    std::u32string listing;

    friend bool operator==(const DisplayTexts&, const DisplayTexts&) = default;
};

/// The captions the window shows before its first trace (the editor text is left empty).
DisplayTexts initialDisplayTexts();

/// A register row: "[0000 0000 0000 0101] 0005 (     5)".
std::u32string registerRow(std::int16_t value);
/// The `pc` caption for a shown address.
std::u32string programRegisterCaption(std::int32_t address);
/// The `obj` caption of an instruction's `lineCode` row.
std::u32string objectCodeCaption(const std::array<std::int16_t, 5>& code);
/// The `obj` caption of a line shown without code.
std::u32string blankObjectCodeCaption();
/// The `fr` caption.
std::u32string flagsCaption(int overflowFlag, int signZeroState);
/// The `sp` caption.
std::u32string stackPointerCaption(std::int16_t stackPointer);
/// The stack dump: the header, then one row per slot from the top slot down to slot 1.
std::u32string stackAreaText(std::int16_t stackBase, const std::int32_t* slots, int topIndex);
/// The data-word dump; `simpleDisplay` ("簡易表示") folds the later words of `DS` areas.
std::u32string dataAreaText(const ProgramTables& tables, bool simpleDisplay);
/// The data-word row that each line of `dataAreaText` shows, by line from 0; 0 for the two
/// header lines and for a line that stands for folded words.
std::vector<int> dataAreaRowsByLine(const ProgramTables& tables, bool simpleDisplay);

/// What the marked listing puts before the executed line, besides the TAB before every line.
inline constexpr std::u32string_view executionMark = U">>>>>> ";

/// How many characters at the start of a line of the marked listing are not program text: the
/// execution mark and its TAB, or the TAB alone.
std::size_t markedListingPrefixLength(std::u32string_view line);

/// The program text of "info.tmp" split into its lines, from which the editor's marked
/// listing is built at every refresh.
class MarkedListing {
public:
    /// `infoText` as written to "info.tmp" (CR LF line ends, one more CR LF at its end).
    explicit MarkedListing(std::u32string_view infoText);

    /// The whole listing: ">>>>>> " and TAB before line `markedLine`, TAB before the others,
    /// every line ending in CR LF.
    std::u32string text(int markedLine) const;
    /// The marked line alone with its prefix (no line end); "" when no line has that number.
    std::u32string line(int markedLine) const;

private:
    std::vector<std::u32string> lines_;
    std::size_t size_ = 0;
};

} // namespace casl
