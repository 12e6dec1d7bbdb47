// A link as the page handles it: the fragment it writes for compressed bytes, what it reads back
// before decompressing, and the session's answer to a link that gave no program.
#include "web/binding/page_workbench.h"

#include <gtest/gtest.h>

namespace casl::web {
namespace {

const std::string program = "P\tSTART\n\tRET\n\tEND\n";

TEST(PageLink, TheFragmentGivesBackItsCompressedBytes) {
    const PageWorkbench workbench;
    const std::string compressed("x\x9c\x0b\xe0\x02\x00\xff\xfe", 8);
    const std::string fragment = workbench.programLinkFragment(compressed);
    const PageLinkData read = workbench.readLink("#" + fragment);
    EXPECT_EQ(read.problem, "");
    EXPECT_EQ(read.compressed, compressed);
}

TEST(PageLink, AFragmentWithoutAProgramIsNamed) {
    const PageWorkbench workbench;
    EXPECT_EQ(workbench.readLink("#section-2").problem, "foreign");
    EXPECT_EQ(workbench.readLink("#p9.AAAA").problem, "unsupported");
    EXPECT_EQ(workbench.readLink("#p1.A").problem, "broken");
    EXPECT_EQ(workbench.readLink("#p1.A").compressed, "");
}

TEST(PageLink, EveryProblemNameComesBack) {
    for (const LinkProblem problem : {LinkProblem::Foreign, LinkProblem::Unsupported,
                                      LinkProblem::Broken, LinkProblem::TooLarge}) {
        EXPECT_EQ(linkProblemFromName(linkProblemName(problem)), problem);
    }
    EXPECT_EQ(linkProblemFromName("nonsense"), LinkProblem::Broken);
}

TEST(PageLink, OpensTheProgramInThePagesText) {
    PageWorkbench workbench;
    workbench.view();
    workbench.openLink("", program);
    const PageView view = workbench.view();
    EXPECT_EQ(view.box.kind, "");
    EXPECT_EQ(view.editor.text, program);
    EXPECT_EQ(view.fileName, "");
}

TEST(PageLink, AnUnreadableLinkShowsWhyInAMessage) {
    PageWorkbench workbench;
    workbench.openUnreadableLink("KEEP", "tooLarge");
    const PageView view = workbench.view();
    EXPECT_EQ(view.box.kind, "message");
    EXPECT_EQ(view.box.purpose, "fileMessage");
    EXPECT_EQ(view.box.title, "リンクを開く");
    EXPECT_EQ(view.box.text.find('\r'), std::string::npos);
    EXPECT_NE(view.box.text.find("上限"), std::string::npos);
}

TEST(PageLink, TheLimitIsThatOfASourceFile) {
    EXPECT_EQ(PageWorkbench().maxLinkedProgramBytes(),
              static_cast<double>(casl::maxLinkedProgramBytes()));
}

const std::string tests = "title = \"足し算\"\n[[case]]\nname = \"two\"\nexpect = { GR0 = 2 }\n";

TEST(PageExerciseLink, NamesTheExerciseAndCarriesTheStudentsProgramOnly) {
    PageWorkbench workbench;
    workbench.openExercise("", "add", tests, "");
    workbench.view();
    EXPECT_EQ(workbench.exercise().linkCommand, "演習のリンクをコピー");
    EXPECT_EQ(workbench.exerciseLinkProgram("  \n"), "");
    EXPECT_EQ(workbench.exerciseLinkProgram(program), program);
    const std::string compressed("x\x9c", 2);
    for (const std::string& carried : {std::string(), compressed}) {
        const PageLinkData read = workbench.readLink(workbench.exerciseLinkFragment(carried));
        EXPECT_EQ(read.problem, "");
        EXPECT_EQ(read.kind, "exercise");
        EXPECT_EQ(read.exercise, "add");
        EXPECT_EQ(read.compressed, carried);
    }
    EXPECT_EQ(workbench.readLink("#p1.Zm9v").kind, "program");
}

TEST(PageExerciseLink, OpensTheExerciseWithTheLinksProgramOrSaysWhyNot) {
    PageWorkbench opened;
    opened.openExerciseLink("", "add", tests, "", true, "", program);
    EXPECT_TRUE(opened.exercise().open);
    EXPECT_EQ(opened.view().editor.text, program);

    PageWorkbench broken;
    broken.openExerciseLink("KEEP", "add", tests, "", true, "broken", "");
    EXPECT_FALSE(broken.exercise().open);
    EXPECT_EQ(broken.view().box.purpose, "fileMessage");

    PageWorkbench unknown;
    unknown.openUnknownExerciseLink("九九");
    const PageView view = unknown.view();
    EXPECT_EQ(view.box.title, "リンクを開く");
    EXPECT_NE(view.box.text.find("「九九」"), std::string::npos);
}

} // namespace
} // namespace casl::web
