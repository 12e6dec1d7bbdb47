// The grader on a class with generated cases: 1,000 programs (correct, wrong on lines of one
// character, endless) against one [[generate]] section of 100 cases answered by a reference.
// Measures the whole `casl2 check` process on every core; prints the figures, asserts nothing.
//
// Usage: generate_bench [PROGRAMS] [CASES] [FOLDER]
// With FOLDER the class is written there and kept (FOLDER/tests.toml, FOLDER/class/).

#include "process_run.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

namespace {

using casl::bench::ProcessRun;
using casl::bench::runProcess;

namespace fs = std::filesystem;

/// Reads a line and shows it back to front. `kind` 0 is correct, 1 shows nothing for a line
/// of one character, 2 never leaves its loop. Labels and comments differ per program.
std::string program(int index, int kind) {
    const std::string n = std::to_string(index);
    std::string text = "; reverse, submission " + n + "\r\n";
    text += "REV" + n + " START\r\n";
    text += "        IN      BUF,LEN\r\n";
    text += "        LD      GR1,LEN\r\n";
    if (kind == 1) {
        text += "        CPA     GR1,=1\r\n        JZE     D" + n + "\r\n";
    }
    text += "        LAD     GR2,0\r\n";
    text += "L" + n + "    CPA     GR1,=0\r\n";
    text += "        JZE     O" + n + "\r\n";
    if (kind != 2) {
        text += "        LAD     GR1,-1,GR1\r\n";
    }
    text += "        LD      GR0,BUF,GR1\r\n";
    text += "        ST      GR0,OUTB,GR2\r\n";
    text += "        LAD     GR2,1,GR2\r\n";
    text += "        JUMP    L" + n + "\r\n";
    text += "O" + n + "    OUT     OUTB,LEN\r\n";
    text += "D" + n + "    RET\r\n";
    text += "BUF     DS      80\r\nLEN     DS      1\r\nOUTB    DS      80\r\n        END\r\n";
    return text;
}

/// 85 % correct, 10 % wrong, 5 % endless, interleaved.
int kindOf(int index) {
    const int r = index % 20;
    return r < 17 ? 0 : (r < 19 ? 1 : 2);
}

void write(const fs::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

ProcessRun runCheck(const fs::path& folder) {
    return runProcess({CASL2_PATH, "check", (folder / "tests.toml").string(),
                       (folder / "class").string(), "--format", "json", "--output",
                       (folder / "report.json").string()});
}

} // namespace

int main(int argc, char** argv) {
    const int programs = argc > 1 ? std::atoi(argv[1]) : 1000;
    const int cases = argc > 2 ? std::atoi(argv[2]) : 100;
    const bool keep = argc > 3;
    const fs::path folder =
        keep ? fs::path(argv[3])
             : fs::temp_directory_path() / ("casl2-generate-bench-" + std::to_string(getpid()));
    fs::create_directories(folder / "class");
    write(folder / "reference.cas", program(0, 0));
    write(folder / "tests.toml",
          "reference = \"reference.cas\"\n\n[[generate]]\nname = \"reverse\"\ncount = " +
              std::to_string(cases) +
              "\nseed = 2026\nin = [{ alphabet = \"ABCDEFGHIJ 0123456789\", length = [0, 12] }]\n"
              "max_steps = 2000\n");
    for (int i = 1; i <= programs; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "s%04d.cas", i);
        write(folder / "class" / name, program(i, kindOf(i)));
    }
    const ProcessRun run = runCheck(folder);
    std::printf("casl2 check: %d programs x %d generated cases on %u cores: %.2f s wall, "
                "%.2f s CPU (exit %d, peak %ld MB)\n",
                programs, cases, std::thread::hardware_concurrency(), run.seconds, run.cpuSeconds,
                run.status, run.peakKilobytes / 1024);
    if (!keep) {
        fs::remove_all(folder);
    }
    return run.status == 1 ? 0 : 1;
}
