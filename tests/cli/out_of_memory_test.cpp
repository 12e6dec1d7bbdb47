// Running out of memory anywhere in casl2 is reported with its own status. Allocations of this
// test program fail above a chosen size (allocation_limit.cpp), as they would under a tight memory
// limit.
#include "../platform/allocation_limit.h"
#include "cli/commands.h"
#include "cli_fixture.h"

#include <gtest/gtest.h>
#include <string>

namespace casl::cli {
namespace {

class OutOfMemory : public test::FileFolder {};

TEST_F(OutOfMemory, IsReportedWithItsOwnStatus) {
    std::string program = "P START\r\n RET\r\n";
    program += std::string(1 << 20, ';') + "\r\n END\r\n";
    const std::string path = write("big.cas", program).string();
    for (const char* command : {"assemble", "run"}) {
        casl::test::limitAllocations(256 * 1024);
        const test::CommandRun r = test::casl2({command, path});
        casl::test::liftAllocationLimit();
        EXPECT_EQ(r.status, 8) << command;
        EXPECT_EQ(r.err, "casl2: out of memory\n") << command;
    }
}

} // namespace
} // namespace casl::cli
