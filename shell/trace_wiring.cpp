#include "shell/trace_wiring.h"

#include "platform/qt/input_box.h"
#include "platform/qt/message_box.h"
#include "platform/qt/qt_text.h"
#include "platform/qt/twips.h"
#include "shell/form1.h"
#include "workbench/editor_text.h"

#include <memory>

namespace casl {
namespace {

MessageAnswer fromQt(platform::qt::MessageAnswer answer) {
    switch (answer) {
    case platform::qt::MessageAnswer::Yes:
        return MessageAnswer::Yes;
    case platform::qt::MessageAnswer::No:
        return MessageAnswer::No;
    default:
        return MessageAnswer::Ok;
    }
}

} // namespace

void WindowTraceHost::showDisplays(const TraceDisplays& displays) {
    window_.showDisplays(displays);
}

std::optional<BoxAnswer> WindowTraceHost::boxOpened(const RunBox& box) {
    // A box answered while it opens (only a test does that) answers at once; the user's
    // answer comes later, from the event that closes the box.
    struct Opening {
        bool open = true;
        std::optional<BoxAnswer> answer;
    };
    auto opening = std::make_shared<Opening>();
    auto answered = [this, opening](BoxAnswer answer) {
        if (opening->open) {
            opening->answer = std::move(answer);
        } else {
            window_.answerRunBox(answer);
        }
    };
    if (box.kind == RunBox::Kind::Input) {
        platform::qt::openInputBox(
            &window_, platform::qt::toQString(box.text), platform::qt::toQString(box.title),
            platform::qt::toQString(box.defaultText),
            platform::qt::pointFromTwips(box.position.leftTwips, box.position.topTwips),
            [answered](std::optional<QString> text) {
                answered(
                    BoxAnswer{MessageAnswer::Ok,
                              text ? std::optional(platform::qt::toU32(*text)) : std::nullopt});
            });
    } else {
        platform::qt::openMessageBox(
            &window_, platform::qt::toQString(widgetTextFromEditor(box.text)),
            platform::qt::toQString(box.title),
            box.buttons == MessageButtons::Ok ? platform::qt::MessageButtons::Ok
                                              : platform::qt::MessageButtons::YesNo,
            [answered](platform::qt::MessageAnswer answer) {
                answered(BoxAnswer{fromQt(answer)});
            });
    }
    opening->open = false;
    return opening->answer;
}

void WindowTraceHost::traceEnded() {
    window_.endTrace();
}

} // namespace casl
