#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace casl {

class TraceDisplays;

/// The buttons a message box of the run offers.
enum class MessageButtons { Ok, YesNo };
/// The button that closed a message box.
enum class MessageAnswer { Ok, Yes, No };

/// A position on the screen in twips from its top-left corner.
struct ScreenPosition {
    int leftTwips = 0;
    int topTwips = 0;
};

/// What a trace run needs from its surroundings: the window implements it with widgets, the
/// `casl2 run` command and the tests with scripted answers. Every call is synchronous.
class TraceHost {
public:
    virtual ~TraceHost() = default;

    /// The run is about to wait for Next/End, to ask, or to end: show `displays` (the texts of
    /// the last refresh, and `pc`/`obj` as the last instruction set them). While the run goes
    /// on towards a breakpoint this is not called, so nothing is built or painted then.
    /// `displays` is valid only during the call.
    virtual void showDisplays(const TraceDisplays& displays) = 0;

    /// Called at every refresh of the displays, also while the run goes on without waiting.
    /// A host that only paints when the run waits, asks or ends leaves it alone; building
    /// texts here costs time on every step. `displays` is valid only during the call.
    virtual void displaysRefreshed(const TraceDisplays& displays) { static_cast<void>(displays); }

    /// A modal message box with `text` (CR LF line ends), `title` and `buttons`; the first
    /// button is the default. Returns the button pressed.
    virtual MessageAnswer messageBox(std::u32string_view text, std::u32string_view title,
                                     MessageButtons buttons) = 0;

    /// A modal input box; returns the text typed, or nothing when it was cancelled.
    virtual std::optional<std::u32string> inputBox(std::u32string_view prompt,
                                                   std::u32string_view title,
                                                   std::u32string_view defaultText,
                                                   ScreenPosition position) = 0;

    /// The run has ended: the window restores itself (buttons, menus, the program text).
    virtual void traceEnded() = 0;
};

} // namespace casl
