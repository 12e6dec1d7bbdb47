#include "cli/run_printer.h"

#include "cli/terminal_text.h"
#include "platform/text_codec.h"
#include "simulator/trace_displays.h"

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

void RunPrinter::print(const std::string& text) {
    if (bounds_.mayPrint(text.size())) {
        out_ << text;
        if (out_.fail()) {
            bounds_.outputLost();
        }
    }
}

void RunPrinter::showDisplays(const TraceDisplays& displays, bool waiting) {
    // Only the waits are traced: the displays under a box or at the end of the run are the
    // final displays, printed once the run has ended.
    if (!options_.trace || !waiting) {
        return;
    }
    std::string wait;
    if (const int marked = displays.markedLine(); marked > 0) {
        wait = "line " + std::to_string(marked) + ": " +
               terminalText(displays.markedListingLine()) + '\n';
    }
    print(wait + displayBlock(displays));
}

void RunPrinter::boxAnswered(const RunBox& box, const BoxAnswer& answer) {
    if (box.kind == RunBox::Kind::Input) {
        if (!options_.json) {
            print(boxText(box.text, box.title) + "> " +
                  terminalText(answer.input.value_or(std::u32string{})) + '\n');
            return;
        }
        RunLog::Box logged{RunBox::Kind::Input,        platform::toUtf8(box.title),
                           platform::toUtf8(box.text), MessageButtons::Ok,
                           MessageAnswer::Ok,          std::nullopt};
        if (answer.input) {
            logged.input = platform::toUtf8(*answer.input);
        }
        if (bounds_.mayPrint(logged.title.size() + logged.text.size() +
                             logged.input.value_or("").size())) {
            log_.boxes.push_back(std::move(logged));
        }
        return;
    }
    if (!options_.json) {
        print(boxText(box.text, box.title) +
              (box.buttons == MessageButtons::Ok ? "" : answerText(answer.button)));
        return;
    }
    RunLog::Box logged{RunBox::Kind::Message,
                       platform::toUtf8(box.title),
                       platform::toUtf8(box.text),
                       box.buttons,
                       answer.button,
                       std::nullopt};
    if (bounds_.mayPrint(logged.title.size() + logged.text.size())) {
        log_.boxes.push_back(std::move(logged));
    }
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
