#pragma once

#include "platform/message_buttons.h"

#include <optional>
#include <string>
#include <string_view>

namespace casl {

class TraceDisplays;

/// A position on the screen in twips from its top-left corner.
struct ScreenPosition {
    int leftTwips = 0;
    int topTwips = 0;
};

/// A box the run opened: a message box (a message, a question, the `OUT` text) or the `IN`
/// input box. The run goes on only once the box is answered.
struct RunBox {
    enum class Kind { Message, Input };
    /// What the box is for, so that a host answers it without reading its title.
    enum class Purpose {
        Message,         ///< A message: "Program終了", a run-time message, a warning.
        StepQuestion,    ///< The question after every 101 steps whether the run goes on.
        OperandQuestion, ///< The Yes/No question about an operand outside the data.
        Input,           ///< The `IN` input box.
        Output,          ///< The `OUT` box with the whole output so far.
    };
    Kind kind = Kind::Message;
    /// The message (CR LF line ends), or the input box's prompt.
    std::u32string text;
    std::u32string title;
    /// The buttons of a message box; the first is the default.
    MessageButtons buttons = MessageButtons::Ok;
    /// The text an input box starts with.
    std::u32string defaultText;
    /// Where an input box stands on the screen.
    ScreenPosition position;
    Purpose purpose = Purpose::Message;

    /// A message box.
    static RunBox message(std::u32string text, std::u32string_view title, MessageButtons buttons,
                          Purpose purpose = Purpose::Message) {
        return {Kind::Message, std::move(text), std::u32string(title), buttons, {}, {}, purpose};
    }
};

/// How a box was closed.
struct BoxAnswer {
    /// The button of a message box (Ok for the input box).
    MessageAnswer button = MessageAnswer::Ok;
    /// The text typed into the input box; nothing when it was cancelled.
    std::optional<std::u32string> input = std::nullopt;
};

/// What a trace run tells its surroundings: the window implements it with widgets, the
/// `casl2` command and the tests with scripted answers, a browser page through JavaScript.
/// No call ever waits for the user: a box is answered through the session.
class TraceHost {
public:
    virtual ~TraceHost() = default;

    /// The run is about to wait for Next/End, to open a box, or to end: show `displays` (the
    /// texts of the last refresh, and `pc`/`obj` as the last instruction set them). While the
    /// run goes on towards a breakpoint this is not called, so nothing is built or painted then.
    /// `displays` is valid only during the call.
    virtual void showDisplays(const TraceDisplays& displays) = 0;

    /// The run opened `box`. A host that knows the answer at once returns it and the run goes
    /// on. A host that shows the box returns nothing: the session then waits with the box
    /// pending (`TraceState::Asking`) until the host calls `TraceSession::answer` — later, never
    /// from inside this call.
    virtual std::optional<BoxAnswer> boxOpened(const RunBox& box) = 0;

    /// The run has ended: the window restores itself (buttons, menus, the program text).
    virtual void traceEnded() = 0;
};

/// A host that answers every box as it opens, through a call that returns the answer: scripted
/// runs and tests.
class AnsweringTraceHost : public TraceHost {
public:
    /// A message box with `text` (CR LF line ends), `title` and `buttons`; returns the button.
    virtual MessageAnswer messageBox(std::u32string_view text, std::u32string_view title,
                                     MessageButtons buttons) = 0;

    /// The input box; returns the text typed, or nothing when it was cancelled.
    virtual std::optional<std::u32string> inputBox(std::u32string_view prompt,
                                                   std::u32string_view title,
                                                   std::u32string_view defaultText,
                                                   ScreenPosition position) = 0;

    std::optional<BoxAnswer> boxOpened(const RunBox& box) final {
        opened_ = &box;
        if (box.kind == RunBox::Kind::Input) {
            return BoxAnswer{MessageAnswer::Ok,
                             inputBox(box.text, box.title, box.defaultText, box.position)};
        }
        return BoxAnswer{messageBox(box.text, box.title, box.buttons), std::nullopt};
    }

protected:
    /// The box being answered: valid during `messageBox` and `inputBox`.
    const RunBox& openedBox() const { return *opened_; }

private:
    const RunBox* opened_ = nullptr;
};

} // namespace casl
