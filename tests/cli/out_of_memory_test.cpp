// Running out of memory anywhere in casl2 is reported with its own status. Allocations of this
// test program fail above a chosen size, as they would under a tight memory limit.
#include "cli/commands.h"
#include "cli_fixture.h"

#include <atomic>
#include <cstdlib>
#include <gtest/gtest.h>
#include <new>
#include <string>

namespace {

std::atomic<std::size_t> largestAllocation{SIZE_MAX};

} // namespace

void* operator new(std::size_t size) {
    if (size > largestAllocation.load()) {
        throw std::bad_alloc();
    }
    if (void* memory = std::malloc(size == 0 ? 1 : size)) {
        return memory;
    }
    throw std::bad_alloc();
}

// The replacement takes its memory from malloc, so free is the matching release.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
#endif

void operator delete(void* memory) noexcept {
    std::free(memory);
}

void operator delete(void* memory, std::size_t) noexcept {
    std::free(memory);
}

namespace casl::cli {
namespace {

class OutOfMemory : public test::FileFolder {};

TEST_F(OutOfMemory, IsReportedWithItsOwnStatus) {
    std::string program = "P START\r\n RET\r\n";
    program += std::string(1 << 20, ';') + "\r\n END\r\n";
    const std::string path = write("big.cas", program).string();
    for (const char* command : {"assemble", "run"}) {
        largestAllocation = 256 * 1024;
        const test::CommandRun r = test::casl2({command, path});
        largestAllocation = SIZE_MAX;
        EXPECT_EQ(r.status, 8) << command;
        EXPECT_EQ(r.err, "casl2: out of memory\n") << command;
    }
}

} // namespace
} // namespace casl::cli
