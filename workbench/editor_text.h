#pragma once

#include <string>
#include <string_view>

namespace casl {

/// The editor text as the workbench speaks of it (lines separated by CR LF) from the text of the
/// editor widget, whose lines are separated by LF alone.
std::u32string editorTextFromWidget(std::u32string_view widgetText);

/// The widget's text for an editor text: CR LF, a lone CR and a lone LF each end a line.
std::u32string widgetTextFromEditor(std::u32string_view editorText);

/// A text as an editor holds it once it took it: CR LF, a lone CR and a lone LF each become
/// CR LF.
std::u32string editorTextOf(std::u32string_view text);

} // namespace casl
