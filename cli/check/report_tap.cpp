#include "cli/check/reports.h"

#include <nlohmann/json.hpp>

namespace casl::check {
namespace {

/// A YAML scalar: a JSON string is a valid double-quoted YAML scalar.
std::string yaml(const std::string& text) {
    return nlohmann::json(text).dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

/// A test point's description: one line, with "#" (which would start a directive) and "\"
/// escaped.
std::string description(const std::string& name) {
    std::string out;
    for (char c : name) {
        if (c == '#' || c == '\\') {
            out.push_back('\\');
        }
        out.push_back(c == '\n' || c == '\r' ? ' ' : c);
    }
    return out;
}

void appendDiagnostics(std::string& out, const std::string& indent, const CaseResult& c) {
    out += indent + "---\n";
    out += indent + "message: " + yaml(failureText(c)) + "\n";
    if (!c.problem.empty()) {
        out += indent + "problem: " + yaml(c.problem) + "\n";
    }
    if (!c.mismatches.empty()) {
        out += indent + "mismatches:\n";
        for (const Mismatch& m : c.mismatches) {
            out += indent + "  - what: " + yaml(m.what) + "\n";
            out += indent + "    expected: " + yaml(m.expected) + "\n";
            out += indent + "    actual: " + yaml(m.actual) + "\n";
        }
    }
    if (!c.ending.empty()) {
        out += indent + "ending: " + yaml(c.ending) + "\n";
        out += indent + "steps: " + std::to_string(c.steps) + "\n";
    }
    out += indent + "...\n";
}

} // namespace

std::string tapReport(const std::vector<ProgramResult>& results, std::string_view testsPath) {
    std::string out = "TAP version 14\n";
    out += "# casl2 check " + description(std::string(testsPath)) + "\n";
    out += "1.." + std::to_string(results.size()) + "\n";
    for (std::size_t i = 0; i < results.size(); ++i) {
        const ProgramResult& p = results[i];
        out += "# Subtest: " + description(p.name) + "\n";
        out += "    1.." + std::to_string(p.cases.size()) + "\n";
        for (std::size_t k = 0; k < p.cases.size(); ++k) {
            const CaseResult& c = p.cases[k];
            out += std::string("    ") + (c.passed ? "ok " : "not ok ") + std::to_string(k + 1) +
                   " - " + description(c.name) + "\n";
            if (!c.passed) {
                appendDiagnostics(out, "      ", c);
            }
        }
        out += std::string(p.passed() ? "ok " : "not ok ") + std::to_string(i + 1) + " - " +
               description(p.name) + "\n";
    }
    out += "# " + summaryLine(totalsOf(results)) + "\n";
    return out;
}

} // namespace casl::check
