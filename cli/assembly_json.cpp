#include "cli/assembly_json.h"

#include "assembler/listing.h"
#include "platform/text_codec.h"

#include <algorithm>

namespace casl::cli {
namespace {

using Json = nlohmann::ordered_json;

Json errorsJson(const LineFinding& finding) {
    Json errors = Json::array();
    for (std::size_t i = 0; i < finding.errors.size(); ++i) {
        errors.push_back(
            {{"number", finding.errors[i]}, {"message", platform::toUtf8(finding.messages[i])}});
    }
    return errors;
}

Json textOrNull(const std::u32string& text) {
    return text.empty() ? Json(nullptr) : Json(platform::toUtf8(text));
}

/// The fields that both layouts share.
void addResult(Json& json, const AssemblyResult& result) {
    json["limit_message"] = textOrNull(result.limitMessage);
    json["error_count"] = result.errorCount;
    json["result_line"] = result.blank ? Json(nullptr) : Json(platform::toUtf8(result.resultLine));
    json["success"] = result.success;
}

Json rowJson(const ProgramTables& tables, const AssemblyResult& result, const ObjectCode& code,
             int line) {
    Json words = Json::array();
    for (int i = 0; i < code.wordCount; ++i) {
        words.push_back(code.words[static_cast<std::size_t>(i)]);
    }
    // The operand fields as the listing joins them, without the empty ones at the end.
    Json operands = Json::array();
    int last = operand3Column;
    while (last >= operand1Column && tables.field(line, last).empty()) {
        --last;
    }
    for (int k = operand1Column; k <= last; ++k) {
        operands.push_back(platform::toUtf8(tables.field(line, k)));
    }
    const auto finding = std::ranges::find(result.findings, line, &LineFinding::line);
    return {
        {"line", line},
        {"address", line <= result.reach.addressedLines
                        ? Json(static_cast<std::uint16_t>(tables.address(line)))
                        : Json(nullptr)},
        {"code", words},
        {"label", platform::toUtf8(tables.field(line, labelColumn))},
        {"mnemonic", platform::toUtf8(tables.field(line, mnemonicColumn))},
        {"operands", operands},
        {"errors", finding != result.findings.end() ? errorsJson(*finding) : Json::array()},
    };
}

} // namespace

Json assemblyJson(const AssemblyResult& result, const ProgramTables& tables,
                  const std::string& path) {
    Json rows = Json::array();
    if (!result.blank) {
        const std::vector<ObjectCode> codes = objectCodes(tables, result.reach);
        for (int line = 1; line <= tables.lineCount(); ++line) {
            rows.push_back(rowJson(tables, result, codes[static_cast<std::size_t>(line)], line));
        }
    }
    Json json = {{"version", jsonVersion}, {"file", path}, {"blank", result.blank}, {"rows", rows}};
    addResult(json, result);
    return json;
}

Json assemblySummaryJson(const AssemblyResult& result) {
    Json findings = Json::array();
    for (const LineFinding& finding : result.findings) {
        findings.push_back({{"line", finding.line}, {"errors", errorsJson(finding)}});
    }
    Json json = {{"blank", result.blank}, {"findings", findings}};
    addResult(json, result);
    return json;
}

} // namespace casl::cli
