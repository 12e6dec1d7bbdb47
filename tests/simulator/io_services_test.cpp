#include "simulator/run_messages.h"
#include "traced_program.h"

#include <gtest/gtest.h>

namespace casl::test {
namespace {

TracedProgram echoProgram() {
    return TracedProgram({U"P       START", U"        IN      BUF,LEN", U"        OUT     BUF,LEN",
                          U"        RET", U"BUF     DS      4", U"NEXT    DC      -1",
                          U"LEN     DS      1", U"        END"});
}

std::int32_t word(TracedProgram& p, int row) {
    return p.tables().dataWords[static_cast<std::size_t>(row)][dataValueColumn];
}

TEST(In, StoresTheLengthAndTheCharacterCodes) {
    TracedProgram p = echoProgram();
    p.host().inputs = {U"ABC"};
    p.run();
    EXPECT_EQ(p.data(U"LEN"), 3);
    EXPECT_EQ(word(p, 1), 65);
    EXPECT_EQ(word(p, 2), 66);
    EXPECT_EQ(word(p, 3), 67);
    EXPECT_EQ(word(p, 4), 0);
    EXPECT_EQ(p.host().count(HostEvent::Input), 1);
    ASSERT_EQ(p.messages().size(), 2u);
    EXPECT_EQ(p.messages()[0].text, U"\r\nABC");
    EXPECT_EQ(p.messages()[0].title, U"OUT command");
    // The input box comes with the PR of the IN line and a blank object code.
    EXPECT_EQ(p.host().waits[1].pc, U"PR:0004");
    EXPECT_EQ(p.host().waits[1].obj, U"OBJ-Code:         ");
}

TEST(In, ACancelledBoxStoresLengthZero) {
    TracedProgram p = echoProgram();
    p.run();
    EXPECT_EQ(p.data(U"LEN"), 0);
    EXPECT_EQ(word(p, 1), 0);
    EXPECT_EQ(p.messages()[0].text, U"\r\n");
}

TEST(In, ALongAnswerRunsOnIntoTheFollowingWords) {
    TracedProgram p = echoProgram();
    p.host().inputs = {U"ABCDEF"};
    p.run();
    EXPECT_EQ(p.data(U"NEXT"), 69);
    // The length was stored first, then overwritten by "F": OUT shows 70 words.
    EXPECT_EQ(p.data(U"LEN"), 70);
    EXPECT_EQ(p.messages()[0].text, U"\r\nABCDEF" + std::u32string(64, U'□'));
}

TEST(In, DoubleByteCharactersAreStoredAsNegativeCodesAndShownAsBoxes) {
    TracedProgram p = echoProgram();
    p.host().inputs = {U"あA"};
    p.run();
    EXPECT_EQ(word(p, 1), -32096);
    EXPECT_EQ(word(p, 2), 65);
    EXPECT_EQ(p.messages()[0].text, U"\r\n□A");
}

TEST(In, AnAnswerPastTheLastDataWordStopsAtTheTable) {
    TracedProgram p({U"P       START", U"        IN      BUF,LEN", U"        RET",
                     U"LEN     DS      1999", U"BUF     DS      1", U"        END"});
    p.host().inputs = {U"XYZ"};
    p.run();
    EXPECT_EQ(p.session().ending(), TraceEnding::ProgramEnded);
    EXPECT_EQ(word(p, 1), 3);
    EXPECT_EQ(word(p, 2000), U'X');
}

TEST(Out, EachOutShowsEverythingWrittenSoFar) {
    TracedProgram p({U"P       START", U"        OUT     A,LA", U"        OUT     B,LB",
                     U"        RET", U"A       DC      'ABC'", U"LA      DC      3",
                     U"B       DC      'DE'", U"LB      DC      2", U"        END"});
    p.run();
    ASSERT_EQ(p.messages().size(), 3u);
    EXPECT_EQ(p.messages()[0].text, U"\r\nABC");
    EXPECT_EQ(p.messages()[1].text, U"\r\nABC\r\nDE");
    EXPECT_EQ(p.machine().outputText, U"\r\nABC\r\nDE");
    EXPECT_FALSE(p.host().refreshedBeforeMessage(0));
}

TEST(Out, OnlyTheLowByteInThePrintableRangesIsShown) {
    TracedProgram p({U"P       START", U"        OUT     A,N", U"        RET",
                     U"A       DC      0,127,210,321,177,161,209,32", U"N       DC      8",
                     U"        END"});
    p.run();
    EXPECT_EQ(p.messages()[0].text, U"\r\n□□□A\uFF71\uFF61\uFF91 ");
}

TEST(Out, EveryDoubleByteCharacterShowsAsABox) {
    // い is #82A2 (its low byte alone would be the katakana ｢), ア is #8341 (low byte "A").
    TracedProgram p({U"P       START", U"        OUT     A,N", U"        RET",
                     U"A       DC      'いア',#8341,-1,65", U"N       DC      5", U"        END"});
    p.run();
    EXPECT_EQ(p.messages()[0].text, U"\r\n□□□□A");
}

TEST(Out, ALengthLabelWithoutADataWordCountsZero) {
    TracedProgram p({U"P       START", U"        OUT     A,P", U"        RET",
                     U"A       DC      'X'", U"        END"});
    p.run();
    EXPECT_EQ(p.messages()[0].text, U"\r\n");
}

TEST(InOut, AnEmptyOperandNeverMatchesAnUnlabelledWord) {
    auto t = std::make_unique<ProgramTables>();
    t->lineFields[1][mnemonicColumn] = U"START";
    t->lineCode[1] = {0, 400, 0, 0, 0};
    t->lineFields[2][mnemonicColumn] = U"IN";
    t->lineFields[2][operand1Column] = U"BUF";
    t->lineAddress[2] = 2;
    t->lineCode[2] = {0, 500, 0, 0, 5};
    t->lineFields[3][mnemonicColumn] = U"RET";
    t->lineAddress[3] = 4;
    t->lineCode[3] = {0, 0x81, 0, 0, 0};
    t->lineCounter = 4;
    t->dataWords[1] = {0, 5, 7};
    t->dataLabel[2] = U"BUF";
    t->dataWords[2] = {0, 6, 0};
    t->dataWordCounter = 3;
    TracedProgram p(std::move(t), U"");
    p.host().inputs = {U"Q"};
    p.run();
    EXPECT_EQ(word(p, 1), 7);
    EXPECT_EQ(word(p, 2), U'Q');
}

} // namespace
} // namespace casl::test
