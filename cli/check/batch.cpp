#include "cli/check/batch.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <thread>

namespace casl::check {
namespace {

/// A program whose check threw (memory ran out) fails every case; the others go on.
ProgramResult checkedOrFailed(const ProgramEntry& program, const TestFile& tests) {
    try {
        return checkProgram(program, tests);
    } catch (const std::exception& error) {
        return failedProgram(program, std::string("could not be checked: ") + error.what(), tests);
    }
}

} // namespace

std::vector<ProgramResult> checkPrograms(const std::vector<ProgramEntry>& programs,
                                         const TestFile& tests, unsigned jobs,
                                         const Progress& progress) {
    const std::size_t total = programs.size();
    std::vector<ProgramResult> results(total);
    std::atomic<std::size_t> next{0};
    std::mutex mutex;
    std::condition_variable changed;
    std::size_t done = 0;

    auto work = [&] {
        for (std::size_t i = next++; i < total; i = next++) {
            results[i] = checkedOrFailed(programs[i], tests);
            {
                const std::lock_guard lock(mutex);
                ++done;
            }
            changed.notify_one();
        }
    };
    std::vector<std::jthread> workers;
    const std::size_t count = std::clamp<std::size_t>(jobs, 1, std::max<std::size_t>(total, 1));
    for (std::size_t i = 0; i < count; ++i) {
        workers.emplace_back(work);
    }
    std::unique_lock lock(mutex);
    for (std::size_t shown = 0; shown < total;) {
        changed.wait(lock, [&] { return done != shown; });
        shown = done;
        if (progress) {
            lock.unlock();
            progress(shown, total);
            lock.lock();
        }
    }
    lock.unlock();
    workers.clear();
    return results;
}

} // namespace casl::check
