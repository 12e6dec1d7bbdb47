#include "shell/trace_wiring.h"

#include "platform/qt/input_box.h"
#include "platform/qt/message_box.h"
#include "platform/qt/qt_text.h"
#include "platform/qt/twips.h"
#include "shell/editor_text.h"
#include "shell/form1.h"

namespace casl {

void WindowTraceHost::showDisplays(const TraceDisplays& displays) {
    window_.showDisplays(displays);
}

MessageAnswer WindowTraceHost::messageBox(std::u32string_view text, std::u32string_view title,
                                          MessageButtons buttons) {
    const auto answer = platform::qt::showMessageBox(
        &window_, platform::qt::toQString(widgetTextFromEditor(text)),
        platform::qt::toQString(title),
        buttons == MessageButtons::Ok ? platform::qt::MessageButtons::Ok
                                      : platform::qt::MessageButtons::YesNo);
    switch (answer) {
    case platform::qt::MessageAnswer::Yes:
        return MessageAnswer::Yes;
    case platform::qt::MessageAnswer::No:
        return MessageAnswer::No;
    default:
        return MessageAnswer::Ok;
    }
}

std::optional<std::u32string> WindowTraceHost::inputBox(std::u32string_view prompt,
                                                        std::u32string_view title,
                                                        std::u32string_view defaultText,
                                                        ScreenPosition position) {
    bool accepted = false;
    const QString text = platform::qt::showInputBox(
        &window_, platform::qt::toQString(prompt), platform::qt::toQString(title),
        platform::qt::toQString(defaultText),
        platform::qt::pointFromTwips(position.leftTwips, position.topTwips), &accepted);
    if (!accepted) {
        return std::nullopt;
    }
    return platform::qt::toU32(text);
}

void WindowTraceHost::traceEnded() {
    window_.endTrace();
}

} // namespace casl
