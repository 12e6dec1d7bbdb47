// The file commands of the working session: New, Open, the examples, Save As, 上書き保存, Exit
// and closing, with the save question and the unsaved text kept for after a crash.
#include "session_fixture.h"

#include <gtest/gtest.h>

namespace casl::test {
namespace {

using Purpose = WorkbenchBox::Purpose;

/// Unsaved text kept in memory, and a left text to offer.
class MemoryUnsaved : public UnsavedTextStore {
public:
    std::optional<std::u32string> kept;
    std::optional<Left> leftText;
    int discarded = 0;

    bool keep(std::u32string_view text, std::u32string_view) override {
        kept = std::u32string(text);
        return true;
    }
    void remove() override { kept.reset(); }
    std::optional<Left> left() override { return leftText; }
    void discardLeft() override {
        ++discarded;
        leftText.reset();
    }
};

TEST(Files, NewWithoutChangesAsksNothing) {
    Session s;
    s.workbench.newFile(s.editor);
    s.render();
    EXPECT_FALSE(s.view().box);
    EXPECT_EQ(utf8(s.view().windowCaption), "RuzidOV & OzerAR Orozaraz   ");
}

TEST(Files, NewAsksAndSavesWithoutTakingTheName) {
    Session s;
    s.type("\tNOP\n");
    s.workbench.newFile(s.editor);
    ASSERT_EQ(s.boxPurpose(), Purpose::SaveQuestion);
    EXPECT_EQ(utf8(s.view().box->text), "ソースプログラムを保存しますか?");
    EXPECT_EQ(utf8(s.view().box->title), "保存しますか?");
    EXPECT_EQ(s.view().box->buttons, MessageButtons::YesNo);
    s.answer(MessageAnswer::Yes);
    ASSERT_EQ(s.boxPurpose(), Purpose::SaveName);
    EXPECT_EQ(s.view().box->kind, WorkbenchBox::Kind::SaveName);
    EXPECT_EQ(utf8(s.view().box->defaultText), "");
    s.answer(MessageAnswer::Ok, U"/w/a.cas");
    EXPECT_FALSE(s.view().box);
    EXPECT_EQ(utf8(s.files.files.at(U"/w/a.cas")), "\tNOP\r\n");
    EXPECT_EQ(utf8(s.view().fileName), "");
    EXPECT_EQ(utf8(s.editor), "");
    EXPECT_FALSE(s.view().overwriteSaveEnabled);
    // The dialogs start at the file last written.
    EXPECT_EQ(utf8(s.view().keptFileName), "/w/a.cas");
}

TEST(Files, NewStillEmptiesWhenTheSaveDialogIsCancelled) {
    Session s;
    s.type("\tNOP\n");
    s.workbench.newFile(s.editor);
    s.answer(MessageAnswer::Yes);
    s.answer(MessageAnswer::Ok, std::nullopt);
    EXPECT_FALSE(s.view().box);
    EXPECT_EQ(utf8(s.editor), "");
    EXPECT_TRUE(s.files.writes.empty());
}

TEST(Files, NewKeepsTheProgramWhenItsSaveFails) {
    Session s;
    s.type("\tNOP\n");
    s.files.refused[U"/ro/a.cas"] = U"書き込む権限がありません";
    s.workbench.newFile(s.editor);
    s.answer(MessageAnswer::Yes);
    s.answer(MessageAnswer::Ok, U"/ro/a.cas");
    ASSERT_EQ(s.boxPurpose(), Purpose::FileMessage);
    EXPECT_EQ(utf8(s.view().box->text), "ディスクに書き込めません\r\n\r\n書き込む権限がありません");
    EXPECT_EQ(utf8(s.view().box->title), "Varnic");
    s.answer(MessageAnswer::Ok);
    EXPECT_FALSE(s.view().box);
    EXPECT_EQ(utf8(s.editor), "\tNOP\r\n");
    // A name whose save failed is not kept for the next dialog.
    EXPECT_EQ(utf8(s.view().keptFileName), "");
}

TEST(Files, OpenAsksTheSaveQuestionFirstAndKeepsTheTextWhenCancelled) {
    Session s;
    s.type("KEEP");
    s.files.files[U"/w/b.cas"] = U"B\tSTART\n\tRET\n\tEND\n";
    s.workbench.openFile(s.editor);
    ASSERT_EQ(s.boxPurpose(), Purpose::SaveQuestion);
    s.answer(MessageAnswer::No);
    ASSERT_EQ(s.boxPurpose(), Purpose::OpenName);
    EXPECT_EQ(s.view().box->kind, WorkbenchBox::Kind::OpenName);
    s.answer(MessageAnswer::Ok, std::nullopt);
    EXPECT_FALSE(s.view().box);
    EXPECT_EQ(utf8(s.editor), "KEEP");
    EXPECT_TRUE(s.view().modified);
}

TEST(Files, OpenTakesTheFileItsNameAndFormatAndResetsTheBreakpoint) {
    Session s;
    s.type("P\tSTART\n\tRET\n\tEND\n");
    s.assemble();
    s.workbench.clickLine(2);
    s.files.files[U"/w/b.cas"] = U"B\tSTART\n\tRET\n\tEND\n";
    s.files.readFormat = SourceFormat{platform::SourceEncoding::Utf8, platform::LineEndStyle::Lf};
    s.workbench.openFile(s.editor);
    s.answer(MessageAnswer::No);
    s.answer(MessageAnswer::Ok, U"/w/b.cas");
    EXPECT_FALSE(s.view().box);
    // The file's LF line ends become the editor's.
    EXPECT_EQ(utf8(s.editor), "B\tSTART\r\n\tRET\r\n\tEND\r\n");
    EXPECT_EQ(utf8(s.view().fileName), "/w/b.cas");
    EXPECT_EQ(utf8(s.view().windowCaption), "RuzidOV & OzerAR Orozaraz   /w/b.cas");
    EXPECT_TRUE(s.view().overwriteSaveEnabled);
    EXPECT_EQ(s.view().phase, WorkbenchPhase::Editing);
    EXPECT_EQ(s.view().breakpointLine, 0);
    EXPECT_EQ(s.workbench.format(), s.files.readFormat);
    // 上書き保存 writes it back in its own format and clears the modified mark.
    s.workbench.overwriteSave(s.editor);
    EXPECT_FALSE(s.view().modified);
    ASSERT_EQ(s.files.writes.size(), 1u);
    EXPECT_EQ(s.files.writes[0].second, s.files.readFormat);
}

TEST(Files, AFileNamedOnTheCommandLineOpensWithoutTheDialogAfterTheSaveQuestion) {
    Session s;
    s.type("KEEP");
    s.files.files[U"/w/given.cas"] = U"\tRET\r\n";
    s.workbench.openFile(s.editor, U"/w/given.cas");
    ASSERT_EQ(s.boxPurpose(), Purpose::SaveQuestion);
    s.answer(MessageAnswer::No);
    EXPECT_FALSE(s.view().box);
    EXPECT_EQ(utf8(s.editor), "\tRET\r\n");
    EXPECT_EQ(utf8(s.view().fileName), "/w/given.cas");
}

TEST(Files, AFileThatCannotBeReadLeavesTheEditor) {
    Session s;
    s.type("KEEP");
    s.workbench.openFile(s.editor);
    s.answer(MessageAnswer::No);
    s.answer(MessageAnswer::Ok, U"/w/missing.cas");
    ASSERT_EQ(s.boxPurpose(), Purpose::FileMessage);
    EXPECT_EQ(utf8(s.view().box->text), "ファイルが見つかりません: /w/missing.cas");
    s.answer(MessageAnswer::Ok);
    EXPECT_EQ(utf8(s.editor), "KEEP");
    EXPECT_EQ(utf8(s.view().fileName), "");
}

TEST(Files, SaveAsNamesTheFileButKeepsTheModifiedMark) {
    Session s;
    s.type("\tNOP\n");
    s.workbench.saveAs(s.editor);
    ASSERT_EQ(s.boxPurpose(), Purpose::SaveAsName);
    s.answer(MessageAnswer::Ok, U"/w/c.cas");
    EXPECT_EQ(utf8(s.view().fileName), "/w/c.cas");
    EXPECT_TRUE(s.view().modified);
    EXPECT_TRUE(s.view().overwriteSaveEnabled);
    // The next Save As starts at the name kept.
    s.workbench.saveAs(s.editor);
    EXPECT_EQ(utf8(s.view().box->defaultText), "/w/c.cas");
}

TEST(Files, TheSaveQuestionsDialogStartsAtExactlyTheCurrentName) {
    Session s;
    s.type("\tNOP\n");
    s.workbench.saveAs(s.editor);
    s.answer(MessageAnswer::Ok, U"/w/c.cas");
    s.workbench.newFile(s.editor);
    s.answer(MessageAnswer::Yes);
    EXPECT_EQ(utf8(s.view().box->defaultText), "/w/c.cas");
}

TEST(Files, ExitAnsweredNoEndsWithoutWriting) {
    Session s;
    s.type("\tNOP\n");
    s.workbench.exit(s.editor);
    s.answer(MessageAnswer::No);
    EXPECT_TRUE(s.view().ended);
    EXPECT_TRUE(s.files.writes.empty());
}

TEST(Files, ExitWithAFailingSaveKeepsTheWindowAndSaysSoUnderError) {
    Session s;
    s.type("\tNOP\n");
    s.files.refused[U"/ro/a.cas"] = U"読み取り専用です";
    s.workbench.exit(s.editor);
    s.answer(MessageAnswer::Yes);
    s.answer(MessageAnswer::Ok, U"/ro/a.cas");
    ASSERT_EQ(s.boxPurpose(), Purpose::FileMessage);
    EXPECT_EQ(utf8(s.view().box->title), "ERROR");
    s.answer(MessageAnswer::Ok);
    EXPECT_FALSE(s.view().ended);
}

TEST(Files, ClosingDuringARunSavesTheProgramsOwnText) {
    Session s;
    s.type("P\tSTART\n\tRET\n\tEND\n");
    s.assemble();
    s.startTrace();
    ASSERT_EQ(s.view().phase, WorkbenchPhase::Tracing);
    s.workbench.close(s.editor);
    s.answer(MessageAnswer::Yes);
    s.answer(MessageAnswer::Ok, U"/w/p.cas");
    EXPECT_TRUE(s.view().ended);
    EXPECT_EQ(utf8(s.files.files.at(U"/w/p.cas")), "P\tSTART\r\n\tRET\r\n\tEND\r\n");
    EXPECT_EQ(utf8(s.view().fileName), "/w/p.cas");
}

TEST(Files, ClosingWaitsForTheOpenBoxOfARun) {
    Session s;
    s.type("P\tSTART\n\tIN\tB,L\n\tRET\nB\tDS\t3\nL\tDS\t1\n\tEND\n");
    s.assemble();
    s.startTrace();
    s.workbench.next();
    ASSERT_EQ(s.boxPurpose(), Purpose::RunBox);
    s.workbench.close(s.editor);
    EXPECT_FALSE(s.view().ended);
    EXPECT_EQ(s.boxPurpose(), Purpose::RunBox);
}

TEST(Files, AnExampleOpensAsANewUnnamedProgram) {
    Session s;
    s.workbench.saveAs(s.editor);
    s.answer(MessageAnswer::Ok, U"/w/mine.cas");
    s.files.files[U"/ex/hello.cas"] = U"H\tSTART\r\n\tRET\r\n\tEND\r\n";
    s.workbench.openExample(s.editor, U"/ex/hello.cas");
    s.render();
    EXPECT_FALSE(s.view().box);
    EXPECT_EQ(utf8(s.editor), "H\tSTART\r\n\tRET\r\n\tEND\r\n");
    EXPECT_EQ(utf8(s.view().fileName), "");
    EXPECT_FALSE(s.view().overwriteSaveEnabled);
}

TEST(Files, AnExampleThatCannotBeReadLeavesTheProgramAndAsksNothing) {
    Session s;
    s.type("KEEP");
    s.workbench.openExample(s.editor, U"/ex/missing.cas");
    ASSERT_EQ(s.boxPurpose(), Purpose::FileMessage);
    s.answer(MessageAnswer::Ok);
    EXPECT_FALSE(s.view().box);
    EXPECT_EQ(utf8(s.editor), "KEEP");
}

TEST(Files, TheFileCommandsWaitWhileARunGoesOn) {
    Session s;
    s.type("P\tSTART\n\tRET\n\tEND\n");
    s.assemble();
    s.startTrace();
    s.workbench.newFile(s.editor);
    s.workbench.openFile(s.editor);
    s.workbench.saveAs(s.editor);
    EXPECT_FALSE(s.view().box);
    EXPECT_EQ(s.view().phase, WorkbenchPhase::Tracing);
}

TEST(UnsavedText, IsKeptUntilItIsSavedOrTheNewFileIsOpen) {
    MemoryFiles files;
    MemoryUnsaved unsaved;
    Workbench workbench(SessionServices{files, nullptr, &unsaved});
    const std::u32string text = program("\tNOP\n");
    workbench.editorTextChanged(true);
    workbench.keepUnsavedText(text);
    EXPECT_EQ(unsaved.kept, text);

    // Open declined the save; the dialog is cancelled: the text stays kept.
    workbench.openFile(text);
    workbench.answer(BoxAnswer{MessageAnswer::No});
    workbench.answer(BoxAnswer{MessageAnswer::Ok, std::nullopt});
    EXPECT_EQ(unsaved.kept, text);

    // The new file opens: the old text was given up on purpose.
    files.files[U"/w/b.cas"] = U"\tRET\r\n";
    workbench.openFile(text);
    workbench.answer(BoxAnswer{MessageAnswer::No});
    workbench.answer(BoxAnswer{MessageAnswer::Ok, U"/w/b.cas"});
    EXPECT_FALSE(unsaved.kept);
    // The text of the file needs no keeping.
    workbench.keepUnsavedText(U"\tRET\r\n");
    EXPECT_FALSE(unsaved.kept);
}

TEST(UnsavedText, IsOfferedBackAsANewProgramAndGoesEitherWay) {
    MemoryFiles files;
    MemoryUnsaved unsaved;
    unsaved.leftText = UnsavedTextStore::Left{U"LOST", U"/w/old.cas"};
    Workbench workbench(SessionServices{files, nullptr, &unsaved});
    workbench.offerRecovery();
    ASSERT_TRUE(workbench.view().box);
    EXPECT_EQ(workbench.view().box->purpose, WorkbenchBox::Purpose::RecoveryQuestion);
    EXPECT_EQ(utf8(workbench.view().box->text),
              "前回終了したときに保存されていなかった編集内容があります。\r\n復元しますか?"
              "\r\n\r\n元のファイル: /w/old.cas");
    EXPECT_EQ(utf8(workbench.view().box->title), "編集内容の復元");
    workbench.answer(BoxAnswer{MessageAnswer::Yes});
    EXPECT_EQ(utf8(workbench.view().editor.text), "LOST");
    EXPECT_EQ(utf8(workbench.view().fileName), "");
    EXPECT_EQ(unsaved.discarded, 1);
    EXPECT_EQ(unsaved.kept, U"LOST");

    workbench.offerRecovery();
    EXPECT_FALSE(workbench.view().box);
}

TEST(UnsavedText, NothingIsKeptAfterANormalEnd) {
    MemoryFiles files;
    MemoryUnsaved unsaved;
    Workbench workbench(SessionServices{files, nullptr, &unsaved});
    workbench.exit(U"");
    ASSERT_TRUE(workbench.view().ended);
    workbench.keepUnsavedText(U"LATE");
    EXPECT_FALSE(unsaved.kept);
}

} // namespace
} // namespace casl::test
