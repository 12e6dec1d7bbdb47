#include "cli/check/markup_text.h"
#include "cli/check/reports.h"
#include "cli/check/terminal_columns.h"

#include <functional>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <sstream>

namespace casl::check {
namespace {

CaseResult passed(std::string name) {
    CaseResult c;
    c.name = std::move(name);
    c.passed = true;
    c.ending = "program-end";
    c.endingMessage = "Program終了";
    c.steps = 12;
    return c;
}

CaseResult failed(std::string name, std::vector<Mismatch> mismatches) {
    CaseResult c = passed(std::move(name));
    c.passed = false;
    c.mismatches = std::move(mismatches);
    c.output = "HELO\n";
    return c;
}

/// Three programs: one passes, one fails two of three cases, one cannot be read.
std::vector<ProgramResult> sampleResults() {
    ProgramResult good{"class/ito.cas", "", {passed("hello"), passed("empty"), passed("long")}, 0};
    ProgramResult wrong{
        "class/sato.cas",
        "",
        {failed("hello", {{"output", "\"HELLO\"", "\"HELO\""}, {"GR1", "5 (#0005)", "4 (#0004)"}}),
         passed("empty"), failed("long", {{"ending", "program-end", "step-limit"}})},
        0};
    CaseResult unread;
    unread.name = "hello";
    unread.problem = "cannot be read: ファイルを開けません";
    ProgramResult gone{"class/x.cas", unread.problem, {unread, unread, unread}, 0};
    gone.cases[1].name = "empty";
    gone.cases[2].name = "long";
    return {good, wrong, gone};
}

TEST(TextReport, OneLinePerProgramWithItsFirstFailureBelowThenTheSummary) {
    EXPECT_EQ(textReport(sampleResults(), false),
              "class/ito.cas   3/3  passed\n"
              "class/sato.cas  1/3  FAILED\n"
              "    case \"hello\": output: expected \"HELLO\" | got \"HELO\" (and 1 more)\n"
              "class/x.cas     0/3  FAILED\n"
              "    cannot be read: ファイルを開けません\n"
              "\n"
              "1 of 3 programs passed every case; 4 of 9 cases passed\n");
}

TEST(TextReport, VerboseListsEveryFailingCaseAndAProgramsProblemOnce) {
    std::vector<ProgramResult> results = sampleResults();
    results[1].cases[0].inputs = {"HELLO", "two words"};
    EXPECT_EQ(textReport(results, true),
              "class/ito.cas   3/3  passed\n"
              "class/sato.cas  1/3  FAILED\n"
              "    case \"hello\", inputs \"HELLO\", \"two words\":\n"
              "      output: expected \"HELLO\" | got \"HELO\"\n"
              "      GR1: expected 5 (#0005) | got 4 (#0004)\n"
              "    case \"long\":\n"
              "      ending: expected program-end | got step-limit\n"
              "class/x.cas     0/3  FAILED\n"
              "    cannot be read: ファイルを開けません\n"
              "\n"
              "1 of 3 programs passed every case; 4 of 9 cases passed\n");
}

TEST(TextReport, VerboseShowsWhereALongOutputFirstDiffersAndTheFileLine) {
    Mismatch output{"output", "\"a\\nb\\nc\"", "\"a\\nB\\nc\""};
    output.firstDifference = FirstDifference{"line 2, character 1", "\"b\"", "\"B\""};
    Mismatch errors{"errors on line 3", "5", "none"};
    errors.fileLine = 5;
    const std::vector<ProgramResult> results{
        {"p.cas", "", {failed("lines", {output}), failed("errors", {errors})}, 0}};
    const std::string report = textReport(results, true);
    EXPECT_NE(report.find("    case \"lines\":\n"
                          "      output differs first at line 2, character 1:\n"
                          "        expected \"b\"\n"
                          "        got      \"B\"\n"
                          "    case \"errors\":\n"
                          "      errors on line 3 (line 5 of the file): expected 5 | got none\n"),
              std::string::npos)
        << report;
}

TEST(TextReport, EveryLineFitsEightyColumns) {
    const std::string longName =
        "submissions/2026/first-term/group-b/" + std::string(60, 'x') + "/ito.cas";
    const std::string longText = "\"" + std::string(100, 'Q') + "\"";
    std::vector<ProgramResult> results{
        {longName,
         "",
         {failed("見出しの長いケースの名前がここにあります", {{"output", longText, "\"\""}})},
         0},
        {"あいうえお.cas", "", {passed("a")}, 0}};
    results[0].cases[0].inputs = {std::string(90, 'I')};
    for (const bool verbose : {false, true}) {
        const std::string report = textReport(results, verbose);
        std::istringstream lines(report);
        for (std::string line; std::getline(lines, line);) {
            EXPECT_LE(terminalColumns(line), 80u) << line;
        }
        // The name keeps its folder's start and its file's end.
        EXPECT_TRUE(report.starts_with("submissions/2026/first-term/")) << report;
        EXPECT_NE(report.find("/group…xxx"), std::string::npos) << report;
        EXPECT_NE(report.find("xxx/ito.cas  0/1  FAILED\n"), std::string::npos) << report;
        // Nothing is lost: every letter of the expected output is there, over several lines.
        std::string letters = report;
        std::erase_if(letters, [](char c) { return c != 'Q'; });
        EXPECT_EQ(letters.size(), 100u) << report;
    }
}

TEST(TextReport, NamesOfJapaneseCharactersAreAlignedByTheColumnsTheyTake) {
    std::vector<ProgramResult> results{{"あ.cas", "", {passed("a")}, 0},
                                       {"abcd.cas", "", {passed("a")}, 0}};
    EXPECT_EQ(textReport(results, false),
              "あ.cas    1/1  passed\n"
              "abcd.cas  1/1  passed\n"
              "\n"
              "2 of 2 programs passed every case; 2 of 2 cases passed\n");
}

TEST(TextReport, CountsPointsWhenTheCasesCarryThem) {
    std::vector<ProgramResult> results = sampleResults();
    EXPECT_EQ(totalsOf(results).weighted, false);
    results[1].cases[1].maxPoints = 2.5;
    results[0].cases[1].maxPoints = 2.5;
    const std::string report = textReport(results, false);
    EXPECT_TRUE(report.ends_with("\n1 of 3 programs passed every case; 4 of 9 cases passed; "
                                 "7 of 12 points\n"))
        << report;
}

TEST(HtmlText, EscapesMarkupAndReplacesWhatHtmlMayNotHold) {
    EXPECT_EQ(htmlText("a<b> & \"c\" 'd'"), "a&lt;b&gt; &amp; &quot;c&quot; 'd'");
    EXPECT_EQ(htmlText("tab\tline\nesc\x1b del\x7f c1\u009b かな"),
              "tab\tline\nesc\uFFFD del\uFFFD c1\uFFFD かな");
}

TEST(XmlText, EscapesWhatXmlCannotHoldAndKeepsAttributesWhitespaceAsReferences) {
    const std::string text = "a<b> & \"c\"\tx\r\ny\x1b del\x7f \uFFFF かな";
    EXPECT_EQ(xmlText(text, false), "a&lt;b&gt; &amp; \"c\"\tx&#13;\ny\uFFFD del\x7f \uFFFD かな");
    EXPECT_EQ(xmlText(text, true),
              "a&lt;b&gt; &amp; &quot;c&quot;&#9;x&#13;&#10;y\uFFFD del\x7f \uFFFD かな");
}

TEST(HtmlReport, ShowsNamesAsTextAndLinksEachFailingProgramToItsCases) {
    std::vector<ProgramResult> results = sampleResults();
    results[1].name = "class/<script>alert(1)</script>.cas";
    results[1].cases[0].name = "a & b";
    const std::string page = htmlReport(results, "tests.toml");
    EXPECT_EQ(page.find("<script"), std::string::npos);
    EXPECT_NE(page.find("class/&lt;script&gt;alert(1)&lt;/script&gt;.cas"), std::string::npos);
    EXPECT_NE(page.find("data-case=\"a &amp; b\""), std::string::npos);
    // Sorted by score: ito (3 of 3), sato (1 of 3), x (0 of 3); the failing ones link down.
    const std::size_t ito = page.find("<th scope=\"row\">class/ito.cas</th>");
    const std::size_t sato = page.find("<a href=\"#program-2\">class/&lt;script");
    const std::size_t x = page.find("<a href=\"#program-3\">class/x.cas</a>");
    EXPECT_LT(ito, sato);
    EXPECT_LT(sato, x);
    EXPECT_NE(x, std::string::npos);
    EXPECT_NE(page.find("<section class=\"program\" id=\"program-3\""), std::string::npos);
    // The problem of a program that could not be read is said once, not for each case.
    const std::size_t problem = page.find("cannot be read: ファイルを開けません");
    EXPECT_EQ(page.find("cannot be read", problem + 1), std::string::npos);
}

TEST(HtmlReport, SaysWhenEveryProgramPassed) {
    const std::vector<ProgramResult> results{{"p.cas", "", {passed("a")}, 0}};
    EXPECT_NE(htmlReport(results, "t.toml").find("Every program passed every case."),
              std::string::npos);
    EXPECT_NE(htmlReport({}, "t.toml").find("0 of 0 programs"), std::string::npos);
}

TEST(JsonReport, CarriesTheScoreOfEveryCaseProgramAndTheClass) {
    std::vector<ProgramResult> results = sampleResults();
    results[1].cases[1].maxPoints = 3;
    results[1].cases[2].maxPoints = 4;
    results[1].cases[2].hidden = true;
    const auto json = nlohmann::json::parse(jsonReport(results, "tests.toml"));
    const auto& sato = json["programs"][1];
    EXPECT_EQ(sato["score"], 3);
    EXPECT_EQ(sato["max_score"], 8);
    EXPECT_EQ(sato["cases"][1]["points"], 3);
    EXPECT_EQ(sato["cases"][2]["points"], 0);
    EXPECT_EQ(sato["cases"][2]["max_points"], 4);
    EXPECT_EQ(sato["cases"][2]["hidden"], true);
    EXPECT_EQ(json["summary"]["score"], 6);
    EXPECT_EQ(json["summary"]["max_score"], 14);
}

TEST(JsonReport, HoldsEveryProgramAndCase) {
    const auto json = nlohmann::json::parse(jsonReport(sampleResults(), "tests.toml"));
    EXPECT_EQ(json["version"], 1);
    EXPECT_EQ(json["tests"], "tests.toml");
    EXPECT_EQ(json["summary"]["passed"], false);
    EXPECT_EQ(json["summary"]["programs"], 3);
    EXPECT_EQ(json["summary"]["programs_passed"], 1);
    EXPECT_EQ(json["summary"]["cases"], 9);
    EXPECT_EQ(json["summary"]["cases_passed"], 4);
    const auto& sato = json["programs"][1];
    EXPECT_EQ(sato["name"], "class/sato.cas");
    EXPECT_EQ(sato["cases_passed"], 1);
    EXPECT_TRUE(sato["problem"].is_null());
    EXPECT_EQ(sato["cases"][0]["mismatches"][1]["what"], "GR1");
    EXPECT_EQ(sato["cases"][0]["mismatches"][1]["actual"], "4 (#0004)");
    EXPECT_EQ(sato["cases"][0]["output"], "HELO\n");
    EXPECT_EQ(sato["cases"][0]["steps"], 12);
    const auto& gone = json["programs"][2]["cases"][0];
    EXPECT_EQ(gone["problem"], "cannot be read: ファイルを開けません");
    EXPECT_TRUE(gone["ending"].is_null());
    EXPECT_TRUE(gone["steps"].is_null());
}

TEST(JsonReport, EscapesEveryControlCharacter) {
    const std::vector<ProgramResult> results{
        {"\x1b[31mred.cas", "", {passed("del\x7f c1\xc2\x9b")}, 0}};
    const std::string text = jsonReport(results, "t.toml");
    EXPECT_NE(text.find(R"("name": "\u001b[31mred.cas")"), std::string::npos) << text;
    EXPECT_NE(text.find(R"("name": "del\u007f c1\u009b")"), std::string::npos) << text;
    EXPECT_EQ(nlohmann::json::parse(text)["programs"][0]["cases"][0]["name"], "del\x7f c1\xc2\x9b");
}

TEST(JunitReport, EscapesWhatXmlCannotHoldAsItIs) {
    std::vector<ProgramResult> results{
        {"a&b.cas", "", {failed("<x> \"y\"\x01", {{"output", "\"\tA\"", "\"B\""}})}, 0}};
    const std::string xml = junitReport(results, "t.toml");
    EXPECT_NE(xml.find("<testsuite name=\"a&amp;b.cas\""), std::string::npos) << xml;
    EXPECT_NE(xml.find("<testcase name=\"&lt;x&gt; &quot;y&quot;\xEF\xBF\xBD\""), std::string::npos)
        << xml;
    EXPECT_NE(xml.find("message=\"output: expected &quot;&#9;A&quot; | got &quot;B&quot;\""),
              std::string::npos)
        << xml;
    EXPECT_NE(xml.find("<system-out>HELO\n</system-out>"), std::string::npos) << xml;
}

TEST(TapReport, EscapesHashesInDescriptions) {
    std::vector<ProgramResult> results{{"p.cas", "", {passed("case #1 \\ two")}, 0}};
    const std::string tap = tapReport(results, "t.toml");
    EXPECT_NE(tap.find("    ok 1 - case \\#1 \\\\ two\n"), std::string::npos) << tap;
}

/// A generated case that failed, as the grader leaves it.
CaseResult failedGenerated(bool hidden) {
    CaseResult c = failed("echo#7", {{"output", "\"\"", "nothing (no OUT)"}});
    c.given = "inputs \"\"";
    c.fixedCase = "[[case]]\nname = \"echo-7\"\ninputs = [\"\"]\nexpect.output = [\"\"]\n";
    c.hidden = hidden;
    return c;
}

struct GivenCase {
    std::string name;
    std::function<std::string(const CaseResult&)> report;
    /// What the report shows of the inputs; empty: nothing of them.
    std::string shown;
    bool hidden;
};

void PrintTo(const GivenCase& c, std::ostream* os) {
    *os << c.name;
}

class GeneratedInputs : public testing::TestWithParam<GivenCase> {};

TEST_P(GeneratedInputs, AreShownWithAFailedGeneratedCase) {
    const GivenCase& c = GetParam();
    const std::string report = c.report(failedGenerated(c.hidden));
    if (c.shown.empty()) {
        EXPECT_EQ(report.find("inputs"), std::string::npos) << report;
    } else {
        EXPECT_NE(report.find(c.shown), std::string::npos) << report;
    }
}

ProgramResult onlyProgram(const CaseResult& c) {
    return {"p.cas", "", {c}, 0};
}

INSTANTIATE_TEST_SUITE_P(
    Formats, GeneratedInputs,
    testing::Values(
        GivenCase{"Junit", [](const CaseResult& c) { return junitReport({onlyProgram(c)}, "t"); },
                  "got nothing (no OUT); generated with inputs &quot;&quot;", false},
        GivenCase{"Tap", [](const CaseResult& c) { return tapReport({onlyProgram(c)}, "t"); },
                  "generated with inputs \\\"\\\"", false},
        GivenCase{"Html", [](const CaseResult& c) { return htmlReport({onlyProgram(c)}, "t"); },
                  "<pre class=\"fixed-case\">[[case]]\nname = &quot;echo-7&quot;", false},
        GivenCase{"Vpl", [](const CaseResult& c) { return vplReport(onlyProgram(c)); },
                  "generated with inputs \"\"", false},
        GivenCase{"StudentOfAHiddenCase", [](const CaseResult& c) { return studentDetails(c); }, "",
                  true},
        GivenCase{"TextSnippetIsNotWrapped",
                  [](const CaseResult& c) { return textReport({onlyProgram(c)}, false); },
                  "\n      to keep it as a fixed case:\n        [[case]]\n        name = "
                  "\"echo-7\"\n",
                  false}),
    testing::PrintToStringParamName());

} // namespace
} // namespace casl::check
