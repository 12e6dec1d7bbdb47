#include "assembler/assembler.h"
#include "simulator/decoded_program.h"

#include <climits>
#include <gtest/gtest.h>
#include <memory>

namespace casl {
namespace {

// A run can stand at a number that no line has (past the last line, or before the first);
// every such number must read as no line at all, never as a neighbouring line.
TEST(DecodedProgramTest, EveryNumberOutsideTheProgramReadsAsPastTheEnd) {
    auto tables = std::make_unique<ProgramTables>();
    ASSERT_TRUE(
        assemble(U"MAIN    START\n        LAD     GR1,1\n        RET\n        END\n", *tables)
            .success);
    const AddressIndex index(*tables);
    const auto program = std::make_unique<DecodedProgram>(*tables, index);

    EXPECT_EQ(program->line(2).operation, Operation::Lad);
    EXPECT_EQ(program->line(3).operation, Operation::Ret);
    for (const int outside : {0, 5, maxLines, maxLines + 1, maxLines + 2, -1, INT_MIN, INT_MAX}) {
        EXPECT_EQ(program->line(outside).operation, Operation::PastEnd) << "line " << outside;
    }
}

} // namespace
} // namespace casl
