// casl2 assemble --json and casl2 run --json say what the text output says, as data. (The
// schemas are checked by validate_cli_json.py.)
#include "cli_fixture.h"

#include <cstdio>
#include <filesystem>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

namespace casl::cli {
namespace {

namespace fs = std::filesystem;

using Json = nlohmann::json;
using test::CommandRun;

std::string example(const std::string& name) {
    return (fs::path(CASL_EXAMPLES_DIR) / (name + ".cas")).string();
}

std::string hex4(long value) {
    char text[8];
    std::snprintf(text, sizeof text, "%04lX", value & 0xFFFF);
    return text;
}

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

std::string padded(std::string text, std::size_t width) {
    // Labels and mnemonics here are ASCII: a byte is a character.
    return text.size() < width ? text + std::string(width - text.size(), ' ') : text;
}

class AssembleJson : public test::FileFolder, public testing::WithParamInterface<std::string> {};

TEST_P(AssembleJson, EveryRowIsItsListingLine) {
    const std::string path = GetParam().ends_with(".cas")
                                 ? write("faulty.cas", "P START\r\n LDX GR1\r\nLONGLABEL1 LD GR9,"
                                                       "X\r\n LAD GR1,=3\r\n RET\r\n END\r\n")
                                       .string()
                                 : example(GetParam());
    const CommandRun text = test::casl2({"assemble", path});
    const CommandRun json = test::casl2({"assemble", "--json", path});
    EXPECT_EQ(json.status, text.status);
    const Json listing = Json::parse(json.out);
    const std::vector<std::string> lines = linesOf(text.out);
    std::size_t at = 2; // after the header
    for (const Json& row : listing["rows"]) {
        ASSERT_LT(at, lines.size());
        const std::string& line = lines[at++];
        std::string start = hex4(row["address"].get<long>()) + "\t";
        for (std::size_t i = 0; i < row["code"].size(); ++i) {
            start += (i == 0 ? "" : " ") + hex4(row["code"][i].get<long>());
        }
        EXPECT_TRUE(line.starts_with(start)) << line << " | " << start;
        std::string operands;
        for (const Json& operand : row["operands"]) {
            operands += (operands.empty() ? "" : ",") + operand.get<std::string>();
        }
        EXPECT_TRUE(
            line.ends_with("\t" + padded(row["label"], 9) + padded(row["mnemonic"], 8) + operands))
            << line;
        for (const Json& error : row["errors"]) {
            ASSERT_LT(at, lines.size());
            EXPECT_EQ(lines[at++], error["message"].get<std::string>());
        }
    }
    EXPECT_EQ(at + 1, lines.size());
    EXPECT_EQ(listing["result_line"], lines.back());
}

INSTANTIATE_TEST_SUITE_P(Programs, AssembleJson,
                         testing::Values("hello", "literals", "loop", "strings", "subroutine",
                                         "faulty.cas"),
                         [](const auto& info) {
                             return info.param.ends_with(".cas") ? std::string("faulty")
                                                                 : info.param;
                         });

TEST_F(AssembleJson, ErrorsComeFromTheFindingsWithTheirMessages) {
    const std::string path = write("faulty.cas", "P START\r\n LDX GR1\r\nLONGLABEL1 LD GR9,X\r\n"
                                                 " LD GR9,X\r\n LD GR1,Y,GR8\r\n RET\r\n END\r\n")
                                 .string();
    const CommandRun r = test::casl2({"assemble", "--json", path});
    EXPECT_EQ(r.status, 1);
    const Json listing = Json::parse(r.out);
    const Json rows = listing["rows"];
    EXPECT_EQ(rows[0]["errors"], Json::array());
    EXPECT_EQ(rows[1]["errors"], Json::parse(R"([{"number": 7, "message": "ニーモニック "}])"));
    // The length of the label replaces the other findings of its line.
    EXPECT_EQ(rows[2]["errors"], Json::parse(R"([{"number": 2, "message": "ラベルの長さ "}])"));
    EXPECT_EQ(rows[3]["errors"], Json::parse(R"([{"number": 5, "message": "<GR>レジスタ "},
                              {"number": 9, "message": "オペランドのラベルが見つからない "}])"));
    EXPECT_EQ(rows[4]["errors"], Json::parse(R"([{"number": 6, "message": "<XR>レジスタ "},
                              {"number": 9, "message": "オペランドのラベルが見つからない "}])"));
    EXPECT_EQ(rows[4]["operands"], Json::parse(R"(["GR1", "Y", "GR8"])"));
    // An unknown mnemonic has no object code.
    EXPECT_EQ(rows[1]["code"], Json::array());
    EXPECT_EQ(listing["error_count"], 4);
    EXPECT_EQ(listing["result_line"], "Assemble Error: 4");
    EXPECT_EQ(listing["success"], false);
}

TEST(RunJson, EchoGivesItsBoxesInputsOutputAndData) {
    const CommandRun r = test::casl2({"run", "--json", example("echo"), "--input", "Hi"});
    EXPECT_EQ(r.status, 0);
    const Json json = Json::parse(r.out);
    EXPECT_EQ(json["assembly"]["result_line"], "Assemble Error: 0");
    const Json& run = json["run"];
    EXPECT_EQ(run["boxes"], Json::parse(R"([
        {"kind": "input", "title": "IN command", "text": "Input", "answer": "Hi"},
        {"kind": "message", "title": "OUT command", "text": "\r\nHi", "buttons": "ok",
         "answer": "ok"},
        {"kind": "message", "title": "Program Terminated", "text": "Program終了",
         "buttons": "ok", "answer": "ok"}])"));
    EXPECT_EQ(run["inputs"], Json::parse(R"(["Hi"])"));
    EXPECT_EQ(run["output"], "\r\nHi");
    EXPECT_EQ(run["ending"], "program-end");
    EXPECT_EQ(run["ending_message"], "Program終了");
    EXPECT_EQ(run["data"][0], Json::parse(R"({"label": "BUF", "address": 11, "value": 72})"));
    EXPECT_EQ(run["data"][1], Json::parse(R"({"label": "", "address": 12, "value": 105})"));
    EXPECT_EQ(run["data"].back(), Json::parse(R"({"label": "LEN", "address": 51, "value": 2})"));
}

TEST(RunJson, QuestionsCarryTheirButtonsAndAnswers) {
    const std::string questions = (fs::path(CASL_RUN_PROGRAMS_DIR) / "questions.cas").string();
    const CommandRun r = test::casl2({"run", "--json", questions, "--answer", "no"});
    EXPECT_EQ(r.status, 3);
    const Json run = Json::parse(r.out)["run"];
    const Json& boxes = run["boxes"];
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0]["buttons"], "yes-no");
    EXPECT_EQ(boxes[0]["answer"], "no");
    EXPECT_EQ(boxes[1]["answer"], "yes");
    EXPECT_EQ(run["ending"], "outside-data");
}

