#include "cli/source_assembly.h"

#include "cli/terminal_text.h"
#include "platform/source_file.h"

#include <ostream>
#include <variant>

namespace casl::cli {

std::optional<AssemblyResult> assembleFile(const std::string& path, ProgramTables& tables,
                                           std::ostream& err) {
    auto source = platform::readSourceFile(path);
    if (const auto* error = std::get_if<platform::FileError>(&source)) {
        err << "casl2: " << terminalText(error->message) << '\n';
        return std::nullopt;
    }
    AssemblyResult result = assemble(std::get<platform::SourceText>(source).text, tables);
    // A blank program prints no listing; the exit status alone would not say why.
    if (result.blank) {
        err << "casl2: " << path
            << ": nothing to assemble: the file is empty or holds only blanks\n";
    }
    return result;
}

void printListing(const AssemblyResult& result, std::ostream& out) {
    if (result.blank) {
        return;
    }
    out << terminalText(result.listingWindowText) << terminalText(result.resultLine) << '\n';
}

void explainNoTrace(const AssemblyResult& assembly, const ProgramTables& tables,
                    std::string_view command, std::ostream& err) {
    if (assembly.success || assembly.blank) {
        return;
    }
    if (tables.lineCount() == 0) {
        err << "casl2 " << command << ": the file holds no program\n";
    } else if (assembly.errorCount == 0) {
        err << "casl2 " << command
            << ": a program of one line cannot be traced; Trace needs two lines\n";
    }
}

} // namespace casl::cli
