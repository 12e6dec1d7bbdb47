// What a comparison sees of a program: the disguises a copier uses leave it unchanged, while a
// change of what the program does shows.
#include "similarity/pair_similarity.h"
#include "similarity/program_fingerprint.h"

#include <gtest/gtest.h>
#include <ostream>
#include <string>

namespace casl::similarity {
namespace {

/// The loop that every case changes: add the words of TABLE into GR2.
const std::u32string original = U"SUMUP   START\n"
                                U"        LAD     GR1,0\n"
                                U"        LAD     GR2,0\n"
                                U"LOOP    CPA     GR1,N\n"
                                U"        JZE     FIN\n"
                                U"        ADDA    GR2,TABLE,GR1\n"
                                U"        LAD     GR1,1,GR1\n"
                                U"        JUMP    LOOP\n"
                                U"FIN     ST      GR2,SUM\n"
                                U"        RET\n"
                                U"N       DC      6\n"
                                U"TABLE   DC      3,1,4,1,5,9\n"
                                U"SUM     DS      1\n"
                                U"        END\n";

struct Variant {
    std::string name;
    std::u32string text;
};

void PrintTo(const Variant& v, std::ostream* os) {
    *os << v.name;
}

std::string caseName(const testing::TestParamInfo<Variant>& info) {
    return info.param.name;
}

double scoreAgainstOriginal(const std::u32string& text) {
    const ProgramFingerprint a = fingerprintOf("original", original);
    const ProgramFingerprint b = fingerprintOf("variant", text);
    EXPECT_TRUE(a.compared()) << a.problem;
    EXPECT_TRUE(b.compared()) << b.problem;
    return scoreOf(sharedHashes(a.hashes, b.hashes), a.hashes.size(), b.hashes.size());
}

class Disguise : public testing::TestWithParam<Variant> {};

TEST_P(Disguise, LeavesTheProgramAsComparisonsSeeIt) {
    EXPECT_DOUBLE_EQ(scoreAgainstOriginal(GetParam().text), 100.0);
}

INSTANTIATE_TEST_SUITE_P(
    Copies, Disguise,
    testing::Values(
        Variant{"LabelsRenamed", U"TOTAL   START\n        LAD     GR1,0\n        LAD     GR2,0\n"
                                 U"AGAIN   CPA     GR1,HOWMANY\n        JZE     STOP\n"
                                 U"        ADDA    GR2,NUMS,GR1\n        LAD     GR1,1,GR1\n"
                                 U"        JUMP    AGAIN\nSTOP    ST      GR2,RES\n"
                                 U"        RET\nHOWMANY DC      6\nNUMS    DC      3,1,4,1,5,9\n"
                                 U"RES     DS      1\n        END\n"},
        Variant{"CommentsAndBlankLines",
                U"; mine\nSUMUP   START\n\n        LAD     GR1,0 ; i\n        LAD     GR2,0\n"
                U"LOOP    CPA     GR1,N ; done?\n        JZE     FIN\n\n"
                U"        ADDA    GR2,TABLE,GR1\n        LAD     GR1,1,GR1\n"
                U"        JUMP    LOOP\nFIN     ST      GR2,SUM\n        RET\n; data\n"
                U"N       DC      6\nTABLE   DC      3,1,4,1,5,9\nSUM     DS      1\n"
                U"        END\n"},
        Variant{"NopAndInstructionsThatChangeNoRegister",
                U"SUMUP   START\n        NOP\n        LAD     GR1,0\n        LAD     GR2,0\n"
                U"LOOP    CPA     GR1,N\n        LD      GR1,GR1\n        JZE     FIN\n"
                U"        ADDA    GR2,TABLE,GR1\n        LAD     GR2,0,GR2\n"
                U"        LAD     GR1,1,GR1\n        NOP\n        JUMP    LOOP\n"
                U"FIN     ST      GR2,SUM\n        RET\nN       DC      6\n"
                U"TABLE   DC      3,1,4,1,5,9\nSUM     DS      1\n        END\n"},
        Variant{"RegistersRenamed",
                U"SUMUP   START\n        LAD     GR6,0\n        LAD     GR3,0\n"
                U"LOOP    CPA     GR6,N\n        JZE     FIN\n        ADDA    GR3,TABLE,GR6\n"
                U"        LAD     GR6,1,GR6\n        JUMP    LOOP\nFIN     ST      GR3,SUM\n"
                U"        RET\nN       DC      6\nTABLE   DC      3,1,4,1,5,9\n"
                U"SUM     DS      1\n        END\n"},
        Variant{"DataReorderedAndMovedBeforeTheCode",
                U"SUMUP   START   GO\nSUM     DS      1\nTABLE   DC      3,1,4,1,5,9\n"
                U"N       DC      6\nGO      LAD     GR1,0\n        LAD     GR2,0\n"
                U"LOOP    CPA     GR1,N\n        JZE     FIN\n        ADDA    GR2,TABLE,GR1\n"
                U"        LAD     GR1,1,GR1\n        JUMP    LOOP\nFIN     ST      GR2,SUM\n"
                U"        RET\n        END\n"},
        Variant{"CommentsBetweenTheDataLines",
                U"SUMUP   START\n        LAD     GR1,0\n        LAD     GR2,0\n"
                U"LOOP    CPA     GR1,N\n        JZE     FIN\n        ADDA    GR2,TABLE,GR1\n"
                U"        LAD     GR1,1,GR1\n        JUMP    LOOP\nFIN     ST      GR2,SUM\n"
                U"        RET\nN       DC      6\n; the table\nTABLE   DC      3,1,4,1,5,9\n"
                U"; the result\nSUM     DS      1\n; end\n        END\n"},
        Variant{"ConstantAsALiteral",
                U"SUMUP   START\n        LAD     GR1,0\n        LAD     GR2,0\n"
                U"LOOP    CPA     GR1,=6\n        JZE     FIN\n        ADDA    GR2,TABLE,GR1\n"
                U"        LAD     GR1,1,GR1\n        JUMP    LOOP\nFIN     ST      GR2,SUM\n"
                U"        RET\nN       DC      6\nTABLE   DC      3,1,4,1,5,9\nSUM     DS      1\n"
                U"        END\n"},
        Variant{"HexadecimalForTheSameNumber",
                U"SUMUP   START\n        LAD     GR1,#0000\n        LAD     GR2,0\n"
                U"LOOP    CPA     GR1,N\n        JZE     FIN\n        ADDA    GR2,TABLE,GR1\n"
                U"        LAD     GR1,#0001,GR1\n        JUMP    LOOP\nFIN     ST      GR2,SUM\n"
                U"        RET\nN       DC      #0006\nTABLE   DC      3,1,4,1,5,9\n"
                U"SUM     DS      1\n        END\n"}),
    caseName);

class Change : public testing::TestWithParam<Variant> {};

TEST_P(Change, ShowsInTheScore) {
    EXPECT_LT(scoreAgainstOriginal(GetParam().text), 100.0);
}

INSTANTIATE_TEST_SUITE_P(
    Programs, Change,
    testing::Values(
        Variant{"AnotherOperation",
                U"SUMUP   START\n        LAD     GR1,0\n        LAD     GR2,0\n"
                U"LOOP    CPA     GR1,N\n        JZE     FIN\n        SUBA    GR2,TABLE,GR1\n"
                U"        LAD     GR1,1,GR1\n        JUMP    LOOP\nFIN     ST      GR2,SUM\n"
                U"        RET\nN       DC      6\nTABLE   DC      3,1,4,1,5,9\nSUM     DS      1\n"
                U"        END\n"},
        Variant{"OtherConstants",
                U"SUMUP   START\n        LAD     GR1,0\n        LAD     GR2,0\n"
                U"LOOP    CPA     GR1,N\n        JZE     FIN\n        ADDA    GR2,TABLE,GR1\n"
                U"        LAD     GR1,1,GR1\n        JUMP    LOOP\nFIN     ST      GR2,SUM\n"
                U"        RET\nN       DC      6\nTABLE   DC      2,7,1,8,2,8\nSUM     DS      1\n"
                U"        END\n"},
        Variant{"OneRegisterWhereThereWereTwo",
                U"SUMUP   START\n        LAD     GR1,0\n        LAD     GR1,0\n"
                U"LOOP    CPA     GR1,N\n        JZE     FIN\n        ADDA    GR1,TABLE,GR1\n"
                U"        LAD     GR1,1,GR1\n        JUMP    LOOP\nFIN     ST      GR1,SUM\n"
                U"        RET\nN       DC      6\nTABLE   DC      3,1,4,1,5,9\nSUM     DS      1\n"
                U"        END\n"},
        Variant{"JumpForwardInsteadOfBack",
                U"SUMUP   START\n        LAD     GR1,0\n        LAD     GR2,0\n"
                U"LOOP    CPA     GR1,N\n        JZE     FIN\n        ADDA    GR2,TABLE,GR1\n"
                U"        LAD     GR1,1,GR1\n        JUMP    FIN\nFIN     ST      GR2,SUM\n"
                U"        RET\nN       DC      6\nTABLE   DC      3,1,4,1,5,9\nSUM     DS      1\n"
                U"        END\n"},
        Variant{"LadThatAddsSomething",
                U"SUMUP   START\n        LAD     GR1,0\n        LAD     GR2,0\n"
                U"LOOP    CPA     GR1,N\n        JZE     FIN\n        ADDA    GR2,TABLE,GR1\n"
                U"        LAD     GR2,1,GR2\n        LAD     GR1,1,GR1\n        JUMP    LOOP\n"
                U"FIN     ST      GR2,SUM\n        RET\nN       DC      6\n"
                U"TABLE   DC      3,1,4,1,5,9\nSUM     DS      1\n        END\n"}),
    caseName);

TEST(Fingerprint, AProgramThatDoesNotAssembleIsNotComparedAndSaysWhy) {
    const ProgramFingerprint p =
        fingerprintOf("typo", U"TYPO    START\n        LD      GR9,X\n        RET\nX DC 1\n END\n");
    EXPECT_FALSE(p.compared());
    EXPECT_NE(p.problem.find("does not assemble"), std::string::npos) << p.problem;
    EXPECT_TRUE(p.hashes.empty());
}

TEST(Fingerprint, ABlankProgramIsNotCompared) {
    const ProgramFingerprint empty = fingerprintOf("empty", U"");
    EXPECT_EQ(empty.problem, "is blank");
    const ProgramFingerprint blanks = fingerprintOf("blanks", U"\n  \n");
    EXPECT_FALSE(blanks.compared());
}

TEST(Fingerprint, AProgramShorterThanAGramStillHasOne) {
    const ProgramFingerprint p = fingerprintOf("short", U"S START\n LAD GR1,1\n RET\n END\n");
    ASSERT_TRUE(p.compared()) << p.problem;
    EXPECT_EQ(p.hashes.size(), 1U);
    EXPECT_EQ(p.lines.size(), 2U);
}

TEST(Fingerprint, LinesAreShownWhereTheFileHasThemWithTabsLaidOut) {
    const ProgramFingerprint p = fingerprintOf(
        "tabs", U"; head\r\n\r\nT\tSTART\r\n\tLAD\tGR1,1\t; one  \r\n\tRET\r\n\tEND\r\n");
    ASSERT_TRUE(p.compared()) << p.problem;
    ASSERT_EQ(p.lines.size(), 2U);
    EXPECT_EQ(p.lines[0].fileLine, 4);
    EXPECT_EQ(p.lines[0].text, "        LAD     GR1,1   ; one");
    EXPECT_EQ(p.lines[1].fileLine, 5);
}

TEST(Fingerprint, DataIsASetWhateverItsOrderButEachLineCounts) {
    const ProgramFingerprint once = fingerprintOf("a", U"A START\n RET\nX DC 1\nY DC 2\n END\n");
    const ProgramFingerprint swapped = fingerprintOf("b", U"A START\n RET\nY DC 2\nX DC 1\n END\n");
    const ProgramFingerprint twice =
        fingerprintOf("c", U"A START\n RET\nX DC 1\nY DC 2\nZ DC 2\n END\n");
    EXPECT_EQ(once.hashes, swapped.hashes);
    EXPECT_EQ(twice.hashes.size(), once.hashes.size() + 1);
}

} // namespace
} // namespace casl::similarity
