// Text from a student's file cannot act on a teacher's terminal: on a terminal, control
// characters print as visible escapes; to a file or a pipe the output stays byte for byte.
#include "cli/visible_controls.h"
#include "cli_fixture.h"
#include "spawned_casl2.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <vector>

namespace casl::cli {
namespace {

namespace fs = std::filesystem;

using test::StdoutTo;

struct ControlCase {
    std::string name;
    /// The text, in the pieces in which it is written.
    std::vector<std::string> pieces;
    std::string shown;
};

void PrintTo(const ControlCase& c, std::ostream* os) {
    *os << c.name;
}

class VisibleControls : public testing::TestWithParam<ControlCase> {};

TEST_P(VisibleControls, ShowCaretNotation) {
    std::ostringstream target;
    {
        VisibleControlsBuffer visible(*target.rdbuf());
        std::ostream out(&visible);
        for (const std::string& piece : GetParam().pieces) {
            out << piece;
        }
    }
    EXPECT_EQ(target.str(), GetParam().shown);
}

INSTANTIATE_TEST_SUITE_P(
    Characters, VisibleControls,
    testing::Values(ControlCase{"EscapeSequence", {"a\x1b[2Jb"}, "a^[[2Jb"},
                    ControlCase{"TitleSequence", {"\x1b]0;owned\x07"}, "^[]0;owned^G"},
                    ControlCase{"LoneCarriageReturn", {"abc\rxyz"}, "abc^Mxyz"},
                    ControlCase{"NulAndUnitSeparator", {std::string("\0\x1f", 2)}, "^@^_"},
                    ControlCase{"Delete", {"\x7f"}, "^?"},
                    ControlCase{"C1ControlSequenceIntroducer",
                                {"\xc2\x9b"
                                 "2J"},
                                "M-^[2J"},
                    ControlCase{"C1SplitAcrossWrites", {"x\xc2", "\x80y"}, "xM-^@y"},
                    ControlCase{"TabAndLineFeedStay", {"a\tb\nc\n"}, "a\tb\nc\n"},
                    ControlCase{"OtherCharactersStay", {"\xc2\xa9 あ □ ｱ ~"}, "\xc2\xa9 あ □ ｱ ~"},
                    ControlCase{"ALeadByteAtTheEndGoesOut", {"\xc2"}, "\xc2"}),
    testing::PrintToStringParamName());

class TerminalOutput : public test::FileFolder {
protected:
    /// A program whose DC line carries an escape sequence that clears the screen.
    fs::path clearing() {
        return write("clear.cas", "P START\r\n RET\r\nM DC '\x1b[2J'\r\n END\r\n");
    }
};

TEST_F(TerminalOutput, ShowsTheControlsOfTheListing) {
    const std::string path = clearing().string();
    const test::CommandRun onTerminal = test::casl2({"assemble", path}, true);
    EXPECT_NE(onTerminal.out.find("M        DC      '^[[2J'\n"), std::string::npos)
        << onTerminal.out;
    EXPECT_EQ(onTerminal.out.find('\x1b'), std::string::npos);
    const test::CommandRun toFile = test::casl2({"assemble", path}, false);
    EXPECT_NE(toFile.out.find("M        DC      '\x1b[2J'\n"), std::string::npos);
    // Nothing else differs.
    std::string shown = toFile.out;
    shown.replace(shown.find('\x1b'), 1, "^[");
    EXPECT_EQ(onTerminal.out, shown);
}

TEST_F(TerminalOutput, ShowsTheControlsOfMessages) {
    const std::string path = (folder / "\x1b[31mred.cas").string();
    const test::CommandRun onTerminal = test::casl2({"run", path}, true);
    EXPECT_EQ(onTerminal.status, 2);
    EXPECT_NE(onTerminal.err.find("^[[31mred.cas"), std::string::npos) << onTerminal.err;
    EXPECT_EQ(onTerminal.err.find('\x1b'), std::string::npos);
}

TEST_F(TerminalOutput, JsonEscapesTheControlsWhereverItGoes) {
    const std::string path = clearing().string();
    const test::CommandRun onTerminal = test::casl2({"assemble", "--json", path}, true);
    const test::CommandRun toFile = test::casl2({"assemble", "--json", path}, false);
    EXPECT_EQ(onTerminal.out, toFile.out);
    EXPECT_NE(toFile.out.find(R"("operands": [
        "'\u001b[2J'"
      ])"),
              std::string::npos)
        << toFile.out;
}

TEST_F(TerminalOutput, ARealTerminalSeesNoRawEscape) {
    const std::string path = clearing().string();
    const test::Spawned listing = test::spawnCasl2({"assemble", path}, StdoutTo::Terminal);
    EXPECT_EQ(listing.status, 0) << listing.err;
    EXPECT_NE(listing.out.find("'^[[2J'"), std::string::npos) << listing.out;
    EXPECT_EQ(listing.out.find('\x1b'), std::string::npos);

    const std::vector<std::string> echo{"run", (fs::path(CASL_EXAMPLES_DIR) / "echo.cas").string(),
                                        "--input", "\x1b[2J"};
    const test::Spawned run = test::spawnCasl2(echo, StdoutTo::Terminal);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("> ^[[2J\n"), std::string::npos) << run.out;
    EXPECT_EQ(run.out.find('\x1b'), std::string::npos);

    const test::Spawned onPipe = test::spawnCasl2(echo, StdoutTo::Pipe);
    EXPECT_EQ(onPipe.status, 0);
    EXPECT_NE(onPipe.out.find("> \x1b[2J\n"), std::string::npos);
}

TEST_F(TerminalOutput, ARealTerminalSeesMessagesWithoutRawEscapes) {
    const std::string path = (folder / "\x1b]0;owned\x07.cas").string();
    const test::Spawned onTerminal = test::spawnCasl2({"assemble", path}, StdoutTo::Terminal);
    EXPECT_EQ(onTerminal.status, 2);
    EXPECT_NE(onTerminal.err.find("^[]0;owned^G.cas"), std::string::npos) << onTerminal.err;
    EXPECT_EQ(onTerminal.err.find('\x1b'), std::string::npos);
}

} // namespace
} // namespace casl::cli
