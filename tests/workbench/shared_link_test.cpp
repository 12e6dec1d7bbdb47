// Links that carry a program: the fragment's format (kind, version, base64url), the limits of
// the program inside, and opening one in the session as an example opens.
#include "session_fixture.h"
#include "workbench/shared_link.h"

#include <gtest/gtest.h>
#include <ostream>
#include <set>
#include <sstream>

namespace casl {

void PrintTo(LinkProblem problem, std::ostream* os) {
    static constexpr const char* names[] = {"Foreign", "Unsupported", "Broken", "TooLarge"};
    *os << names[static_cast<int>(problem)];
}

namespace test {
namespace {

using Purpose = WorkbenchBox::Purpose;

struct Base64Case {
    const char* name;
    std::string bytes;
    std::string text;
};

void PrintTo(const Base64Case& c, std::ostream* os) {
    *os << c.name;
}

class Base64urlTest : public testing::TestWithParam<Base64Case> {};

TEST_P(Base64urlTest, WritesAndReadsBack) {
    EXPECT_EQ(base64url(GetParam().bytes), GetParam().text);
    EXPECT_EQ(fromBase64url(GetParam().text), GetParam().bytes);
}

INSTANTIATE_TEST_SUITE_P(
    Lengths, Base64urlTest,
    testing::Values(Base64Case{"empty", "", ""}, Base64Case{"one_byte", "f", "Zg"},
                    Base64Case{"two_bytes", "fo", "Zm8"}, Base64Case{"three_bytes", "foo", "Zm9v"},
                    Base64Case{"url_letters", std::string("\xfb\xff\xbf", 3), "-_-_"},
                    Base64Case{"zero_bytes", std::string("\0\0", 2), "AAA"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Base64url, RefusesWhatItNeverWrites) {
    // Standard base64's letters, padding, a blank, a lone character, stray low bits.
    for (const char* text : {"Zm+v", "Zm/v", "Zg==", "Zm 9", "Zm9vY", "Zh"}) {
        EXPECT_FALSE(fromBase64url(text)) << text;
    }
}

struct FragmentCase {
    const char* name;
    std::string fragment;
    LinkProblem problem;
};

void PrintTo(const FragmentCase& c, std::ostream* os) {
    *os << c.name;
}

class FragmentProblemTest : public testing::TestWithParam<FragmentCase> {};

TEST_P(FragmentProblemTest, IsNamed) {
    const auto read = readLinkFragment(GetParam().fragment);
    ASSERT_TRUE(std::holds_alternative<LinkProblem>(read));
    EXPECT_EQ(std::get<LinkProblem>(read), GetParam().problem);
}

INSTANTIATE_TEST_SUITE_P(
    Fragments, FragmentProblemTest,
    testing::Values(FragmentCase{"empty", "", LinkProblem::Foreign},
                    FragmentCase{"hash_alone", "#", LinkProblem::Foreign},
                    FragmentCase{"page_anchor", "#input", LinkProblem::Foreign},
                    FragmentCase{"no_version", "p.Zm9v", LinkProblem::Foreign},
                    FragmentCase{"upper_case_kind", "P1.Zm9v", LinkProblem::Foreign},
                    FragmentCase{"letters_as_version", "p1a.Zm9v", LinkProblem::Foreign},
                    FragmentCase{"later_version", "p2.Zm9v", LinkProblem::Unsupported},
                    FragmentCase{"unknown_kind", "x1.Zm9v", LinkProblem::Unsupported},
                    FragmentCase{"later_exercise_version", "e2.reverse", LinkProblem::Unsupported},
                    FragmentCase{"exercise_without_name", "e1.", LinkProblem::Broken},
                    FragmentCase{"exercise_empty_program", "e1.reverse.", LinkProblem::Broken},
                    FragmentCase{"exercise_cut_program", "e1.reverse.Zm9vY", LinkProblem::Broken},
                    FragmentCase{"exercise_parent_folder", "e1.%2E%2E", LinkProblem::Broken},
                    FragmentCase{"exercise_path", "e1.a%2Fb", LinkProblem::Broken},
                    FragmentCase{"exercise_backslash", "e1.a%5Cb", LinkProblem::Broken},
                    FragmentCase{"exercise_control", "e1.a%0Ab", LinkProblem::Broken},
                    FragmentCase{"exercise_unescaped", "e1.a b", LinkProblem::Broken},
                    FragmentCase{"exercise_bad_escape", "e1.a%G0", LinkProblem::Broken},
                    FragmentCase{"exercise_cut_escape", "e1.ab%4", LinkProblem::Broken},
                    FragmentCase{"exercise_cut_utf8", "e1.%E4%B9", LinkProblem::Broken},
                    FragmentCase{"no_data", "p1.", LinkProblem::Broken},
                    FragmentCase{"cut_short", "p1.Zm9vY", LinkProblem::Broken},
                    FragmentCase{"percent_encoded", "p1.Zm%209v", LinkProblem::Broken}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(LinkFragment, CarriesItsBytesWithKindAndVersion) {
    const std::string compressed("x\x9c\xf3\x00\x00\xff", 6);
    const std::string fragment = linkFragment(LinkKind::Program, compressed);
    EXPECT_EQ(fragment.substr(0, 3), "p1.");
    for (const std::string& read : {fragment, "#" + fragment}) {
        const auto link = readLinkFragment(read);
        ASSERT_TRUE(std::holds_alternative<LinkFragment>(link));
        EXPECT_EQ(std::get<LinkFragment>(link).kind, LinkKind::Program);
        EXPECT_EQ(std::get<LinkFragment>(link).compressed, compressed);
    }
}

struct ExerciseNameCase {
    const char* name;
    std::u32string exercise;
    /// How the name stands in the link.
    std::string written;
};

void PrintTo(const ExerciseNameCase& c, std::ostream* os) {
    *os << c.name;
}

class ExerciseLinkNameTest : public testing::TestWithParam<ExerciseNameCase> {};

TEST_P(ExerciseLinkNameTest, ReadsBackWithAndWithoutAProgram) {
    const std::string compressed("x\x9c\xf3\x00\x00\xff", 6);
    for (const std::string& data : {std::string(), compressed}) {
        const std::string fragment = exerciseLinkFragment(GetParam().exercise, data);
        EXPECT_EQ(fragment,
                  "e1." + GetParam().written + (data.empty() ? "" : "." + base64url(compressed)));
        const auto read = readLinkFragment("#" + fragment);
        ASSERT_TRUE(std::holds_alternative<LinkFragment>(read)) << fragment;
        EXPECT_EQ(std::get<LinkFragment>(read).kind, LinkKind::Exercise);
        EXPECT_EQ(std::get<LinkFragment>(read).exercise, GetParam().exercise);
        EXPECT_EQ(std::get<LinkFragment>(read).compressed, data);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Names, ExerciseLinkNameTest,
    testing::Values(ExerciseNameCase{"plain", U"count-bits", "count-bits"},
                    ExerciseNameCase{"underscore_digits", U"Table_2", "Table_2"},
                    ExerciseNameCase{"japanese", U"九九", "%E4%B9%9D%E4%B9%9D"},
                    ExerciseNameCase{"dot_and_blank", U"a b.c", "a%20b%2Ec"},
                    ExerciseNameCase{"percent", U"100%", "100%25"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ExerciseLink, ReadsEscapesInEitherCase) {
    const auto read = readLinkFragment("e1.%e4%b9%9d");
    ASSERT_TRUE(std::holds_alternative<LinkFragment>(read));
    EXPECT_EQ(std::get<LinkFragment>(read).exercise, U"九");
}

TEST(ExerciseLink, CarriesOnlyAProgramOfTheStudentsOwn) {
    const std::u32string start = U"S\tSTART\r\n\tEND\r\n";
    EXPECT_FALSE(exerciseLinkCarriesProgram(U"", U""));
    EXPECT_FALSE(exerciseLinkCarriesProgram(U" \t\r\n\u3000", U""));
    EXPECT_FALSE(exerciseLinkCarriesProgram(start, start));
    EXPECT_TRUE(exerciseLinkCarriesProgram(U"S\tSTART\r\n\tRET\r\n\tEND\r\n", start));
    EXPECT_TRUE(exerciseLinkCarriesProgram(U"\tNOP", U""));
    EXPECT_TRUE(exerciseLinkCarriesProgram(U"\tNOP", start));
}

TEST(LinkedProgram, IsUtf8TextWithinTheLimitsOfASourceFile) {
    EXPECT_EQ(std::get<std::u32string>(linkedProgramText("P\tSTART\n; 合計\n\tEND")),
              U"P\tSTART\r\n; 合計\r\n\tEND");
    const auto problem = [](std::string_view bytes) {
        const auto text = linkedProgramText(bytes);
        return std::holds_alternative<LinkProblem>(text) ? std::get<LinkProblem>(text)
                                                         : LinkProblem::Foreign;
    };
    EXPECT_EQ(problem("\x82\xa0"), LinkProblem::Broken); // CP932, not UTF-8
    EXPECT_EQ(problem(std::string(maxLinkedProgramBytes() + 1, 'A')), LinkProblem::TooLarge);
    EXPECT_EQ(problem(std::string(40000, 'A')), LinkProblem::TooLarge);
    EXPECT_TRUE(std::holds_alternative<std::u32string>(
        linkedProgramText(std::string(30000, 'A') + "\n" + std::string(30000, 'B'))));
}

TEST(LinkedProgram, EveryProblemHasItsOwnMessage) {
    std::set<std::u32string> messages;
    for (const LinkProblem problem : {LinkProblem::Foreign, LinkProblem::Unsupported,
                                      LinkProblem::Broken, LinkProblem::TooLarge}) {
        messages.insert(linkProblemMessage(problem));
    }
    EXPECT_EQ(messages.size(), 4U);
}

TEST(OpenLink, ReplacesAnUnchangedProgramAsANewOneWithoutAName) {
    Session s;
    s.workbench.saveAs(s.editor);
    s.answer(MessageAnswer::Ok, U"/w/a.cas");
    ASSERT_EQ(utf8(s.view().fileName), "/w/a.cas");
    ASSERT_FALSE(s.view().modified);
    s.workbench.openLink(s.editor, std::string("P\tSTART\n\tRET\n\tEND\n"));
    s.render();
    EXPECT_FALSE(s.view().box);
    EXPECT_EQ(utf8(s.editor), "P\tSTART\r\n\tRET\r\n\tEND\r\n");
    EXPECT_EQ(utf8(s.view().fileName), "");
    EXPECT_FALSE(s.view().overwriteSaveEnabled);
    EXPECT_EQ(utf8(s.view().windowCaption), "RuzidOV & OzerAR Orozaraz   ");
    EXPECT_EQ(s.view().phase, WorkbenchPhase::Editing);
    s.assemble();
    EXPECT_TRUE(s.view().traceEnabled);
}

TEST(OpenLink, AsksToSaveAModifiedProgramFirst) {
    for (const MessageAnswer answer : {MessageAnswer::Yes, MessageAnswer::No}) {
        Session s;
        s.type("\tNOP\n");
        s.workbench.openLink(s.editor, std::string("\tRET\n"));
        ASSERT_EQ(s.boxPurpose(), Purpose::SaveQuestion);
        EXPECT_EQ(utf8(s.editor), "\tNOP\r\n");
        s.answer(answer);
        if (answer == MessageAnswer::Yes) {
            ASSERT_EQ(s.boxPurpose(), Purpose::SaveName);
            s.answer(MessageAnswer::Ok, U"/w/kept.cas");
            EXPECT_EQ(utf8(s.files.files.at(U"/w/kept.cas")), "\tNOP\r\n");
        }
        EXPECT_FALSE(s.view().box);
        EXPECT_EQ(utf8(s.editor), "\tRET\r\n");
    }
}

TEST(OpenLink, KeepsTheProgramWhenItsSaveFails) {
    Session s;
    s.type("\tNOP\n");
    s.files.refused[U"/ro/a.cas"] = U"書き込む権限がありません";
    s.workbench.openLink(s.editor, std::string("\tRET\n"));
    s.answer(MessageAnswer::Yes);
    s.answer(MessageAnswer::Ok, U"/ro/a.cas");
    ASSERT_EQ(s.boxPurpose(), Purpose::FileMessage);
    s.answer(MessageAnswer::Ok);
    EXPECT_EQ(utf8(s.editor), "\tNOP\r\n");
}

class LinkProblemTest : public testing::TestWithParam<LinkProblem> {};

TEST_P(LinkProblemTest, ShowsWhyAndKeepsTheProgramWithoutAskingToSave) {
    Session s;
    s.type("\tNOP\n");
    s.workbench.openLink(s.editor, GetParam());
    ASSERT_EQ(s.boxPurpose(), Purpose::FileMessage);
    EXPECT_EQ(s.view().box->text, linkProblemMessage(GetParam()));
    EXPECT_EQ(utf8(s.view().box->title), "リンクを開く");
    EXPECT_EQ(s.view().box->buttons, MessageButtons::Ok);
    s.answer(MessageAnswer::Ok);
    EXPECT_FALSE(s.view().box);
    EXPECT_EQ(utf8(s.editor), "\tNOP\r\n");
    EXPECT_TRUE(s.view().modified);
}

INSTANTIATE_TEST_SUITE_P(Problems, LinkProblemTest,
                         testing::Values(LinkProblem::Foreign, LinkProblem::Unsupported,
                                         LinkProblem::Broken, LinkProblem::TooLarge),
                         [](const auto& info) {
                             std::ostringstream name;
                             PrintTo(info.param, &name);
                             return name.str();
                         });

TEST(OpenLink, BytesThatAreNoTextAreABrokenLink) {
    Session s;
    s.workbench.openLink(s.editor, std::string("\xff\xfe", 2));
    ASSERT_EQ(s.boxPurpose(), Purpose::FileMessage);
    EXPECT_EQ(s.view().box->text, linkProblemMessage(LinkProblem::Broken));
}

TEST(OpenLink, WaitsForNoRun) {
    Session s;
    s.type("P\tSTART\n\tNOP\n\tRET\n\tEND\n");
    s.assemble();
    s.startTrace();
    ASSERT_EQ(s.view().phase, WorkbenchPhase::Tracing);
    const std::u32string listing = s.editor;
    s.workbench.openLink(s.editor, std::string("\tRET\n"));
    s.render();
    EXPECT_FALSE(s.view().box);
    EXPECT_EQ(s.editor, listing);
    EXPECT_EQ(s.view().phase, WorkbenchPhase::Tracing);
}

} // namespace
} // namespace test
} // namespace casl
