#pragma once

#include "assembler/program_tables.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace casl {

/// The two header lines of the listing window, each ending in CR LF.
std::u32string listingHeader();

/// How far the passes of an assembly got. A table limit stops them; the lines after a count
/// kept the cleared address or code of the tables, which the listing leaves blank.
struct ListingReach {
    /// Lines with an address (address pass).
    int addressedLines = maxLines;
    /// Lines with their machine code (encoder).
    int encodedLines = maxLines;
    /// `DC` and `DS` lines with their data words (data pass).
    int dataLines = maxLines;
};

/// The object-code column of one listed line, as words.
struct ObjectCode {
    /// The words the column shows, `wordCount` of them: two for an instruction with an address
    /// word, one for an instruction without one, for `DC` (the data word at the line's address,
    /// or the address itself when none is there) and for `DS` (0000); none for the other
    /// pseudo-instructions and macros, and for a line that a table limit kept from its pass.
    std::array<std::uint16_t, 2> words{};
    int wordCount = 0;
    /// Whether the line has the column at all: a comment line or an unknown mnemonic has none.
    bool column = false;

    friend bool operator==(const ObjectCode&, const ObjectCode&) = default;
};

/// The object-code column of every program line: element n belongs to line n (element 0 to
/// no line).
std::vector<ObjectCode> objectCodes(const ProgramTables& tables, const ListingReach& reach);

/// The listing of every program line with the messages of its findings, CR LF line ends.
std::u32string listingText(const ProgramTables& tables, const ListingReach& reach);

/// The program line that each line of `listingText` belongs to, in order: a listed line and
/// the message lines under it belong to the same program line.
std::vector<int> listingLineOwners(const ProgramTables& tables);

/// The number of header lines (`listingHeader`) before the listing in the listing window.
inline constexpr int listingHeaderLines = 2;

/// The program line that line `windowLine` (0-based, header lines included) of the listing
/// window belongs to; 0 for a header line or a line past the listing.
int programLineOfListingWindowLine(const ProgramTables& tables, int windowLine);

/// The message of assembly error 1–9, with its trailing blank.
std::u32string_view errorMessage(int error);

/// The number of lines in error (findings neither empty nor the comment mark).
int errorCount(const ProgramTables& tables);

/// The program as the assembler understood it, one line per program line (labels aligned,
/// comments gone), ending with one more CR LF: the text of "info.tmp".
std::u32string infoText(const ProgramTables& tables);

/// A word as four upper-case hexadecimal digits (its 16-bit pattern).
std::u32string hex4(std::int32_t value);

} // namespace casl
