#pragma once

#include "simulator/trace_host.h"

#include <string>

namespace casl {

/// A box the working session has open. A front end shows it as its kind says and hands the
/// answer back (`Workbench::answer`); the session decides what follows from its purpose.
struct WorkbenchBox {
    enum class Kind {
        Message,  ///< A message box with `buttons`.
        Input,    ///< The `IN` input box.
        SaveName, ///< The save dialog: the answer's input is the chosen file, none: cancelled.
        OpenName, ///< The open dialog, answered alike.
    };
    /// What the box is for.
    enum class Purpose {
        RunBox,           ///< A box of the trace run (`run` says which).
        SaveQuestion,     ///< The save question (`texts::saveQuestion`).
        SaveName,         ///< The save dialog behind the save question.
        SaveAsName,       ///< The save dialog of 名前を付けて保存.
        OpenName,         ///< The open dialog of 開く.
        FileMessage,      ///< A file could not be read or written.
        RecoveryQuestion, ///< Unsaved text of an earlier session was found.
        ExerciseMessage,  ///< An exercise cannot be opened, or a case cannot be run.
    };

    Kind kind = Kind::Message;
    Purpose purpose = Purpose::RunBox;
    /// The message (CR LF line ends), or the input box's prompt.
    std::u32string text;
    std::u32string title;
    MessageButtons buttons = MessageButtons::Ok;
    /// The button of a Yes/No box that Enter presses: Yes, unless the run of an exercise's case
    /// suggests the case's answer No.
    MessageAnswer defaultButton = MessageAnswer::Yes;
    /// The text an input box starts with, or the name a file dialog starts at ("" for none).
    std::u32string defaultText;
    /// Where an input box stands on the screen.
    ScreenPosition position;
    /// The run's own box, for `Purpose::RunBox`.
    RunBox run;

    friend bool operator==(const WorkbenchBox& a, const WorkbenchBox& b) {
        return a.kind == b.kind && a.purpose == b.purpose && a.text == b.text &&
               a.title == b.title && a.buttons == b.buttons && a.defaultText == b.defaultText &&
               a.defaultButton == b.defaultButton;
    }
};

} // namespace casl
