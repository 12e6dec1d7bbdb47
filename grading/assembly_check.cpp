#include "grading/assembly_check.h"

#include "assembler/findings.h"
#include "assembler/listing.h"
#include "platform/text_codec.h"

#include <algorithm>

namespace casl::check {
namespace {

/// "5 <GR>レジスタ, 8 オペランド": the numbers with the listing's messages.
std::string errorsText(const std::vector<int>& errors) {
    if (errors.empty()) {
        return "no error";
    }
    std::string text;
    for (int e : errors) {
        std::u32string message(errorMessage(e));
        while (!message.empty() && message.back() == U' ') {
            message.pop_back();
        }
        text += (text.empty() ? "" : ", ") + std::to_string(e) + " " + platform::toUtf8(message);
    }
    return text;
}

} // namespace

std::map<int, std::vector<int>> lineErrors(const ProgramTables& tables) {
    std::map<int, std::vector<int>> byLine;
    for (int n = 1; n < tables.lineCounter && n <= maxLines; ++n) {
        const std::u32string& findings = tables.lineFields[n][findingsColumn];
        if (!hasError(findings)) {
            continue;
        }
        std::vector<int> errors = errorNumbers(findings);
        std::sort(errors.begin(), errors.end());
        errors.erase(std::unique(errors.begin(), errors.end()), errors.end());
        byLine[n] = std::move(errors);
    }
    return byLine;
}

std::string assemblyProblem(const ProgramTables& tables, const AssemblyResult& result,
                            const SourceLines& lines) {
    if (result.blank) {
        return "the program is empty";
    }
    if (!result.limitMessage.empty()) {
        return "does not assemble: " + platform::toUtf8(result.limitMessage);
    }
    const auto errors = lineErrors(tables);
    if (errors.empty()) {
        return "cannot be traced: a program needs at least two lines";
    }
    const auto& [line, numbers] = *errors.begin();
    return "does not assemble (" + platform::toUtf8(result.resultLine) + "); " + lines.name(line) +
           ": error " + errorsText(numbers);
}

std::vector<Mismatch> compareAssembly(const ProgramTables& tables, const AssemblyResult& result,
                                      const CheckCase& c, const SourceLines& lines) {
    const auto actual = lineErrors(tables);
    const bool stopped = !result.limitMessage.empty();
    if (actual.empty() && !stopped) {
        return {{"assembly", "assembly errors", platform::toUtf8(result.resultLine)}};
    }
    if (!c.errors) {
        return {};
    }
    std::vector<Mismatch> found;
    std::map<int, bool> named;
    for (const auto& entry : actual) {
        named[entry.first] = true;
    }
    for (const auto& entry : *c.errors) {
        named[entry.first] = true;
    }
    for (const auto& [line, _] : named) {
        const auto wanted = c.errors->find(line);
        const auto got = actual.find(line);
        const std::vector<int> none;
        const std::vector<int>& w = wanted == c.errors->end() ? none : wanted->second;
        const std::vector<int>& g = got == actual.end() ? none : got->second;
        if (w != g) {
            Mismatch m{"errors on line " + std::to_string(line), errorsText(w), errorsText(g)};
            m.fileLine = lines.fileLine(line) != line ? lines.fileLine(line) : 0;
            found.push_back(std::move(m));
        }
    }
    return found;
}

} // namespace casl::check
