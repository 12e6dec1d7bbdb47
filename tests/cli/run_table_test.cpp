// `casl2 run --table`: the trace table of a run, one row per step, as CSV or Markdown.
#include "cli_fixture.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <vector>

namespace casl::cli {
namespace {

namespace fs = std::filesystem;

using test::CommandRun;

/// The records of a CSV text (RFC 4180: CR LF ends a record, quoted fields may hold commas
/// and doubled quotes); a malformed text fails the test.
std::vector<std::vector<std::string>> parseCsv(const std::string& text) {
    std::vector<std::vector<std::string>> records;
    std::vector<std::string> fields{""};
    bool quoted = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (quoted) {
            if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
                fields.back() += '"';
                ++i;
            } else if (c == '"') {
                quoted = false;
            } else {
                fields.back() += c;
            }
        } else if (c == '"') {
            EXPECT_TRUE(fields.back().empty()) << "a quote inside a field at " << i;
            quoted = true;
        } else if (c == ',') {
            fields.emplace_back();
        } else if (c == '\r') {
            EXPECT_EQ(text[i + 1], '\n') << "CR without LF at " << i;
            ++i;
            records.push_back(fields);
            fields = {""};
        } else {
            EXPECT_NE(c, '\n') << "LF without CR at " << i;
            fields.back() += c;
        }
    }
    EXPECT_FALSE(quoted) << "an unclosed quote";
    EXPECT_EQ(fields, std::vector<std::string>{""}) << "the last record has no line end";
    return records;
}

class ExampleTable : public testing::TestWithParam<std::string> {};

TEST_P(ExampleTable, CsvHasOneRowPerStepWithEveryColumn) {
    const std::string path = (fs::path(CASL_EXAMPLES_DIR) / GetParam()).string();
    const CommandRun table = test::casl2({"run", path, "--table", "csv", "--input", "ABC"});
    EXPECT_EQ(table.status, 0) << table.err;
    const auto records = parseCsv(table.out);
    ASSERT_GE(records.size(), 2u);
    ASSERT_EQ(records[0].size(), 17u);
    EXPECT_EQ(records[0].front(), "step");
    EXPECT_EQ(records[0].back(), "written");
    // As many steps as --trace shows waits: every step of a run without a breakpoint waits,
    // and the step that ended it has no row.
    const CommandRun trace = test::casl2({"run", path, "--trace", "--input", "ABC"});
    std::size_t waits = 0;
    std::istringstream lines(trace.out);
    for (std::string line; std::getline(lines, line);) {
        waits += line.rfind("line ", 0) == 0 ? 1 : 0;
    }
    EXPECT_EQ(records.size() - 1, waits);
    for (std::size_t i = 1; i < records.size(); ++i) {
        ASSERT_EQ(records[i].size(), records[0].size()) << "row " << i;
        EXPECT_EQ(records[i][0], std::to_string(i));
    }
}

INSTANTIATE_TEST_SUITE_P(Examples, ExampleTable,
                         testing::Values("echo.cas", "hello.cas", "literals.cas", "loop.cas",
                                         "strings.cas", "subroutine.cas"),
                         [](const auto& info) {
                             return info.param.substr(0, info.param.find('.'));
                         });

TEST(RunTable, MarkdownWithChosenColumnsFromABreakpointOn) {
    const std::string path = (fs::path(CASL_EXAMPLES_DIR) / "loop.cas").string();
    const CommandRun r = test::casl2(
        {"run", path, "--table", "markdown", "--columns", "GR1,FR", "--breakpoint", "7"});
    EXPECT_EQ(r.status, 0) << r.err;
    std::istringstream lines(r.out);
    std::string header, rule, first;
    std::getline(lines, header);
    std::getline(lines, rule);
    std::getline(lines, first);
    EXPECT_EQ(header, "| step | line | instruction | GR1 | OF | SF | ZF | written |");
    EXPECT_EQ(rule, "| --- | --- | --- | --- | --- | --- | --- | --- |");
    // The steps between the waits at the breakpoint have their rows too.
    EXPECT_EQ(first, "| 1 | 4 | START | 0000 | 0 | 0 | 0 |  |");
}

TEST(RunTable, WrongFormatsAndColumnsAreRefused) {
    const std::string path = (fs::path(CASL_EXAMPLES_DIR) / "loop.cas").string();
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"run", path, "--table", "html"},
          {"run", path, "--table", "csv", "--columns", "GR1,XR"},
          {"run", path, "--columns", "GR1"},
          {"run", path, "--table", "csv", "--json"},
          {"run", path, "--table", "csv", "--trace"}}) {
        const CommandRun r = test::casl2(args);
        EXPECT_EQ(r.status, 2) << args[2] << " " << args[3];
        EXPECT_EQ(r.out, "");
        EXPECT_NE(r.err.find("casl2 run: "), std::string::npos) << r.err;
    }
}

} // namespace
} // namespace casl::cli
