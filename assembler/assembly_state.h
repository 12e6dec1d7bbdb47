#pragma once

#include "assembler/program_tables.h"

#include <string>

namespace casl {

/// Messages of the table limits that stop an assembly.
inline constexpr char32_t tooManyLinesMessage[] = U"プログラムが300行を超えています";
inline constexpr char32_t tooManyDataWordsMessage[] = U"データ領域が2000語を超えています";
inline constexpr char32_t addressOverflowMessage[] = U"アドレスが32767を超えています";

/// The tables of one assembly, and whether a table limit has stopped it.
struct AssemblyState {
    ProgramTables& tables;
    /// The limit that stopped the assembly; empty while it goes on.
    std::u32string limitMessage;
    /// The lines that the running pass has finished, counted from line 1; when a limit stops
    /// the pass, the lines after them did not get what the pass gives.
    int finishedLines = 0;

    bool stopped() const { return !limitMessage.empty(); }
    void stop(const char32_t* message) {
        if (!stopped()) {
            limitMessage = message;
        }
    }
};

/// The highest address a word may have.
inline constexpr int highestAddress = 32767;

} // namespace casl
