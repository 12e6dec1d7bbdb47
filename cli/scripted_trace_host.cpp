#include "cli/scripted_trace_host.h"

#include "cli/terminal_text.h"
#include "platform/text_codec.h"
#include "simulator/trace_displays.h"
#include "simulator/trace_session.h"

#include <ostream>

namespace casl::cli {
namespace {

constexpr std::u32string_view stepQuestionTitle = U"確認";

void printBox(std::ostream& out, std::u32string_view text, std::u32string_view title) {
    out << '[' << terminalText(title) << "]\n" << terminalLines(text);
}

} // namespace

void ScriptedTraceHost::showDisplays(const TraceDisplays& displays) {
    // Only the waits are traced: the displays under a box or at the end of the run are the
    // final displays, printed once the run has ended.
    if (!options_.trace || session_ == nullptr || !session_->waiting()) {
        return;
    }
    if (const int marked = displays.markedLine(); marked > 0) {
        out_ << "line " << marked << ": " << terminalText(displays.markedListingLine()) << '\n';
    }
    printDisplayBlock(displays, out_);
}

MessageAnswer ScriptedTraceHost::messageBox(std::u32string_view text, std::u32string_view title,
                                            MessageButtons buttons) {
    if (buttons == MessageButtons::Ok) {
        printBox(out_, text, title);
        return MessageAnswer::Ok;
    }
    bool yes = true;
    if (title == stepQuestionTitle) {
        yes = session_ != nullptr && session_->countedSteps() < options_.maxSteps;
        if (yes) {
            return MessageAnswer::Yes;
        }
    } else if (nextAnswer_ < options_.answers.size()) {
        yes = options_.answers[nextAnswer_++];
    }
    printBox(out_, text, title);
    out_ << (yes ? "> yes\n" : "> no\n");
    return yes ? MessageAnswer::Yes : MessageAnswer::No;
}

std::optional<std::u32string> ScriptedTraceHost::inputBox(std::u32string_view prompt,
                                                          std::u32string_view title,
                                                          std::u32string_view defaultText,
                                                          ScreenPosition position) {
    static_cast<void>(defaultText);
    static_cast<void>(position);
    std::optional<std::u32string> answer;
    if (nextInput_ < options_.inputs.size()) {
        answer = platform::fromUtf8(options_.inputs[nextInput_++]);
    }
    printBox(out_, prompt, title);
    out_ << "> " << terminalText(answer.value_or(std::u32string{})) << '\n';
    return answer;
}

void printDisplayBlock(const TraceDisplays& displays, std::ostream& out) {
    // Before the run's first refresh the window still shows its start-up texts.
    const DisplayTexts initial = initialDisplayTexts();
    const bool refreshed = displays.refreshed();
    for (int i = 0; i < 8; ++i) {
        out << "GR" << i << ' '
            << terminalText(refreshed ? displays.registerRow(i)
                                      : initial.registers[static_cast<std::size_t>(i)])
            << '\n';
    }
    out << terminalText(displays.programRegister()) << '\n'
        << terminalText(refreshed ? displays.stackPointer() : initial.sp) << '\n'
        << terminalText(displays.flags()) << '\n'
        << terminalText(displays.objectCode()) << '\n'
        << "Stack Area\n"
        << terminalText(refreshed ? displays.stackArea() : initial.stackArea) << "Data Area\n"
        << terminalText(refreshed ? displays.dataArea() : initial.dataArea);
}

} // namespace casl::cli
