#include "web/binding/page_view.h"

#include "platform/text_codec.h"
#include "web/binding/page_text.h"

namespace casl::web {

namespace {

std::string phaseName(WorkbenchPhase phase) {
    switch (phase) {
    case WorkbenchPhase::Assembled:
        return "assembled";
    case WorkbenchPhase::Tracing:
        return "tracing";
    case WorkbenchPhase::Editing:
        break;
    }
    return "editing";
}

std::string kindName(WorkbenchBox::Kind kind) {
    switch (kind) {
    case WorkbenchBox::Kind::Input:
        return "input";
    case WorkbenchBox::Kind::SaveName:
        return "saveName";
    case WorkbenchBox::Kind::OpenName:
        return "openName";
    case WorkbenchBox::Kind::Message:
        break;
    }
    return "message";
}

std::string purposeName(WorkbenchBox::Purpose purpose) {
    switch (purpose) {
    case WorkbenchBox::Purpose::SaveQuestion:
        return "saveQuestion";
    case WorkbenchBox::Purpose::SaveName:
        return "saveName";
    case WorkbenchBox::Purpose::SaveAsName:
        return "saveAsName";
    case WorkbenchBox::Purpose::OpenName:
        return "openName";
    case WorkbenchBox::Purpose::FileMessage:
        return "fileMessage";
    case WorkbenchBox::Purpose::RecoveryQuestion:
        return "recoveryQuestion";
    case WorkbenchBox::Purpose::ExerciseMessage:
        return "exerciseMessage";
    case WorkbenchBox::Purpose::RunBox:
        break;
    }
    return "run";
}

std::string utf8(std::u32string_view text) {
    return platform::toUtf8(text);
}

} // namespace

PageDisplays pageDisplays(const DisplayTexts& texts) {
    PageDisplays page;
    for (std::size_t i = 0; i < texts.registers.size(); ++i) {
        page.registers[i] = utf8(texts.registers[i]);
    }
    page.pc = utf8(texts.pc);
    page.sp = utf8(texts.sp);
    page.fr = utf8(texts.fr);
    page.obj = utf8(texts.obj);
    page.stackArea = pageTextFromCore(texts.stackArea);
    page.dataArea = pageTextFromCore(texts.dataArea);
    return page;
}

PageBox pageBox(const WorkbenchBox& box) {
    PageBox page;
    page.kind = kindName(box.kind);
    page.purpose = purposeName(box.purpose);
    page.text = pageTextFromCore(box.text);
    page.title = utf8(box.title);
    page.buttons = box.buttons == MessageButtons::YesNo ? "yesNo" : "ok";
    page.defaultButton = box.defaultButton == MessageAnswer::No ? "no" : "yes";
    page.defaultText = utf8(box.defaultText);
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

PageView pageView(const WorkbenchView& view) {
    PageView page;
    page.phase = phaseName(view.phase);
    page.windowCaption = utf8(view.windowCaption);
    page.fileName = utf8(view.fileName);
    page.modified = view.modified;
    page.assembleEnabled = view.assembleEnabled;
    page.traceEnabled = view.traceEnabled;
    page.traceDisabledReason = utf8(view.traceDisabledReason);
    page.runButtonsShown = view.runButtonsShown;
    page.nextEnabled = view.nextEnabled;
    page.endEnabled = view.endEnabled;
    page.stepBackEnabled = view.stepBackEnabled;
    page.stepBackTip = utf8(view.stepBackTip);
    page.clearEnabled = view.clearEnabled;
    page.fileMenuEnabled = view.fileMenuEnabled;
    page.overwriteSaveEnabled = view.overwriteSaveEnabled;
    page.dumpsShown = view.dumpsShown;
    page.breakpointShown = view.breakpointShown;
    page.breakpointCaption = utf8(view.breakpointCaption);
    page.breakpointLine = view.breakpointLine;
    page.breakpointMark = view.breakpointMark;

    page.editor.revision = static_cast<double>(view.editor.revision);
    page.editor.text = pageTextFromCore(view.editor.text);
    page.editor.locked = view.editor.locked;
    for (const LineFinding& finding : view.editor.findings) {
        PageFinding marked{finding.sourceLine, finding.line, {}};
        for (const std::u32string& message : finding.messages) {
            if (!marked.messages.empty()) {
                marked.messages += '\n';
            }
            marked.messages += utf8(message);
        }
        page.editor.findings.push_back(std::move(marked));
    }
    page.editor.executedLine = view.editor.executedLine;

    page.listing.revision = static_cast<double>(view.listing.revision);
    page.listing.text = pageTextFromCore(view.listing.text);
    page.listing.resultLine = utf8(view.listing.resultLine);
    page.listing.success = view.listing.success;
    page.listing.shown = view.listing.shown;

    page.displaysRevision = static_cast<double>(view.displaysRevision);
    page.displays = pageDisplays(view.displays);
    page.changes = view.changes;
    page.announcement = utf8(view.announcement);
    if (view.box) {
        page.box = pageBox(*view.box);
    }
    return page;
}

} // namespace casl::web
