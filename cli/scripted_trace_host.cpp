#include "cli/scripted_trace_host.h"

#include "cli/terminal_text.h"
#include "platform/text_codec.h"
#include "simulator/trace_displays.h"
#include "simulator/trace_session.h"

#include <ostream>

namespace casl::cli {
namespace {

/// A box as terminal lines: every line of its text ends with LF, so a text that ends in CR LF
/// keeps the empty last line that the box shows.
std::string boxText(std::u32string_view text, std::u32string_view title) {
    return '[' + terminalText(title) + "]\n" + terminalText(text) + '\n';
}

std::string answerText(MessageAnswer button) {
    return button == MessageAnswer::Yes ? "> yes\n" : "> no\n";
}

} // namespace

void ScriptedTraceHost::print(const std::string& text) {
    if (bounds_.mayPrint(text.size())) {
        out_ << text;
    }
}

void ScriptedTraceHost::showBox(std::u32string_view text, std::u32string_view title,
                                MessageButtons buttons, MessageAnswer button) {
    if (!options_.json) {
        print(boxText(text, title) + (buttons == MessageButtons::Ok ? "" : answerText(button)));
        return;
    }
    RunLog::Box box{
        RunBox::Kind::Message, platform::toUtf8(title), platform::toUtf8(text), buttons, button,
        std::nullopt};
    if (bounds_.mayPrint(box.title.size() + box.text.size())) {
        log_.boxes.push_back(std::move(box));
    }
}

void ScriptedTraceHost::showDisplays(const TraceDisplays& displays) {
    // Only the waits are traced: the displays under a box or at the end of the run are the
    // final displays, printed once the run has ended.
    if (!options_.trace || session_ == nullptr || !session_->waiting()) {
        return;
    }
    std::string wait;
    if (const int marked = displays.markedLine(); marked > 0) {
        wait = "line " + std::to_string(marked) + ": " +
               terminalText(displays.markedListingLine()) + '\n';
    }
    print(wait + displayBlock(displays));
}

MessageAnswer ScriptedTraceHost::messageBox(std::u32string_view text, std::u32string_view title,
                                            MessageButtons buttons) {
    if (buttons == MessageButtons::Ok) {
        showBox(text, title, buttons, MessageAnswer::Ok);
        return MessageAnswer::Ok;
    }
    if (openedBox().purpose == RunBox::Purpose::StepQuestion) {
        // A run that reached a bound stops at the question without a word: the reason is
        // told once the run has ended.
        if (bounds_.stop(true) != RunStop::None) {
            return MessageAnswer::No;
        }
        if (session_ != nullptr && session_->countedSteps() < options_.maxSteps) {
            return MessageAnswer::Yes;
        }
        showBox(text, title, buttons, MessageAnswer::No);
        return MessageAnswer::No;
    }
    const bool yes = nextAnswer_ < options_.answers.size() ? options_.answers[nextAnswer_++] : true;
    const MessageAnswer answer = yes ? MessageAnswer::Yes : MessageAnswer::No;
    showBox(text, title, buttons, answer);
    return answer;
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
    if (!options_.json) {
        print(boxText(prompt, title) + "> " + terminalText(answer.value_or(std::u32string{})) +
              '\n');
        return answer;
    }
    RunLog::Box box{RunBox::Kind::Input, platform::toUtf8(title), platform::toUtf8(prompt),
                    MessageButtons::Ok,  MessageAnswer::Ok,       std::nullopt};
    if (answer) {
        box.input = platform::toUtf8(*answer);
    }
    if (bounds_.mayPrint(box.title.size() + box.text.size() + box.input.value_or("").size())) {
        log_.boxes.push_back(std::move(box));
    }
    return answer;
}

std::string displayBlock(const TraceDisplays& displays) {
    // Before the run's first refresh the window still shows its start-up texts.
    const DisplayTexts initial = initialDisplayTexts();
    const bool refreshed = displays.refreshed();
    std::string block;
    for (int i = 0; i < 8; ++i) {
        block += "GR" + std::to_string(i) + ' ' +
                 terminalText(refreshed ? displays.registerRow(i)
                                        : initial.registers[static_cast<std::size_t>(i)]) +
                 '\n';
    }
    block += terminalText(displays.programRegister()) + '\n' +
             terminalText(refreshed ? displays.stackPointer() : initial.sp) + '\n' +
             terminalText(displays.flags()) + '\n' + terminalText(displays.objectCode()) + '\n' +
             "Stack Area\n" + terminalText(refreshed ? displays.stackArea() : initial.stackArea) +
             "Data Area\n" + terminalText(refreshed ? displays.dataArea() : initial.dataArea);
    return block;
}

} // namespace casl::cli
