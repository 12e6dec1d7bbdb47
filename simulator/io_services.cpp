#include "platform/text_codec.h"
#include "simulator/run_messages.h"
#include "simulator/trace_session.h"

namespace casl {
namespace {

/// The character code `IN` stores: the CP932 code, or that of "?" for a character the code
/// page lacks (as the system's conversion to the code page puts it).
std::int32_t inputCode(char32_t c) {
    return platform::cp932Code(c).value_or(U'?');
}

/// The character `OUT` shows for a word: its low byte as ASCII or half-width katakana. A
/// negative word holds a double-byte character (as `IN` stores it), which has no single-byte
/// form, so its low byte alone would show some unrelated character.
char32_t outputCharacter(std::int32_t value) {
    if (value < 0) {
        return U'□';
    }
    const std::int32_t c = value & 255;
    if (c >= 32 && c <= 126) {
        return static_cast<char32_t>(c);
    }
    if (c >= 161 && c <= 209) {
        return static_cast<char32_t>(0xFF61 + (c - 161));
    }
    return U'□';
}

} // namespace

TraceSession::Flow TraceSession::executeIn(int line, const DecodedLine& d) {
    showObjectCodeBlank();
    showProgramRegister(line, d.programRegister);
    return openBox(RunBox{RunBox::Kind::Input, std::u32string(messages::inputPrompt),
                          std::u32string(messages::inputTitle), MessageButtons::Ok, U"",
                          ScreenPosition{10, 10}, RunBox::Purpose::Input},
                   Continuation{Continuation::Kind::Input, TraceEnding::None, line});
}

void TraceSession::storeInput(const DecodedLine& d, const std::u32string& answer) {
    if (const int row = d.row; row != 0) {
        writeDataWord(row, static_cast<std::int32_t>(answer.size()));
    }
    if (const int row = d.areaRow; row != 0) {
        // An answer longer than the area runs on into the following words, up to the end
        // of the table.
        for (std::size_t j = 0; j < answer.size() && row + j <= maxDataWords; ++j) {
            writeDataWord(static_cast<int>(row + j), inputCode(answer[j]));
        }
    }
}

TraceSession::Flow TraceSession::executeOut(int line, const DecodedLine& d) {
    showObjectCodeBlank();
    showProgramRegister(line, d.programRegister);
    const auto& words = tables_.dataWords;
    std::int32_t length = 0;
    if (const int row = d.row; row != 0) {
        length = words[static_cast<std::size_t>(row)][dataValueColumn];
        noteRead(static_cast<std::uint16_t>(row), length);
    }
    if (const int row = d.areaRow; row != 0) {
        std::u32string& out = machine_.outputText;
        out.append(U"\r\n");
        for (std::int64_t j = 0; j < length && row + j <= maxDataWords; ++j) {
            const std::int32_t value = words[static_cast<std::size_t>(row + j)][dataValueColumn];
            noteRead(static_cast<std::uint16_t>(row + j), value);
            out.push_back(outputCharacter(value));
        }
    }
    return openBox(RunBox::message(machine_.outputText, messages::outputTitle, MessageButtons::Ok,
                                   RunBox::Purpose::Output),
                   Continuation{Continuation::Kind::Output, TraceEnding::None, line});
}

} // namespace casl
