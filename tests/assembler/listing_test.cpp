#include "assembler/listing.h"
#include "assembly_fixture.h"

#include <gtest/gtest.h>

namespace casl {
namespace {

using test::assembleLines;

} // namespace

void PrintTo(const ObjectCode& code, std::ostream* os) {
    *os << (code.column ? "column" : "no column");
    for (int i = 0; i < code.wordCount; ++i) {
        *os << ' ' << std::hex << code.words[static_cast<std::size_t>(i)] << std::dec;
    }
}

namespace {

const std::u32string header = U"Address Object-Code     Label    Mnemonic  Gr, Op, Xr\r\n"
                              U"-------------------------------------------------------------\r\n";

TEST(Listing, CleanProgramWithLiteralsDataAndAComment) {
    const auto a = assembleLines({
        U"PGM     START   BEGIN",
        U"; sum two numbers",
        U"BEGIN   LD      GR1,A",
        U"        ADDA    GR1,B       ; add",
        U"        LD      GR2,GR1",
        U"        ST      GR1,ANS",
        U"        LAD     GR3,=3",
        U"        RET",
        U"A       DC      12",
        U"B       DC      #001E, 'Hi'",
        U"ANS     DS      1",
        U"        END",
    });
    const std::u32string listing = U"0000\t         \tPGM      START   BEGIN\r\n"
                                   U"0002\t\t                 \r\n"
                                   U"0002\t1010 000C\tBEGIN    LD      GR1,A\r\n"
                                   U"0004\t2010 000D\t         ADDA    GR1,B\r\n"
                                   U"0006\t1421     \t         LD      GR2,GR1\r\n"
                                   U"0007\t1110 0010\t         ST      GR1,ANS\r\n"
                                   U"0009\t1230 0011\t         LAD     GR3,=3\r\n"
                                   U"000B\t8100     \t         RET     \r\n"
                                   U"000C\t000C     \tA        DC      12\r\n"
                                   U"000D\t001E     \tB        DC      #001E,'Hi'\r\n"
                                   U"0010\t0000     \tANS      DS      1\r\n"
                                   U"0011\t0003     \t         DC      3\r\n"
                                   U"0012\t         \t         END     \r\n";
    EXPECT_EQ(a.result.listingText, listing);
    EXPECT_EQ(a.result.listingWindowText, header + listing);
    EXPECT_EQ(a.result.resultLine, U"Assemble Error: 0");
    EXPECT_EQ(a.result.errorCount, 0);
    EXPECT_TRUE(a.result.success);
    EXPECT_TRUE(a.result.showListing);
    EXPECT_EQ(a.result.infoText, U"PGM       START   BEGIN\r\n"
                                 U"                  \r\n"
                                 U"BEGIN     LD      GR1,A\r\n"
                                 U"          ADDA    GR1,B\r\n"
                                 U"          LD      GR2,GR1\r\n"
                                 U"          ST      GR1,ANS\r\n"
                                 U"          LAD     GR3,=3\r\n"
                                 U"          RET     \r\n"
                                 U"A         DC      12\r\n"
                                 U"B         DC      #001E,'Hi'\r\n"
                                 U"ANS       DS      1\r\n"
                                 U"          DC      3\r\n"
                                 U"          END     \r\n"
                                 U"\r\n");
}

TEST(Listing, ObjectCodesAreTheWordsOfTheColumn) {
    const auto a = assembleLines({
        U"PGM     START   BEGIN",
        U"; sum two numbers",
        U"BEGIN   LD      GR1,A",
        U"        LD      GR2,GR1",
        U"        RET",
        U"        OUT     A,A",
        U"A       DC      65535,'Hi'",
        U"ANS     DS      3",
        U"        FOO",
        U"        END",
    });
    const std::vector<ObjectCode> codes = objectCodes(*a.tables, a.result.reach);
    ASSERT_EQ(codes.size(), 11u);
    const std::vector<ObjectCode> expected{
        {},
        {{}, 0, true},               // START: a blank column
        {},                          // a comment: no column
        {{0x1010, 0x0008}, 2, true}, // LD GR1,A: the codes, then the address word
        {{0x1421, 0}, 1, true},      // the register form has one word
        {{0x8100, 0}, 1, true},      // RET
        {{}, 0, true},               // a macro
        {{0xFFFF, 0}, 1, true},      // DC: the word at the line's address only
        {{0, 0}, 1, true},           // DS
        {},                          // an unknown mnemonic: no column
        {{}, 0, true},               // END
    };
    EXPECT_EQ(codes, expected);
}

TEST(Listing, EveryErrorWithItsMessage) {
    const auto a = assembleLines({
        U"PGM START",
        U"DUP NOP",
        U"DUP NOP",
        U"LONGLABEL1 NOP",
        U"lower NOP",
        U" LD GR8,DATA",
        U" LD GR1,DATA,GR0",
        U" LDD GR1",
        U" LD GR1,#FF",
        U" JUMP NOWHERE",
        U" RET",
        U"DATA DC 5",
        U" END",
    });
    EXPECT_EQ(a.result.listingText, U"0000\t         \tPGM      START   \r\n"
                                    U"0002\t0000 0000\tDUP      NOP     \r\n"
                                    U"ラベルの重複 \r\n"
                                    U"0003\t0000 0000\tDUP      NOP     \r\n"
                                    U"0004\t0000 0000\tLONGLABEL1NOP     \r\n"
                                    U"ラベルの長さ \r\n"
                                    U"0005\t0000 0000\tlower    NOP     \r\n"
                                    U"ラベルの文字 \r\n"
                                    U"0006\t1000 0011\t         LD      GR8,DATA\r\n"
                                    U"<GR>レジスタ \r\n"
                                    U"0008\t1010 0011\t         LD      GR1,DATA,GR0\r\n"
                                    U"<XR>レジスタ \r\n"
                                    U"000A\t\t         LDD     GR1\r\n"
                                    U"ニーモニック \r\n"
                                    U"000C\t1010 00FF\t         LD      GR1,#FF\r\n"
                                    U"オペランド \r\n"
                                    U"000E\t6400 0000\t         JUMP    NOWHERE\r\n"
                                    U"オペランドのラベルが見つからない \r\n"
                                    U"0010\t8100     \t         RET     \r\n"
                                    U"0011\t0005     \tDATA     DC      5\r\n"
                                    U"0012\t         \t         END     \r\n");
    EXPECT_EQ(a.result.errorCount, 8);
    EXPECT_EQ(a.result.resultLine, U"Assemble Error: 8");
    EXPECT_FALSE(a.result.success);
    EXPECT_TRUE(a.result.showListing);
    EXPECT_EQ(a.result.infoText, U"");
}

TEST(Listing, MessagesFollowTheFindingsInOrder) {
    const auto a =
        assembleLines({U"P START", U" LD GR9,NOWHERE", U"D DC NOWHERE", U" RET", U" END"});
    EXPECT_EQ(a.result.listingText, U"0000\t         \tP        START   \r\n"
                                    U"0002\t1000 0000\t         LD      GR9,NOWHERE\r\n"
                                    U"<GR>レジスタ \r\n"
                                    U"オペランドのラベルが見つからない \r\n"
                                    // A DC without words shows its own address.
                                    U"0004\t0004     \tD        DC      NOWHERE\r\n"
                                    U"オペランドのラベルが見つからない \r\n"
                                    U"オペランドのラベルが見つからない \r\n"
                                    U"0004\t8100     \t         RET     \r\n"
                                    U"0005\t         \t         END     \r\n");
    EXPECT_EQ(a.result.errorCount, 2);
}

TEST(Listing, DcShowsTheLastFourDigitsOfItsFirstValue) {
    struct Case {
        std::u32string_view line;
        std::u32string_view column;
    };
    const Case cases[] = {
        {U"D DC 65535", U"FFFF     "}, {U"D DC -1", U"FFFF     "},   {U"D DC 65536", U"0000     "},
        {U"D DC 'a'", U"0061     "},   {U"D DC 'あ'", U"82A0     "},
    };
    for (const Case& c : cases) {
        const auto a = assembleLines({U"P START", U" RET", c.line, U" END"});
        const std::u32string& text = a.result.listingText;
        const auto row = text.find(U"0003\t");
        ASSERT_NE(row, std::u32string::npos);
        EXPECT_EQ(text.substr(row + 5, 9), c.column) << std::string(c.line.begin(), c.line.end());
    }
}

TEST(Listing, AnEmptyAreaGivesNoWordToADcAtAddressZero) {
    // `DS 0` leaves a row whose address column reads 0; the DC at address 0 keeps its value.
    const auto a = assembleLines({U"D DC 5", U"P START", U" RET", U"E DS 0", U" END"});
    EXPECT_EQ(a.result.listingText, U"0000\t0005     \tD        DC      5\r\n"
                                    U"0000\t         \tP        START   \r\n"
                                    U"0002\t8100     \t         RET     \r\n"
                                    U"0003\t0000     \tE        DS      0\r\n"
                                    U"0003\t         \t         END     \r\n");
    EXPECT_TRUE(a.result.success);
}

TEST(Listing, OneCleanLineShowsNoListingWindow) {
    const auto a = assembleLines({U" RET"});
    EXPECT_EQ(a.result.errorCount, 0);
    EXPECT_FALSE(a.result.success);
    EXPECT_FALSE(a.result.showListing);
    EXPECT_EQ(a.result.listingText, U"0000\t8100     \t         RET     \r\n");
}

TEST(Listing, OneFaultyLineShowsTheListing) {
    const auto a = assembleLines({U" RETX"});
    EXPECT_EQ(a.result.errorCount, 1);
    EXPECT_TRUE(a.result.showListing);
    EXPECT_EQ(a.result.resultLine, U"Assemble Error: 1");
}

TEST(Listing, Hex4ShowsTheSixteenBitPattern) {
    EXPECT_EQ(hex4(0), U"0000");
    EXPECT_EQ(hex4(10), U"000A");
    EXPECT_EQ(hex4(-1), U"FFFF");
    EXPECT_EQ(hex4(-32768), U"8000");
    EXPECT_EQ(hex4(65535), U"FFFF");
}

} // namespace
} // namespace casl
