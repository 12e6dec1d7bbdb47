// Arbitrary bytes as a source file: read as the Open command reads it, assembled, listed.
#include "assembler/assembler.h"
#include "assembler/findings.h"
#include "assembler/line_tokens.h"
#include "assembler/source_intake.h"
#include "platform/source_file.h"
#include "platform/text_codec.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>
#include <variant>

namespace {

void require(bool condition) {
    if (!condition) {
        __builtin_trap();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    auto source = casl::platform::decodeSourceBytes(bytes);
    const auto* text = std::get_if<casl::platform::SourceText>(&source);
    if (text == nullptr) {
        return 0;
    }
    static const auto tables = std::make_unique<casl::ProgramTables>();
    const casl::AssemblyResult result = casl::assemble(text->text, *tables);
    if (result.blank) {
        return 0;
    }
    require(tables->lineCounter >= 1 && tables->lineCounter <= casl::maxLines + 1);
    require(tables->dataWordCounter >= 1 && tables->dataWordCounter <= casl::maxDataWords + 1);
    require(result.errorCount <= tables->lineCounter);
    if (result.success) {
        require(result.limitMessage.empty());
        for (int n = 1; n < tables->lineCounter; ++n) {
            require(!casl::hasError(tables->lineFields[n][casl::findingsColumn]));
        }
        require(!result.infoText.empty());
    }
    // The findings are the lines in error, each on a line of the editor text.
    require(static_cast<int>(result.findings.size()) + (result.limitMessage.empty() ? 0 : 1) ==
            result.errorCount);
    const auto keptCount = static_cast<int>(casl::keptLines(text->text).size());
    for (const casl::LineFinding& finding : result.findings) {
        require(finding.sourceLine >= 1 && finding.sourceLine <= keptCount);
        require(!finding.errors.empty() && finding.errors.size() == finding.messages.size());
    }
    // The tokens that the editors colour cover every line, each character once.
    for (const std::u32string_view line : casl::keptLines(text->text)) {
        std::size_t next = 0;
        for (const casl::LineToken& token : casl::lineTokens(line)) {
            require(token.start == next && token.length > 0);
            next += token.length;
        }
        require(next == line.size());
    }
    const std::string listing = casl::platform::toUtf8(result.listingWindowText);
    require(!listing.empty());
    return 0;
}
