#include "cli/commands.h"
#include "cli_fixture.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <string>

namespace casl::cli {
namespace {

namespace fs = std::filesystem;

using test::CommandRun;

CommandRun assembleFile(const fs::path& path) {
    return test::casl2("assemble", {path.string()});
}

class AssembleCommand : public test::FileFolder {};

const std::string header = "Address Object-Code     Label    Mnemonic  Gr, Op, Xr\n"
                           "-------------------------------------------------------------\n";

TEST_F(AssembleCommand, PrintsTheListingWindowAndTheResultLine) {
    const CommandRun run = assembleFile(fs::path(CASL_EXAMPLES_DIR) / "hello.cas");
    EXPECT_EQ(run.status, 0);
    const std::string comment = "0000\t\t                 \n";
    EXPECT_EQ(run.out, header + comment + comment + comment +
                           "0000\t         \tHELLO    START   \n"
                           "0002\t         \t         OUT     MSG,LEN\n"
                           "0004\t8100     \t         RET     \n"
                           "0005\t0048     \tMSG      DC      'Hello, CASL II!'\n"
                           "0014\t000F     \tLEN      DC      15\n"
                           "0015\t         \t         END     \n"
                           "Assemble Error: 0\n");
    EXPECT_EQ(run.err, "");
}

TEST_F(AssembleCommand, EveryExampleAssemblesCleanly) {
    int examples = 0;
    for (const auto& entry : fs::directory_iterator(CASL_EXAMPLES_DIR)) {
        if (entry.path().extension() != ".cas") {
            continue;
        }
        ++examples;
        const CommandRun run = assembleFile(entry.path());
        EXPECT_EQ(run.status, 0) << entry.path() << "\n" << run.out;
        EXPECT_TRUE(run.out.ends_with("\nAssemble Error: 0\n")) << entry.path();
    }
    EXPECT_GE(examples, 5);
}

TEST_F(AssembleCommand, FailingAssemblyPrintsItsFindings) {
    const CommandRun run =
        assembleFile(write("bad.cas", "P START\r\n LDX GR1\r\n RET\r\n END\r\n"));
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.out.find("\t         LDX     GR1\nニーモニック \n"), std::string::npos);
    EXPECT_TRUE(run.out.ends_with("Assemble Error: 1\n"));
}

TEST_F(AssembleCommand, OneLineProgramIsListedButCannotBeTraced) {
    const CommandRun run = assembleFile(write("one.cas", " RET\n"));
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, header + "0000\t8100     \t         RET     \nAssemble Error: 0\n");
    // The listing shows no error: standard error says why the program cannot be traced.
    EXPECT_EQ(run.err, "casl2 assemble: a program of one line cannot be traced; Trace needs two "
                       "lines\n");
}

TEST_F(AssembleCommand, BlankFilePrintsNoListingButSaysWhy) {
    for (const char* bytes : {"", "   "}) {
        const fs::path path = write("blank.cas", bytes);
        const CommandRun run = assembleFile(path);
        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err, "casl2: " + path.string() +
                               ": nothing to assemble: the file is empty or holds only blanks\n");
    }
}

TEST_F(AssembleCommand, UnixLineEndsAssembleLineByLine) {
    const CommandRun run = assembleFile(write("unix.cas", "P START\n RET\n END\n"));
    EXPECT_EQ(run.status, 0);
    EXPECT_NE(run.out.find("0002\t8100     \t         RET     \n"), std::string::npos);
}

TEST_F(AssembleCommand, Cp932SourceIsListedInUtf8) {
    // "D DC 'あ'" in CP932: あ is 82 A0.
    const CommandRun run =
        assembleFile(write("sjis.cas", "P START\r\n RET\r\nD DC '\x82\xA0'\r\n END\r\n"));
    EXPECT_EQ(run.status, 0);
    EXPECT_NE(run.out.find("0003\t82A0     \tD        DC      'あ'\n"), std::string::npos);
}

TEST_F(AssembleCommand, UnreadableFilesAndWrongArgumentsExitWithTwo) {
    const CommandRun missing = assembleFile(folder / "missing.cas");
    EXPECT_EQ(missing.status, 2);
    EXPECT_EQ(missing.out, "");
    EXPECT_NE(missing.err, "");

    const CommandRun undecodable =
        assembleFile(write("bad-bytes.cas", "P START\r\n RET\r\n\x82\xFF\r\n"));
    EXPECT_EQ(undecodable.status, 2);
    EXPECT_NE(undecodable.err.find("3"), std::string::npos);

    for (const std::vector<std::string>& args :
         std::vector<std::vector<std::string>>{{}, {"a.cas", "b.cas"}}) {
        const CommandRun wrong = test::casl2("assemble", args);
        EXPECT_EQ(wrong.status, 2);
        EXPECT_EQ(wrong.out, "");
    }
}

} // namespace
} // namespace casl::cli
