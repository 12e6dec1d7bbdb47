// Exercises opened from links: every shipped exercise survives the trip through its link, with
// and without the student's program, and a link that cannot open leaves the program alone.
#include "platform/source_file.h"
#include "session_fixture.h"
#include "workbench/exercise_catalogue.h"
#include "workbench/shared_link.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace casl::test {
namespace {

using Purpose = WorkbenchBox::Purpose;

const std::string tests = R"(title = "足し算"
statement = "GR0 に 2 を置きます。"

[[case]]
name = "two"
expect = { GR0 = 2 }
)";

constexpr std::u32string_view startName = U"/x/add/start.cas";
const std::u32string startText = U"ADD\tSTART\r\n\tRET\r\n\tEND\r\n";
const std::string attempt = "ADD\tSTART\n\tLAD\tGR0,2\n\tRET\n\tEND\n";

/// A session whose files hold the exercise's starting program.
ExerciseFiles addFiles(Session& s, bool withStart) {
    s.files.files[std::u32string(startName)] = startText;
    return ExerciseFiles{U"add", tests, U"", withStart ? std::u32string(startName) : U""};
}

/// Opens the link `fragment` as the page does: the exercise it names, with its program (here
/// the "compressed" bytes stand for themselves).
void openFragment(Session& s, const std::string& fragment, const ExerciseFiles& files) {
    const auto read = readLinkFragment(fragment);
    ASSERT_TRUE(std::holds_alternative<LinkFragment>(read)) << fragment;
    const LinkFragment& link = std::get<LinkFragment>(read);
    ASSERT_EQ(link.kind, LinkKind::Exercise);
    ASSERT_EQ(link.exercise, files.name);
    std::optional<std::variant<std::string, LinkProblem>> program;
    if (!link.compressed.empty()) {
        program = link.compressed;
    }
    s.workbench.openExerciseLink(s.editor, files, program);
    s.render();
}

/// The shipped exercise's files, with its starting program put into the session's files.
ExerciseFiles shippedFiles(Session& s, const ExerciseEntry& e) {
    ExerciseFiles files = exerciseFiles(e.folder);
    if (!files.startProgram.empty()) {
        const auto text = platform::readSourceFile(std::filesystem::path(files.startProgram));
        if (const auto* source = std::get_if<platform::SourceText>(&text)) {
            s.files.files[files.startProgram] = source->text;
        }
    }
    return files;
}

TEST(ExerciseLinkTrip, EveryShippedExerciseOpensBareAndWithTheStudentsProgram) {
    const std::vector<ExerciseEntry> shipped = exerciseCatalogue(CASL_EXERCISES_DIR);
    ASSERT_FALSE(shipped.empty());
    for (const ExerciseEntry& e : shipped) {
        SCOPED_TRACE(utf8(e.name));
        // The teacher opens the exercise and links it as it is: the link carries no program.
        Session teacher;
        teacher.workbench.openExercise(teacher.editor, shippedFiles(teacher, e));
        teacher.render();
        ASSERT_TRUE(teacher.view().exercise.open);
        EXPECT_EQ(utf8(teacher.view().exercise.linkCommand), "演習のリンクをコピー");
        EXPECT_EQ(teacher.workbench.exerciseLinkProgram(teacher.editor), U"");
        const std::string bare = exerciseLinkFragment(teacher.view().exercise.name, "");

        // The student opens it and gets what the exercises menu gives.
        Session student;
        openFragment(student, bare, shippedFiles(student, e));
        EXPECT_FALSE(student.view().box);
        EXPECT_TRUE(student.view().exercise.open);
        EXPECT_EQ(student.view().exercise.name, e.name);
        EXPECT_EQ(student.editor, teacher.editor);

        // The student's attempt goes back with the exercise.
        student.type(attempt);
        const std::u32string carried = student.workbench.exerciseLinkProgram(student.editor);
        EXPECT_EQ(carried, program(attempt));
        const std::string withProgram =
            exerciseLinkFragment(student.view().exercise.name, utf8(carried));
        Session back;
        openFragment(back, withProgram, shippedFiles(back, e));
        EXPECT_FALSE(back.view().box);
        EXPECT_EQ(back.view().exercise.name, e.name);
        EXPECT_EQ(back.editor, program(attempt));
        EXPECT_EQ(utf8(back.view().fileName), "");
        // Opened again, it still carries the attempt.
        EXPECT_EQ(back.workbench.exerciseLinkProgram(back.editor), program(attempt));
    }
}

