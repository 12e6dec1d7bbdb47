#pragma once

#include <chrono>
#include <spawn.h>
#include <stdexcept>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <vector>

extern char** environ;

namespace casl::bench {

/// What one run of a program as its own process took.
struct ProcessRun {
    double seconds = 0;
    /// User and system time of all its threads: the wall time on idle cores is about this over
    /// the cores, whatever else the machine runs.
    double cpuSeconds = 0;
    long peakKilobytes = 0;
    /// The exit status, -1 when it did not exit.
    int status = -1;
};

/// Starts `args` (the program's path first) and waits for it to end.
inline ProcessRun runProcess(std::vector<std::string> args) {
    std::vector<char*> argv;
    for (std::string& a : args) {
        argv.push_back(a.data());
    }
    argv.push_back(nullptr);
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    if (posix_spawn(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0) {
        throw std::runtime_error("cannot start " + args.front());
    }
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    ProcessRun run;
    run.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    run.cpuSeconds = static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                     static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
    run.peakKilobytes = usage.ru_maxrss;
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

} // namespace casl::bench
