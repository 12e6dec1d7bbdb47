// casl2 never reports success when its output did not arrive: a full disk or a closed
// standard output ends with a message and status 9. The real program runs, with its own
// descriptors.
#include "cli_fixture.h"
#include "spawned_casl2.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace casl::cli {
namespace {

namespace fs = std::filesystem;

using test::StdoutTo;

constexpr int outputLost = 9;

std::string example(const std::string& name) {
    return (fs::path(CASL_EXAMPLES_DIR) / (name + ".cas")).string();
}

std::string inClass(const std::string& name) {
    return (fs::path(CASL_CHECK_CLASS_DIR) / name).string();
}

struct LostCase {
    std::string name;
    std::vector<std::string> args;
    StdoutTo to;
};

void PrintTo(const LostCase& c, std::ostream* os) {
    *os << c.name;
}

class LostOutput : public testing::TestWithParam<LostCase> {};

TEST_P(LostOutput, EndsWithItsOwnStatusAndSaysWhy) {
    const test::Spawned lost = test::spawnCasl2(GetParam().args, GetParam().to);
    EXPECT_EQ(lost.status, outputLost);
    EXPECT_EQ(lost.err,
              GetParam().to == StdoutTo::DevFull
                  ? "casl2: the output could not be written: No space left on device\n"
                  : "casl2: the output could not be written: standard output is closed\n");
}

INSTANTIATE_TEST_SUITE_P(
    Commands, LostOutput,
    testing::Values(
        LostCase{"AssembleToAFullDisk", {"assemble", example("hello")}, StdoutTo::DevFull},
        LostCase{
            "AssembleJsonToAFullDisk", {"assemble", "--json", example("hello")}, StdoutTo::DevFull},
        LostCase{"RunToAFullDisk", {"run", example("hello")}, StdoutTo::DevFull},
        LostCase{"RunJsonToAFullDisk",
                 {"run", "--json", example("echo"), "--input", "hi"},
                 StdoutTo::DevFull},
        LostCase{"CheckToAFullDisk",
                 {"check", inClass("tests.toml"), inClass("correct.cas")},
                 StdoutTo::DevFull},
        LostCase{"HelpToAFullDisk", {"run", "--help"}, StdoutTo::DevFull},
        LostCase{"AssembleToAClosedOutput", {"assemble", example("hello")}, StdoutTo::Closed},
        LostCase{"RunToAClosedOutput", {"run", example("loop"), "--trace"}, StdoutTo::Closed},
        LostCase{"VersionToAClosedOutput", {"--version"}, StdoutTo::Closed}),
    testing::PrintToStringParamName());

TEST(LostOutput, AnOutputThatArrivesIsNoError) {
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"assemble", example("hello")},
          std::vector<std::string>{"run", example("hello")}}) {
        const test::Spawned arrived = test::spawnCasl2(args, StdoutTo::Pipe);
        EXPECT_EQ(arrived.status, 0) << args.front();
        EXPECT_EQ(arrived.err, "") << args.front();
        EXPECT_TRUE(arrived.out.ends_with("\n")) << args.front();
    }
}

class LostRun : public test::FileFolder {};

TEST_F(LostRun, APrintingLoopStopsAtItsFirstLostWriteNotAtItsBound) {
    const fs::path loop =
        write("loop.cas", "P START\r\nL OUT M,N\r\n JUMP L\r\nM DC 'HELLO'\r\nN DC 5\r\n END\r\n");
    const test::Spawned lost =
        test::spawnCasl2({"run", loop.string(), "--max-steps", "1000000000"}, StdoutTo::DevFull);
    EXPECT_EQ(lost.status, outputLost);
    EXPECT_EQ(lost.err, "casl2: the output could not be written: No space left on device\n");
}

} // namespace
} // namespace casl::cli
