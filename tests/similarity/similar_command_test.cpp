// `casl2 similar` as a teacher runs it: the folders read, the three reports, the statuses.
#include "cli/check/terminal_columns.h"
#include "cli/similar/similar_command.h"
#include "cli_fixture.h"

#include <nlohmann/json.hpp>

namespace casl::cli::test {
namespace {

namespace fs = std::filesystem;

const std::string corpus = CASL_SIMILARITY_CORPUS;

/// A small program; `name` is its label and `step` the constant it adds, so that programs
/// built with different steps are alike but not copies.
std::string program(const std::string& name, int step, const std::string& comment = "") {
    return name + "  START\n        LAD     GR1,0\n        LAD     GR2,0\nLOOP    CPA     GR1,=" +
           std::to_string(step) + "\n        JZE     FIN ; " + comment +
           "\n        ADDA    GR2,GR1\n        LAD     GR1," + std::to_string(step) +
           ",GR1\n        JUMP    LOOP\nFIN     ST      GR2,SUM\n        RET\nSUM     DS      1\n"
           "        END\n";
}

class SimilarCommand : public FileFolder {
protected:
    fs::path writeIn(const std::string& name, const std::string& bytes) {
        fs::create_directories((folder / name).parent_path());
        return write(name, bytes);
    }
};

TEST_F(SimilarCommand, ReadsEveryCasFileOfTheFoldersAndTheirSubFoldersSorted) {
    writeIn("b/x.cas", "");
    writeIn("a/deep/y.CAS", "");
    writeIn("a/notes.txt", "");
    writeIn("c.cas", "");
    fs::create_directories(folder / "d.cas");
    const std::string f = folder.string();
    EXPECT_EQ(similar::programPaths({f, f + "/given.txt"}),
              (std::vector<std::string>{f + "/a/deep/y.CAS", f + "/b/x.cas", f + "/c.cas",
                                        f + "/given.txt"}));
}

TEST_F(SimilarCommand, ListsTheProgramsNotComparedWithTheirReason) {
    writeIn("ok1.cas", program("ONE", 1));
    writeIn("ok2.cas", program("TWO", 1));
    writeIn("typo.cas", "T START\n LD GR9,X\n RET\nX DC 1\n END\n");
    fs::create_symlink(folder / "nowhere", folder / "lost.cas");
    const CommandRun r = casl2("similar", {folder.string()});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("4 programs in " + folder.string() + "/, 1 pair compared, 2 not compared"),
              std::string::npos)
        << r.out;
    EXPECT_NE(r.out.find("  1. 100.0%  ok1.cas ~ ok2.cas\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("Not compared:\n  lost.cas: cannot be read: "), std::string::npos)
        << r.out;
    EXPECT_NE(r.out.find("\n  typo.cas: does not assemble"), std::string::npos) << r.out;
}

TEST_F(SimilarCommand, TextFitsEightyColumnsWithWideCharactersAndLongNames) {
    const std::string wide = "        LD      GR1,='あいうえおかきくけこさしすせそ'\n";
    const std::string longName(120, 'n');
    for (const std::string& name : {longName + "1.cas", longName + "2.cas"}) {
        writeIn(name, "W START\n" + wide + "        LAD GR2,1\n" + wide + "        RET\n END\n");
    }
    const CommandRun r = casl2("similar", {folder.string()});
    ASSERT_EQ(r.status, 0) << r.err;
    std::istringstream lines(r.out);
    int shown = 0;
    for (std::string line; std::getline(lines, line); ++shown) {
        EXPECT_LE(check::terminalColumns(line), 80U) << line;
    }
    EXPECT_GT(shown, 8);
    EXPECT_NE(r.out.find("…"), std::string::npos);
}

TEST_F(SimilarCommand, JsonNamesEveryProgramAndThePairsWithTheirLines) {
    writeIn("a.cas", program("AAA", 1, "first"));
    writeIn("b.cas", program("BBB", 1, "second"));
    writeIn("c.cas", program("CCC", 3));
    writeIn("d.cas", "");
    const CommandRun r = casl2("similar", {folder.string(), "--format", "json", "--top", "2"});
    ASSERT_EQ(r.status, 0) << r.err;
    const auto json = nlohmann::json::parse(r.out);
    EXPECT_EQ(json["version"], 1);
    ASSERT_EQ(json["programs"].size(), 4U);
    EXPECT_EQ(json["programs"][0]["compared"], true);
    EXPECT_EQ(json["programs"][0]["instructions"], 9);
    EXPECT_EQ(json["programs"][3]["name"], (folder / "d.cas").string());
    EXPECT_EQ(json["programs"][3]["compared"], false);
    EXPECT_EQ(json["programs"][3]["problem"], "is blank");
    EXPECT_EQ(json["compared_pairs"], 3);
    ASSERT_EQ(json["pairs"].size(), 2U);
    const auto& best = json["pairs"][0];
    EXPECT_EQ(best["rank"], 1);
    EXPECT_EQ(best["first"], (folder / "a.cas").string());
    EXPECT_EQ(best["second"], (folder / "b.cas").string());
    EXPECT_EQ(best["score"], 100.0);
    ASSERT_EQ(best["lines"].size(), 9U);
    EXPECT_EQ(best["lines"][3]["first_line"], 5);
    EXPECT_EQ(best["lines"][3]["first_text"], "        JZE     FIN ; first");
    EXPECT_EQ(best["lines"][3]["second_text"], "        JZE     FIN ; second");
    EXPECT_LT(json["pairs"][1]["score"], 100.0);
}

TEST_F(SimilarCommand, HtmlEscapesHostileNamesAndLines) {
    writeIn("<img src=x onerror=alert(1)>.cas", program("AAA", 1, "</code><script>x()</script>"));
    writeIn("a&b.cas", program("BBB", 1, "\"quoted\" 'too'"));
    const fs::path page = folder / "report.html";
    const CommandRun r = casl2("similar", {folder.string(), "-f", "html", "-o", page.string()});
    ASSERT_EQ(r.status, 0) << r.err;
    std::ifstream in(page);
    const std::string html((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(html.find("<img"), std::string::npos);
    EXPECT_EQ(html.find("<script>"), std::string::npos);
    EXPECT_NE(html.find("&lt;img src=x onerror=alert(1)&gt;.cas"), std::string::npos);
    EXPECT_NE(html.find("&lt;/code&gt;&lt;script&gt;x()&lt;/script&gt;"), std::string::npos);
    EXPECT_NE(html.find("a&amp;b.cas"), std::string::npos);
    EXPECT_NE(html.find("100.0%"), std::string::npos);
}

TEST_F(SimilarCommand, GivesTheSameReportOnEveryRun) {
    const CommandRun first = casl2("similar", {corpus, "--top", "100", "-j", "3"});
    for (const char* jobs : {"1", "2", "3"}) {
        const CommandRun again = casl2("similar", {corpus, "--top", "100", "-j", jobs});
        EXPECT_EQ(again.out, first.out) << jobs << " jobs";
    }
}

TEST_F(SimilarCommand, ShowsOnlyPairsFromTheLeastScoreUpAndAtMostTheTop) {
    const CommandRun r = casl2("similar", {corpus, "--min", "90", "-f", "json"});
    ASSERT_EQ(r.status, 0) << r.err;
    const auto json = nlohmann::json::parse(r.out);
    ASSERT_FALSE(json["pairs"].empty());
    for (const auto& pair : json["pairs"]) {
        EXPECT_GE(pair["score"], 90.0);
    }
    const CommandRun top = casl2("similar", {corpus, "--top", "1", "-f", "json"});
    EXPECT_EQ(nlohmann::json::parse(top.out)["pairs"].size(), 1U);
}

struct WrongArguments {
    std::string name;
    std::vector<std::string> args;
    std::string message;
};

void PrintTo(const WrongArguments& w, std::ostream* os) {
    *os << w.name;
}

class SimilarArguments : public testing::TestWithParam<WrongArguments> {};

TEST_P(SimilarArguments, AreRefusedWithStatusTwoAndTheReason) {
    std::vector<std::string> args = GetParam().args;
    args.insert(args.begin(), "similar");
    const CommandRun r = casl2(args);
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err.find(GetParam().message), std::string::npos) << r.err;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SimilarArguments,
    testing::Values(WrongArguments{"NoFolder", {}, "FOLDER is required"},
                    WrongArguments{"ScoreAboveHundred",
                                   {corpus, "--min", "101"},
                                   "--min takes a score in percent from 0 to 100, not '101'"},
                    WrongArguments{"NoPairs",
                                   {corpus, "--top", "0"},
                                   "--top takes a number of pairs from 1 to 1000000, not '0'"},
                    WrongArguments{"UnknownFormat",
                                   {corpus, "--format", "xml"},
                                   "--format takes text, json or html, not 'xml'"},
                    WrongArguments{"FolderWithoutPrograms",
                                   {CASL_SIMILARITY_EMPTY_FOLDER},
                                   "casl2 similar: no .cas programs in the folders given"},
                    WrongArguments{"ReportOverAProgram",
                                   {corpus, "-o", corpus + "/sum/solution-a.cas"},
                                   "casl2 similar: "}),
    [](const testing::TestParamInfo<WrongArguments>& info) { return info.param.name; });

} // namespace
} // namespace casl::cli::test
