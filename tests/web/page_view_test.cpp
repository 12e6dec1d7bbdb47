// What the page's binding hands the page of the session's view: UTF-8 texts with LF line ends,
// and the large parts only when they changed since the page took them last.
#include "web/binding/page_workbench.h"

#include <gtest/gtest.h>

namespace casl::web {
namespace {

const std::string program = "P\tSTART\n\tLAD\tGR1,1\n\tRET\nA\tDC\t5\n\tEND\n";

TEST(PageView, TheEditorsTextComesOnceForEachRevision) {
    PageWorkbench workbench;
    workbench.assemble(program);
    PageView view = workbench.view();
    EXPECT_EQ(view.phase, "assembled");
    EXPECT_EQ(view.editor.text, program);
    EXPECT_NE(view.listing.text.find("\n0002\t"), std::string::npos);
    EXPECT_NE(view.displays.registers[0], "");
    // Nothing changed: the revisions stay, the texts stay behind.
    const PageView again = workbench.view();
    EXPECT_EQ(again.editor.revision, view.editor.revision);
    EXPECT_EQ(again.editor.text, "");
    EXPECT_EQ(again.listing.text, "");
    EXPECT_EQ(again.displays.registers[0], "");
    // A keystroke changes the phase but carries no text across.
    workbench.editorKeyDown();
    view = workbench.view();
    EXPECT_EQ(view.phase, "editing");
    EXPECT_EQ(view.editor.text, "");
}

TEST(PageView, ARunShowsItsListingDisplaysAndBoxesInThePagesText) {
    PageWorkbench workbench;
    workbench.assemble(program);
    workbench.view();
    workbench.startTrace(program);
    PageView view = workbench.view();
    EXPECT_EQ(view.phase, "tracing");
    EXPECT_TRUE(view.editor.locked);
    EXPECT_EQ(view.editor.executedLine, 1);
    EXPECT_NE(view.editor.text.find(">>>>>> "), std::string::npos);
    EXPECT_EQ(view.editor.text.find('\r'), std::string::npos);
    workbench.next();
    EXPECT_EQ(workbench.view().displays.pc, "PR:0004");
    workbench.next();
    view = workbench.view();
    EXPECT_EQ(view.box.kind, "message");
    EXPECT_EQ(view.box.purpose, "run");
    EXPECT_EQ(view.box.text, "Program終了");
    EXPECT_EQ(view.box.buttons, "ok");
    workbench.answer(PageAnswer{});
    view = workbench.view();
    EXPECT_EQ(view.box.kind, "");
    EXPECT_EQ(view.phase, "assembled");
    EXPECT_EQ(view.editor.text, program);
}

TEST(PageView, TheAnnouncementComesWithTheDisplays) {
    PageWorkbench workbench;
    workbench.assemble(program);
    EXPECT_EQ(workbench.view().announcement, "");
    workbench.startTrace(program);
    workbench.next();
    EXPECT_EQ(workbench.view().announcement, "2行目 LAD GR1,1。変化: GR1 0001 (1)、PR:0004");
    // Said once: a view without new displays says nothing again.
    EXPECT_EQ(workbench.view().announcement, "");
}

TEST(PageView, KeysMapToTheRunsCommands) {
    PageWorkbench workbench;
    workbench.assemble(program);
    EXPECT_EQ(workbench.keyCommand("Enter", false), "");
    workbench.startTrace(program);
    EXPECT_EQ(workbench.keyCommand("Enter", false), "next");
    EXPECT_EQ(workbench.keyCommand("Enter", true), "pressFocusedButton");
    EXPECT_EQ(workbench.keyCommand("Backspace", false), "");
    EXPECT_EQ(workbench.keyCommand("a", false), "");
    workbench.next();
    EXPECT_EQ(workbench.keyCommand("Backspace", false), "stepBack");
}

TEST(PageView, ExampleCaptionsAndTypingAreTheCores) {
    const PageWorkbench workbench;
    EXPECT_EQ(workbench.exampleCaption("a.cas", "; a.cas -- sums\r\n"), "a.cas — sums");
    EXPECT_EQ(workbench.upperCased("ld gr1,ａ"), "LD GR1,Ａ");
}

} // namespace
} // namespace casl::web
