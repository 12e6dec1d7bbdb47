#pragma once

#include <string>
#include <vector>

namespace casl::cli::test {

/// Where the standard output of a spawned casl2 goes.
enum class StdoutTo {
    Pipe,     ///< A pipe that the test reads.
    DevFull,  ///< /dev/full: every write fails with ENOSPC.
    Closed,   ///< Nowhere: descriptor 1 is closed.
    Terminal, ///< A pseudo-terminal in raw mode that the test reads; standard error then goes to
              ///< a terminal of its own too.
};

/// How a spawned casl2 ended, and what it wrote.
struct Spawned {
    /// The exit status; -1 when it did not exit by itself (it was killed after 60 seconds).
    int status = -1;
    std::string out;
    std::string err;
};

/// Runs the casl2 program (the real process, with its own standard descriptors) with `args`.
Spawned spawnCasl2(const std::vector<std::string>& args, StdoutTo stdoutTo);

} // namespace casl::cli::test
