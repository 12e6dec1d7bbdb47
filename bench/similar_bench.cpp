// Copied programs in a class of 1,000: 50 programs written apart, each handed on to 19 others
// who disguise it (labels renamed, registers swapped, NOPs and comments added, data moved, a
// few instructions changed). All of them draw on one small vocabulary of instructions, so that
// unrelated programs share runs too and the index of hashes has to score many pairs. Times the
// whole `casl2 similar` process on the class, and in this process the fingerprints and the
// ranking apart. Prints the figures; asserts nothing.
//
// Usage: similar_bench [PROGRAMS] [REPEATS] [FOLDER]
// With FOLDER the class is written there and kept, so that `casl2 similar FOLDER` can be timed
// again.

#include "platform/source_file.h"
#include "process_run.h"
#include "similarity/similar_pairs.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <thread>
#include <vector>

namespace {

using casl::bench::ProcessRun;
using casl::bench::runProcess;

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

/// One instruction of a generated program, before its names are chosen.
struct Step {
    int op = 0;      ///< Index into `operations`.
    int r = 1;       ///< The first register, 1 to 7.
    int x = 0;       ///< The index or second register, 0 for none.
    int operand = 0; ///< A data label, a number or a code label, by the operation.
    bool labelled = false;
};

enum class Takes { Data, Number, Register, Jump };

struct Operation {
    const char* mnemonic;
    Takes takes;
};

const std::array<Operation, 12> operations{{{"LD", Takes::Data},
                                            {"ST", Takes::Data},
                                            {"ADDA", Takes::Data},
                                            {"SUBA", Takes::Register},
                                            {"LAD", Takes::Number},
                                            {"CPA", Takes::Data},
                                            {"AND", Takes::Register},
                                            {"SLL", Takes::Number},
                                            {"JZE", Takes::Jump},
                                            {"JNZ", Takes::Jump},
                                            {"JUMP", Takes::Jump},
                                            {"ADDL", Takes::Register}}};

constexpr int dataLines = 8;
constexpr int steps = 60;

/// The program that 20 students share, before each disguises it.
std::vector<Step> original(std::mt19937& random) {
    std::vector<Step> program(steps);
    for (Step& s : program) {
        s.op = static_cast<int>(random() % operations.size());
        s.r = 1 + static_cast<int>(random() % 7);
        s.x = random() % 3 == 0 ? 1 + static_cast<int>(random() % 7) : 0;
        s.operand = static_cast<int>(random() % steps);
        s.labelled = random() % 5 == 0;
    }
    return program;
}

/// The program as student `student` hands it in.
std::string disguised(std::vector<Step> program, int student, std::mt19937& random) {
    std::array<int, 8> registers{0, 1, 2, 3, 4, 5, 6, 7};
    std::shuffle(registers.begin() + 1, registers.end(), random);
    for (Step& s : program) {
        if (random() % 12 == 0) {
            s = original(random).front();
        }
    }
    const std::string tag = std::to_string(student);
    const auto label = [&](int line) { return "L" + std::to_string(line) + "X" + tag; };
    const auto data = [&](int d) { return "D" + std::to_string(d) + "Y" + tag; };
    std::string text = "; submission " + tag + "\nP" + tag + " START\n";
    for (int i = 0; i < steps; ++i) {
        const Step& s = program[static_cast<std::size_t>(i)];
        const Operation& op = operations[static_cast<std::size_t>(s.op)];
        std::string line = s.labelled ? label(i) : std::string();
        line.resize(std::max<std::size_t>(line.size() + 1, 10), ' ');
        line += std::string(op.mnemonic) + " ";
        const std::string r = "GR" + std::to_string(registers[static_cast<std::size_t>(s.r)]);
        const std::string x = "GR" + std::to_string(registers[static_cast<std::size_t>(s.x)]);
        switch (op.takes) {
        case Takes::Data:
            line += r + "," + data(s.operand % dataLines) + (s.x != 0 ? "," + x : "");
            break;
        case Takes::Number:
            line += r + "," + std::to_string(s.operand % 4);
            break;
        case Takes::Register:
            line += r + "," + (s.x != 0 ? x : "GR0");
            break;
        case Takes::Jump: {
            // The nearest labelled line at or after the operand, else the first line.
            int target = s.operand;
            while (target < steps && !program[static_cast<std::size_t>(target)].labelled) {
                ++target;
            }
            line += target < steps ? label(target) : "P" + tag;
            break;
        }
        }
        text += line + (random() % 4 == 0 ? " ; " + std::to_string(random() % 1000) : "") + "\n";
        if (random() % 10 == 0) {
            text += "          NOP\n\n";
        }
    }
    text += "          RET\n";
    std::array<int, dataLines> order{};
    for (int d = 0; d < dataLines; ++d) {
        order[static_cast<std::size_t>(d)] = d;
    }
    std::shuffle(order.begin(), order.end(), random);
    for (const int d : order) {
        text += data(d) + " DC " + std::to_string(d * 7) + "\n";
    }
    return text + "          END\n";
}

void writeClass(const fs::path& folder, int programs) {
    fs::create_directories(folder);
    std::mt19937 random(1);
    std::vector<std::vector<Step>> originals;
    for (int i = 0; i < std::max(1, programs / 20); ++i) {
        originals.push_back(original(random));
    }
    for (int i = 0; i < programs; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "s%04d.cas", i);
        std::ofstream(folder / name, std::ios::binary) << disguised(
            originals[static_cast<std::size_t>((i * 7) % originals.size())], i, random);
    }
}

