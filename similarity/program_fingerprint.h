#pragma once

#include "similarity/instruction_stream.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace casl::similarity {

/// The instructions that a k-gram of the fingerprint spans. Short enough that a copy padded
/// every few lines keeps most of its k-grams, long enough that two programs of one exercise
/// written apart share few.
inline constexpr std::size_t gramLength = 4;

/// An instruction as the report shows it: where it stands in the file and what it says there.
struct ShownLine {
    int fileLine = 0;
    /// The file's line, tabs laid out to stops of 8 and trailing blanks dropped (UTF-8).
    std::string text;
    /// `StreamInstruction::shape` of the instruction.
    std::uint64_t shape = 0;
};

/// One program reduced to what a comparison needs.
struct ProgramFingerprint {
    /// How the reports name the program.
    std::string name;
    /// Why the program is not compared (it cannot be read, is blank, does not assemble);
    /// empty when it is.
    std::string problem;
    /// The hashes of every k-gram of its instructions (registers and code labels renamed in
    /// order of first use within the k-gram) and of every DC/DS line, sorted; equal hashes
    /// repeat.
    std::vector<std::uint64_t> hashes;
    /// Its instructions in order.
    std::vector<ShownLine> lines;

    bool compared() const { return problem.empty(); }
};

/// Assembles the program's text (as read from its file) and fingerprints it.
ProgramFingerprint fingerprintOf(std::string name, std::u32string_view text);

/// A program that could not be read: named, with the reason.
ProgramFingerprint unreadableProgram(std::string name, std::string problem);

/// The hashes of the k-grams of `instructions` (one of the whole stream when it is shorter
/// than a k-gram, none when it is empty), unsorted.
std::vector<std::uint64_t> gramHashes(const std::vector<StreamInstruction>& instructions);

} // namespace casl::similarity