TEST(ExerciseLink, ItsProgramTakesThePlaceOfTheStartingProgramAfterTheSaveQuestion) {
    Session s;
    s.type("KEEP");
    s.workbench.openExerciseLink(s.editor, addFiles(s, true), attempt);
    s.render();
    ASSERT_EQ(s.boxPurpose(), Purpose::SaveQuestion);
    EXPECT_FALSE(s.view().exercise.open);
    EXPECT_EQ(s.editor, program("KEEP"));
    s.answer(MessageAnswer::No);
    EXPECT_FALSE(s.view().box);
    EXPECT_TRUE(s.view().exercise.open);
    EXPECT_EQ(s.editor, program(attempt));
    EXPECT_EQ(utf8(s.view().fileName), "");
}

TEST(ExerciseLink, WithoutAProgramOrAStartingProgramKeepsTheEditorsProgram) {
    Session s;
    s.type("KEEP");
    s.workbench.openExerciseLink(s.editor, addFiles(s, false), std::nullopt);
    s.render();
    EXPECT_FALSE(s.view().box);
    EXPECT_TRUE(s.view().exercise.open);
    EXPECT_EQ(s.editor, program("KEEP"));
    // That program is the student's own: a link to the exercise carries it.
    EXPECT_EQ(s.workbench.exerciseLinkProgram(s.editor), program("KEEP"));
}

TEST(ExerciseLink, ALostProgramShowsWhyAndOpensNothing) {
    for (const auto& linked : {std::variant<std::string, LinkProblem>(LinkProblem::Broken),
                               std::variant<std::string, LinkProblem>(std::string("\xff\xfe"))}) {
        Session s;
        s.type("KEEP");
        s.workbench.openExerciseLink(s.editor, addFiles(s, true), linked);
        s.render();
        ASSERT_EQ(s.boxPurpose(), Purpose::FileMessage);
        EXPECT_EQ(s.view().box->text, linkProblemMessage(LinkProblem::Broken));
        s.answer(MessageAnswer::Ok);
        EXPECT_FALSE(s.view().exercise.open);
        EXPECT_EQ(s.editor, program("KEEP"));
        EXPECT_TRUE(s.view().modified);
    }
}

TEST(ExerciseLink, AnUnknownExerciseIsNamedAndChangesNothing) {
    Session s;
    s.type("KEEP");
    s.workbench.openExercise(s.editor, addFiles(s, false));
    s.render();
    ASSERT_TRUE(s.view().exercise.open);
    s.workbench.openUnknownExerciseLink(U"九九");
    s.render();
    ASSERT_EQ(s.boxPurpose(), Purpose::FileMessage);
    EXPECT_EQ(utf8(s.view().box->title), "リンクを開く");
    EXPECT_NE(utf8(s.view().box->text).find("「九九」"), std::string::npos);
    s.answer(MessageAnswer::Ok);
    EXPECT_EQ(s.view().exercise.name, U"add");
    EXPECT_EQ(s.editor, program("KEEP"));
    EXPECT_TRUE(s.view().modified);
}

TEST(ExerciseLink, NoExerciseNoLink) {
    Session s;
    s.type("KEEP");
    EXPECT_EQ(s.view().exercise.linkCommand, U"");
    EXPECT_EQ(s.workbench.exerciseLinkProgram(s.editor), U"");
}

TEST(ExerciseLink, WaitsForNoRun) {
    Session s;
    s.type("P\tSTART\n\tNOP\n\tRET\n\tEND\n");
    s.assemble();
    s.startTrace();
    ASSERT_EQ(s.view().phase, WorkbenchPhase::Tracing);
    s.workbench.openExerciseLink(s.editor, addFiles(s, true), attempt);
    s.workbench.openUnknownExerciseLink(U"gone");
    s.render();
    EXPECT_FALSE(s.view().box);
    EXPECT_FALSE(s.view().exercise.open);
    EXPECT_EQ(s.view().phase, WorkbenchPhase::Tracing);
}

} // namespace
} // namespace casl::test
