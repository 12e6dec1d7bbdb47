// Limits and hostile files, end to end through `casl2 assemble`.
#include "cli/commands.h"
#include "cli_fixture.h"

#include <gtest/gtest.h>
#include <string>

namespace casl::cli {
namespace {

using test::CommandRun;

class AssembleLimits : public test::FileFolder {
protected:
    CommandRun assembleBytes(const std::string& bytes) {
        return test::casl2("assemble", {write("program.cas", bytes).string()});
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
    const CommandRun over = assembleBytes(program(298, " NOP"));
    EXPECT_EQ(over.status, 1);
    EXPECT_TRUE(ends(over.out, "プログラムが300行を超えています\nAssemble Error: 1\n")) << over.out;

    EXPECT_EQ(assembleBytes(program(296, " LD GR1,=7")).status, 0);
    const CommandRun literal = assembleBytes(program(296, " LD GR1,=7", " LD GR2,=8\r\n END\r\n"));
    EXPECT_EQ(literal.status, 1);
    EXPECT_TRUE(ends(literal.out, "プログラムが300行を超えています\nAssemble Error: 1\n"));
}

TEST_F(AssembleLimits, DataWordLimit) {
    EXPECT_EQ(assembleBytes(program(0, "", "D DS 1998\r\nE DC 1,2\r\n END\r\n")).status, 0);
    const CommandRun over = assembleBytes(program(0, "", "D DS 1998\r\nE DC 1,2,3\r\n END\r\n"));
    EXPECT_EQ(over.status, 1);
    EXPECT_TRUE(ends(over.out, "データ領域が2000語を超えています\nAssemble Error: 1\n"))
        << over.out;
}

TEST_F(AssembleLimits, LocationCounterLimit) {
    const CommandRun over = assembleBytes(program(0, "", "D DS 32764\r\n END\r\n"));
    EXPECT_EQ(over.status, 1);
    EXPECT_TRUE(ends(over.out, "アドレスが32767を超えています\nAssemble Error: 1\n")) << over.out;
}

TEST_F(AssembleLimits, LabelLength) {
    EXPECT_EQ(assembleBytes(program(1, "ABCDEFGH NOP")).status, 0);
    const CommandRun nine = assembleBytes(program(1, "ABCDEFGHI NOP"));
    EXPECT_EQ(nine.status, 1);
    EXPECT_NE(nine.out.find("ABCDEFGHINOP     \nラベルの長さ \n"), std::string::npos) << nine.out;
}

TEST_F(AssembleLimits, VeryLongLinesAndNulBytes) {
    const CommandRun longLine = assembleBytes(program(1, " NOP ;" + std::string(10000, 'x')));
    EXPECT_EQ(longLine.status, 0);
    const CommandRun longLabel = assembleBytes(program(1, std::string(10000, 'L') + " NOP"));
    EXPECT_EQ(longLabel.status, 1);
    EXPECT_TRUE(ends(longLabel.out, "Assemble Error: 1\n"));

    const CommandRun nul = assembleBytes(program(1, std::string(" NOP\0X", 6)));
    EXPECT_EQ(nul.status, 1);
    EXPECT_TRUE(ends(nul.out, "Assemble Error: 1\n"));
    EXPECT_NE(nul.out.find(std::string("NOP\0X", 5)), std::string::npos);
}

TEST_F(AssembleLimits, BytesValidInNeitherEncodingAreRefusedNamingTheLine) {
    // 0x82 0xFF is no CP932 character, and 0xFF is never UTF-8.
    const CommandRun bad = assembleBytes("P START\r\n RET\r\nD DC '\x82\xFF'\r\n END\r\n");
    EXPECT_EQ(bad.status, 2);
    EXPECT_EQ(bad.out, "");
    EXPECT_NE(bad.err.find("3行目"), std::string::npos) << bad.err;

    const CommandRun truncated = assembleBytes("P START\r\n RET\r\n END\r\n\x82");
    EXPECT_EQ(truncated.status, 2);
    EXPECT_NE(truncated.err.find("4行目"), std::string::npos) << truncated.err;
}

TEST_F(AssembleLimits, Utf8SourcesWithAndWithoutMark) {
    const std::string body = "P START\r\n RET\r\nD DC 'あ'\r\n END\r\n";
    for (const std::string& bytes : {body, "\xEF\xBB\xBF" + body}) {
        const CommandRun run = assembleBytes(bytes);
        EXPECT_EQ(run.status, 0);
        EXPECT_NE(run.out.find("0003\t82A0     \tD        DC      'あ'\n"), std::string::npos);
    }
}

} // namespace
} // namespace casl::cli
