#include "cli/check/reports.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

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

TEST(TextReport, OneLinePerProgramThenTheSummary) {
    EXPECT_EQ(textReport(sampleResults(), false),
              "class/ito.cas   3/3  passed\n"
              "class/sato.cas  1/3  FAILED  case \"hello\": output: expected \"HELLO\" | got "
              "\"HELO\" (and 1 more)\n"
              "class/x.cas     0/3  FAILED  case \"hello\": cannot be read: ファイルを開けません\n"
              "\n"
              "1 of 3 programs passed every case; 4 of 9 cases passed\n");
}

TEST(TextReport, VerboseListsEveryFailingCase) {
    const std::string report = textReport(sampleResults(), true);
    EXPECT_NE(
        report.find("FAILED  case \"hello\": output: expected \"HELLO\" | got \"HELO\" (and 1 "
                    "more)\n"
                    "    case \"hello\": output: expected \"HELLO\" | got \"HELO\"\n"
                    "    case \"hello\": GR1: expected 5 (#0005) | got 4 (#0004)\n"
                    "    case \"long\": ending: expected program-end | got step-limit\n"
                    "class/x.cas"),
        std::string::npos)
        << report;
    EXPECT_NE(report.find("    case \"long\": cannot be read: ファイルを開けません\n"),
              std::string::npos)
        << report;
}

TEST(TextReport, NamesOfJapaneseCharactersAreAlignedByCharacters) {
    std::vector<ProgramResult> results{{"あ.cas", "", {passed("a")}, 0},
                                       {"abcd.cas", "", {passed("a")}, 0}};
    EXPECT_EQ(textReport(results, false),
              "あ.cas     1/1  passed\n"
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

} // namespace
} // namespace casl::check
