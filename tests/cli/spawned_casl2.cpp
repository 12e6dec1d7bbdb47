#include "spawned_casl2.h"

#include <array>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <spawn.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

extern char** environ;

namespace casl::cli::test {
namespace {

/// The two ends of a channel from the child: the one the child writes, the one the test reads.
struct Channel {
    int childEnd = -1;
    int testEnd = -1;
};

Channel pipeChannel() {
    int ends[2] = {-1, -1};
    if (::pipe2(ends, O_CLOEXEC) != 0) {
        return {};
    }
    return {ends[1], ends[0]};
}

/// A pseudo-terminal in raw mode, so that what the child writes arrives unchanged.
Channel terminalChannel() {
    int master = -1;
    int slave = -1;
    if (::openpty(&master, &slave, nullptr, nullptr, nullptr) != 0) {
        return {};
    }
    termios raw{};
    ::tcgetattr(slave, &raw);
    ::cfmakeraw(&raw);
    ::tcsetattr(slave, TCSANOW, &raw);
    ::fcntl(master, F_SETFD, FD_CLOEXEC);
    ::fcntl(slave, F_SETFD, FD_CLOEXEC);
    return {slave, master};
}

/// Reads both channels until the child closed them (a terminal reports EIO then), at most
/// until `deadline`; false when the time ran out.
bool readAll(std::array<int, 2> from, std::array<std::string*, 2> into,
             std::chrono::steady_clock::time_point deadline) {
    std::array<pollfd, 2> polled{{{from[0], POLLIN, 0}, {from[1], POLLIN, 0}}};
    while (polled[0].fd >= 0 || polled[1].fd >= 0) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            return false;
        }
        if (::poll(polled.data(), polled.size(), static_cast<int>(left.count())) < 0 &&
            errno != EINTR) {
            return false;
        }
        for (std::size_t i = 0; i < polled.size(); ++i) {
            if (polled[i].fd < 0 || polled[i].revents == 0) {
                continue;
            }
            std::array<char, 4096> chunk{};
            const ssize_t got = ::read(polled[i].fd, chunk.data(), chunk.size());
            if (got > 0) {
                into[i]->append(chunk.data(), static_cast<std::size_t>(got));
            } else if (got == 0 || errno != EINTR) {
                polled[i].fd = -1;
            }
        }
    }
    return true;
}

} // namespace

Spawned spawnCasl2(const std::vector<std::string>& args, StdoutTo stdoutTo) {
    Spawned result;
    const bool terminal = stdoutTo == StdoutTo::Terminal;
    Channel out = terminal ? terminalChannel() : pipeChannel();
    Channel err = terminal ? terminalChannel() : pipeChannel();

    posix_spawn_file_actions_t actions;
    ::posix_spawn_file_actions_init(&actions);
    switch (stdoutTo) {
    case StdoutTo::DevFull:
        ::posix_spawn_file_actions_addopen(&actions, 1, "/dev/full", O_WRONLY, 0);
        break;
    case StdoutTo::Closed:
        ::posix_spawn_file_actions_addclose(&actions, 1);
        break;
    default:
        ::posix_spawn_file_actions_adddup2(&actions, out.childEnd, 1);
        break;
    }
    ::posix_spawn_file_actions_adddup2(&actions, err.childEnd, 2);

    std::vector<std::string> argv{CASL2_PROGRAM};
    argv.insert(argv.end(), args.begin(), args.end());
    std::vector<char*> pointers;
    for (std::string& arg : argv) {
        pointers.push_back(arg.data());
    }
    pointers.push_back(nullptr);
    pid_t child = -1;
    const int spawned =
        ::posix_spawn(&child, CASL2_PROGRAM, &actions, nullptr, pointers.data(), environ);
    ::posix_spawn_file_actions_destroy(&actions);
    // Only the child holds the writing ends now: the channels end when it does.
    ::close(out.childEnd);
    ::close(err.childEnd);
    if (spawned == 0) {
        const bool done = readAll({out.testEnd, err.testEnd}, {&result.out, &result.err},
                                  std::chrono::steady_clock::now() + std::chrono::seconds(60));
        if (!done) {
            ::kill(child, SIGKILL);
        }
        int status = 0;
        if (::waitpid(child, &status, 0) == child && WIFEXITED(status)) {
            result.status = WEXITSTATUS(status);
        }
    }
    ::close(out.testEnd);
    ::close(err.testEnd);
    return result;
}

} // namespace casl::cli::test
