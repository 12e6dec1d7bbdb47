#include "web/binding/page_trace.h"

#include "platform/text_codec.h"
#include "web/binding/page_text.h"

namespace casl::web {

PageDisplays pageDisplays(const DisplayTexts& texts, int markedLine) {
    PageDisplays page;
    for (std::size_t i = 0; i < texts.registers.size(); ++i) {
        page.registers[i] = platform::toUtf8(texts.registers[i]);
    }
    page.pc = platform::toUtf8(texts.pc);
    page.sp = platform::toUtf8(texts.sp);
    page.fr = platform::toUtf8(texts.fr);
    page.obj = platform::toUtf8(texts.obj);
    page.stackArea = pageTextFromCore(texts.stackArea);
    page.dataArea = pageTextFromCore(texts.dataArea);
    page.listing = pageTextFromCore(texts.listing);
    page.markedLine = markedLine;
    return page;
}

PageBox pageBox(const RunBox& box) {
    PageBox page;
    page.kind = box.kind == RunBox::Kind::Input ? "input" : "message";
    page.text = pageTextFromCore(box.text);
    page.title = platform::toUtf8(box.title);
    page.buttons = box.buttons == MessageButtons::YesNo ? "yesNo" : "ok";
    page.defaultText = platform::toUtf8(box.defaultText);
    page.leftTwips = box.position.leftTwips;
    page.topTwips = box.position.topTwips;
    return page;
}

BoxAnswer boxAnswer(const PageAnswer& answer) {
    BoxAnswer core;
    if (answer.button == "yes") {
        core.button = MessageAnswer::Yes;
    } else if (answer.button == "no") {
        core.button = MessageAnswer::No;
    }
    if (!answer.cancelled) {
        core.input = platform::fromUtf8(answer.input);
    }
    return core;
}

std::string stateName(TraceState state) {
    switch (state) {
    case TraceState::Waiting:
        return "waiting";
    case TraceState::Asking:
        return "asking";
    case TraceState::Ended:
        return "ended";
    case TraceState::NotStarted:
        return "notStarted";
    case TraceState::Running:
        break;
    }
    return "running";
}

std::string endingName(TraceEnding ending) {
    switch (ending) {
    case TraceEnding::EndButton:
        return "endButton";
    case TraceEnding::StepQuestion:
        return "stepQuestion";
    case TraceEnding::ProgramEnded:
        return "programEnded";
    case TraceEnding::RuntimeMessage:
        return "message";
    case TraceEnding::None:
        break;
    }
    return "";
}

} // namespace casl::web
