#include "cli/check/reference_answers.h"

#include "grading/generated_cases.h"
#include "platform/source_file.h"
#include "platform/text_codec.h"

#include <algorithm>
#include <filesystem>
#include <variant>

namespace casl::check {

std::string referenceOf(const CheckOptions& options, const TestFile& file) {
    if (!options.referencePath.empty()) {
        return options.referencePath;
    }
    if (!file.reference) {
        return "";
    }
    return (std::filesystem::path(options.testsPath).parent_path() / *file.reference).string();
}

bool answerGeneratedCases(const CheckOptions& options, TestFile& file, std::ostream& err) {
    if (std::ranges::none_of(file.cases,
                             [](const CheckCase& c) { return c.compare.has_value(); })) {
        return true;
    }
    const std::string reference = referenceOf(options, file);
    if (reference.empty()) {
        err << "casl2 check: " << options.testsPath
            << ": [[generate]] takes its answers from a reference solution: add reference = "
               "\"FILE.cas\" to the test file or give --reference FILE.cas\n";
        return false;
    }
    auto source = platform::readSourceFile(reference);
    if (const auto* error = std::get_if<platform::FileError>(&source)) {
        err << "casl2 check: the reference " << reference
            << " cannot be read: " << platform::toUtf8(error->message) << '\n';
        return false;
    }
    const std::vector<std::string> faults =
        expectFromReference(file, reference, std::get<platform::SourceText>(source).text);
    for (const std::string& fault : faults) {
        err << "casl2 check: " << options.testsPath << ": " << fault << '\n';
    }
    return faults.empty();
}

} // namespace casl::check
