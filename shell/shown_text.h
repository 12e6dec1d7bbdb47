#pragma once

#include <QMetaObject>
#include <optional>
#include <string>
#include <string_view>

class QPlainTextEdit;

namespace casl {

/// What a text box of the trace shows (a dump, or the editor's marked listing), brought up to
/// date line by line: when a new text has as many lines as the one shown, only the lines that
/// differ are replaced, so that a step that changes one data word or moves the execution mark
/// does not lay out and colour the whole text again. A first text, another number of lines, or
/// a text that something else put into the box replaces the whole text, keeping the part in
/// view. Either way the box then holds exactly the new text.
class ShownText {
public:
    explicit ShownText(QPlainTextEdit& box);
    ~ShownText();
    ShownText(const ShownText&) = delete;
    ShownText& operator=(const ShownText&) = delete;

    /// Shows `text` (lines end in CR LF, as the core writes them).
    void show(std::u32string_view text);

private:
    void replaceAll(std::u32string_view text);

    QPlainTextEdit& box_;
    /// The text this put into the box (as given to `show`); nothing when it is not known.
    std::optional<std::u32string> shown_;
    bool updating_ = false;
    QMetaObject::Connection watch_;
};

} // namespace casl