class RunJsonState : public testing::TestWithParam<std::string> {};

TEST_P(RunJsonState, TheMachineIsWhatTheFinalDisplaysShow) {
    const CommandRun text = test::casl2({"run", example(GetParam())});
    const CommandRun json = test::casl2({"run", "--json", example(GetParam())});
    EXPECT_EQ(json.status, text.status);
    const Json run = Json::parse(json.out)["run"];
    // The final displays are the last block printed.
    const std::size_t finalBlock = text.out.rfind("GR0 [");
    ASSERT_NE(finalBlock, std::string::npos);
    for (int i = 0; i < 8; ++i) {
        const long value = run["registers"]["GR" + std::to_string(i)].get<long>();
        const std::size_t row = text.out.find("GR" + std::to_string(i) + " [", finalBlock);
        ASSERT_NE(row, std::string::npos) << i;
        const std::string rowText = text.out.substr(row, text.out.find('\n', row) - row);
        EXPECT_NE(rowText.find("] " + hex4(value) + " ("), std::string::npos) << rowText;
    }
    EXPECT_NE(text.out.find("\nPR:" + hex4(run["PR"].get<long>()) + "\n"), std::string::npos);
    EXPECT_NE(text.out.find("\nSP:" + hex4(run["SP"].get<long>()) + "\n"), std::string::npos);
    const Json& flags = run["flags"];
    EXPECT_NE(text.out.find("\nOF:" + std::to_string(flags["OF"].get<int>()) +
                            " SF:" + std::to_string(flags["SF"].get<int>()) +
                            " ZF:" + std::to_string(flags["ZF"].get<int>()) + "\n"),
              std::string::npos);
    std::string stack = "Address Value\n--------------\n";
    for (const Json& slot : run["stack"]) {
        stack += hex4(slot["address"].get<long>()) + "\t" + hex4(slot["value"].get<long>()) + "\n";
    }
    EXPECT_NE(text.out.find(stack + "Data Area\n"), std::string::npos) << stack;
}

INSTANTIATE_TEST_SUITE_P(Examples, RunJsonState,
                         testing::Values("hello", "literals", "loop", "strings", "subroutine"),
                         [](const auto& info) { return info.param; });

} // namespace
} // namespace casl::cli
