// Limits and hostile files, end to end through `casl2 assemble`.
#include "cli/commands.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <unistd.h>

namespace casl::cli {
namespace {

namespace fs = std::filesystem;

struct Outcome {
    int status;
    std::string out;
    std::string err;
};

class AssembleLimits : public ::testing::Test {
protected:
    fs::path folder = fs::temp_directory_path() / ("casl2-limits-test-" + std::to_string(getpid()));
    void SetUp() override { fs::create_directories(folder); }
    void TearDown() override { fs::remove_all(folder); }

    Outcome assembleBytes(const std::string& bytes) {
        const fs::path path = folder / "program.cas";
        std::ofstream(path, std::ios::binary) << bytes;
        std::ostringstream out, err;
        const int status = assembleCommand({path.string()}, out, err);
        return {status, out.str(), err.str()};
    }
};

/// START, `count` copies of `line`, RET, then `tail`.
std::string program(int count, const std::string& line, const std::string& tail = " END\r\n") {
    std::string text = "P START\r\n";
    for (int i = 0; i < count; ++i) {
        text += line + "\r\n";
    }
    return text + " RET\r\n" + tail;
}

bool ends(const std::string& text, const std::string& tail) {
    return text.ends_with(tail);
}

TEST_F(AssembleLimits, LineLimitCountsLiteralLines) {
    EXPECT_EQ(assembleBytes(program(297, " NOP")).status, 0);
    const Outcome over = assembleBytes(program(298, " NOP"));
    EXPECT_EQ(over.status, 1);
    EXPECT_TRUE(ends(over.out, "プログラムが300行を超えています\nAssemble Error: 1\n")) << over.out;

    EXPECT_EQ(assembleBytes(program(296, " LD GR1,=7")).status, 0);
    const Outcome literal = assembleBytes(program(296, " LD GR1,=7", " LD GR2,=8\r\n END\r\n"));
    EXPECT_EQ(literal.status, 1);
    EXPECT_TRUE(ends(literal.out, "プログラムが300行を超えています\nAssemble Error: 1\n"));
}

TEST_F(AssembleLimits, DataWordLimit) {
    EXPECT_EQ(assembleBytes(program(0, "", "D DS 1998\r\nE DC 1,2\r\n END\r\n")).status, 0);
    const Outcome over = assembleBytes(program(0, "", "D DS 1998\r\nE DC 1,2,3\r\n END\r\n"));
    EXPECT_EQ(over.status, 1);
    EXPECT_TRUE(ends(over.out, "データ領域が2000語を超えています\nAssemble Error: 1\n"))
        << over.out;
}

TEST_F(AssembleLimits, LocationCounterLimit) {
    const Outcome over = assembleBytes(program(0, "", "D DS 32764\r\n END\r\n"));
    EXPECT_EQ(over.status, 1);
    EXPECT_TRUE(ends(over.out, "アドレスが32767を超えています\nAssemble Error: 1\n")) << over.out;
}

TEST_F(AssembleLimits, LabelLength) {
    EXPECT_EQ(assembleBytes(program(1, "ABCDEFGH NOP")).status, 0);
    const Outcome nine = assembleBytes(program(1, "ABCDEFGHI NOP"));
    EXPECT_EQ(nine.status, 1);
    EXPECT_NE(nine.out.find("ABCDEFGHINOP     \nラベルの長さ \n"), std::string::npos) << nine.out;
}

TEST_F(AssembleLimits, VeryLongLinesAndNulBytes) {
    const Outcome longLine = assembleBytes(program(1, " NOP ;" + std::string(10000, 'x')));
    EXPECT_EQ(longLine.status, 0);
    const Outcome longLabel = assembleBytes(program(1, std::string(10000, 'L') + " NOP"));
    EXPECT_EQ(longLabel.status, 1);
    EXPECT_TRUE(ends(longLabel.out, "Assemble Error: 1\n"));

    const Outcome nul = assembleBytes(program(1, std::string(" NOP\0X", 6)));
    EXPECT_EQ(nul.status, 1);
    EXPECT_TRUE(ends(nul.out, "Assemble Error: 1\n"));
    EXPECT_NE(nul.out.find(std::string("NOP\0X", 5)), std::string::npos);
}

TEST_F(AssembleLimits, BytesValidInNeitherEncodingAreRefusedNamingTheLine) {
    // 0x82 0xFF is no CP932 character, and 0xFF is never UTF-8.
    const Outcome bad = assembleBytes("P START\r\n RET\r\nD DC '\x82\xFF'\r\n END\r\n");
    EXPECT_EQ(bad.status, 2);
    EXPECT_EQ(bad.out, "");
    EXPECT_NE(bad.err.find("3行目"), std::string::npos) << bad.err;

    const Outcome truncated = assembleBytes("P START\r\n RET\r\n END\r\n\x82");
    EXPECT_EQ(truncated.status, 2);
    EXPECT_NE(truncated.err.find("4行目"), std::string::npos) << truncated.err;
}

TEST_F(AssembleLimits, Utf8SourcesWithAndWithoutMark) {
    const std::string body = "P START\r\n RET\r\nD DC 'あ'\r\n END\r\n";
    for (const std::string& bytes : {body, "\xEF\xBB\xBF" + body}) {
        const Outcome run = assembleBytes(bytes);
        EXPECT_EQ(run.status, 0);
        EXPECT_NE(run.out.find("0003\t82A0     \tD        DC      'あ'\n"), std::string::npos);
    }
}

} // namespace
} // namespace casl::cli
