#include "similarity/program_fingerprint.h"

#include "assembler/assembler.h"
#include "assembler/source_intake.h"
#include "grading/assembly_check.h"
#include "grading/source_lines.h"
#include "platform/text_codec.h"
#include "similarity/stable_hash.h"

#include <algorithm>
#include <array>
#include <memory>

namespace casl::similarity {
namespace {

/// Kept apart from the k-grams, so that a constant never counts as a run of instructions.
constexpr std::uint64_t dataTag = 0xDA7A;

/// Registers and code labels numbered in the order a k-gram first names them: a copy that
/// renames GR1 to GR5 or LOOP to L2 hashes alike.
class LocalNames {
public:
    std::uint64_t registerName(int r) {
        if (registers_[static_cast<std::size_t>(r)] < 0) {
            registers_[static_cast<std::size_t>(r)] = nextRegister_++;
        }
        return static_cast<std::uint64_t>(registers_[static_cast<std::size_t>(r)]);
    }

    std::uint64_t labelName(std::uint64_t target) {
        const auto found = std::find(labels_.begin(), labels_.end(), target);
        if (found != labels_.end()) {
            return static_cast<std::uint64_t>(found - labels_.begin());
        }
        labels_.push_back(target);
        return labels_.size() - 1;
    }

private:
    std::array<int, 8> registers_{-1, -1, -1, -1, -1, -1, -1, -1};
    int nextRegister_ = 0;
    std::vector<std::uint64_t> labels_;
};

std::uint64_t gramHash(const std::vector<StreamInstruction>& instructions, std::size_t begin,
                       std::size_t end) {
    LocalNames names;
    std::uint64_t hash = 0;
    for (std::size_t i = begin; i < end; ++i) {
        const StreamInstruction& in = instructions[i];
        hash = mixed(hash, in.shape());
        for (const std::int8_t r : in.registers) {
            if (r >= 0) {
                hash = mixed(hash, names.registerName(r));
            }
        }
        if (in.kind == OperandKind::Code) {
            // Which label, and whether the jump goes back (a loop) or forward.
            hash = mixed(hash, names.labelName(in.operand));
            hash = mixed(hash, in.operand <= static_cast<std::uint64_t>(in.line) ? 1 : 2);
        }
    }
    return hash;
}

/// The text of a line as a fixed-pitch report shows it.
std::string shownText(std::u32string_view line) {
    std::u32string laidOut;
    for (const char32_t c : line) {
        if (c == U'\t') {
            laidOut.append(8 - laidOut.size() % 8, U' ');
        } else {
            laidOut.push_back(c);
        }
    }
    while (!laidOut.empty() && (laidOut.back() == U' ' || laidOut.back() == U'\r')) {
        laidOut.pop_back();
    }
    return platform::toUtf8(laidOut);
}

} // namespace

std::vector<std::uint64_t> gramHashes(const std::vector<StreamInstruction>& instructions) {
    std::vector<std::uint64_t> hashes;
    if (instructions.empty()) {
        return hashes;
    }
    if (instructions.size() < gramLength) {
        hashes.push_back(gramHash(instructions, 0, instructions.size()));
        return hashes;
    }
    for (std::size_t i = 0; i + gramLength <= instructions.size(); ++i) {
        hashes.push_back(gramHash(instructions, i, i + gramLength));
    }
    return hashes;
}

ProgramFingerprint unreadableProgram(std::string name, std::string problem) {
    ProgramFingerprint program;
    program.name = std::move(name);
    program.problem = std::move(problem);
    return program;
}

ProgramFingerprint fingerprintOf(std::string name, std::u32string_view text) {
    ProgramFingerprint program;
    program.name = std::move(name);
    const auto tables = std::make_unique<ProgramTables>();
    const AssemblyResult assembly = assemble(text, *tables);
    const check::SourceLines fileLines(text);
    if (assembly.blank) {
        program.problem = "is blank";
        return program;
    }
    if (!assembly.success) {
        program.problem = check::assemblyProblem(*tables, assembly, fileLines);
        return program;
    }
    const InstructionStream stream = instructionStream(*tables);
    program.hashes = gramHashes(stream.instructions);
    for (const std::uint64_t data : stream.data) {
        program.hashes.push_back(mixed(dataTag, data));
    }
    std::sort(program.hashes.begin(), program.hashes.end());

    const std::vector<std::u32string_view> kept = keptLines(text);
    for (const StreamInstruction& in : stream.instructions) {
        const auto index = static_cast<std::size_t>(in.line - 1);
        program.lines.push_back({fileLines.fileLine(in.line),
                                 index < kept.size() ? shownText(kept[index]) : std::string(),
                                 in.shape()});
    }
    return program;
}

} // namespace casl::similarity