ProcessRun runSimilar(const fs::path& folder) {
    return runProcess({CASL2_PATH, "similar", folder.string(), "--format", "json", "--top", "100",
                       "--output", (folder.parent_path() / "alike.json").string()});
}

double secondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

} // namespace

int main(int argc, char** argv) {
    const int programs = argc > 1 ? std::atoi(argv[1]) : 1000;
    const int repeats = argc > 2 ? std::max(1, std::atoi(argv[2])) : 3;
    const bool keep = argc > 3;
    const fs::path root =
        keep ? fs::path(argv[3])
             : fs::temp_directory_path() / ("casl2-similar-bench-" + std::to_string(getpid()));
    const fs::path folder = root / "class";
    writeClass(folder, programs);

    std::vector<ProcessRun> runs;
    for (int i = 0; i < repeats; ++i) {
        runs.push_back(runSimilar(folder));
    }
    std::sort(runs.begin(), runs.end(),
              [](const ProcessRun& a, const ProcessRun& b) { return a.seconds < b.seconds; });
    std::printf("casl2 similar on %d programs (%d runs): best %.3f s, median %.3f s, peak %ld "
                "KiB; exit status %d (goal: under 10 s on 2 cores)\n",
                programs, repeats, runs.front().seconds, runs[runs.size() / 2].seconds,
                runs.front().peakKilobytes, runs.front().status);

    const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
    std::vector<fs::path> paths(fs::directory_iterator(folder), fs::directory_iterator{});
    std::sort(paths.begin(), paths.end());
    Clock::time_point start = Clock::now();
    std::vector<casl::similarity::ProgramFingerprint> fingerprints;
    for (const fs::path& path : paths) {
        const auto source = casl::platform::readSourceFile(path);
        fingerprints.push_back(casl::similarity::fingerprintOf(
            path.filename().string(), std::get<casl::platform::SourceText>(source).text));
    }
    const double fingerprinting = secondsSince(start);
    start = Clock::now();
    const auto pairs = casl::similarity::similarPairs(fingerprints, 0, cores);
    const double ranking = secondsSince(start);
    std::printf("in process: reading and fingerprinting %.3f s on 1 thread; ranking %.3f s on %u "
                "threads (%zu pairs share a hash of %zu)\n",
                fingerprinting, ranking, cores, pairs.size(),
                fingerprints.size() * (fingerprints.size() - 1) / 2);
    if (!keep) {
        fs::remove_all(root);
    }
}
