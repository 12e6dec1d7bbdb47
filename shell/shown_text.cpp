#include "shell/shown_text.h"

#include "platform/qt/qt_text.h"
#include "shell/editor_text.h"

#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextBlock>
#include <vector>

namespace casl {
namespace {

/// Reads a text line by line; CR LF, a lone CR and a lone LF each end a line, as in the widget's
/// text (`widgetTextFromEditor`).
class LineReader {
public:
    explicit LineReader(std::u32string_view text) : text_(text) {}

    /// The next line; false after the last.
    bool next(std::u32string_view& line) {
        if (done_) {
            return false;
        }
        const std::size_t end = text_.find_first_of(U"\r\n", position_);
        if (end == std::u32string_view::npos) {
            line = text_.substr(position_);
            done_ = true;
            return true;
        }
        line = text_.substr(position_, end - position_);
        const bool crLf = text_[end] == U'\r' && end + 1 < text_.size() && text_[end + 1] == U'\n';
        position_ = end + (crLf ? 2 : 1);
        return true;
    }

private:
    std::u32string_view text_;
    std::size_t position_ = 0;
    bool done_ = false;
};

} // namespace

ShownText::ShownText(QPlainTextEdit& box) : box_(box) {
    // Whatever else changes the text makes what is known of it worthless.
    watch_ = QObject::connect(box_.document(), &QTextDocument::contentsChanged, &box_, [this] {
        if (!updating_) {
            shown_.reset();
        }
    });
}

// The box may outlive this (the window's members go before its child widgets).
ShownText::~ShownText() {
    QObject::disconnect(watch_);
}

void ShownText::show(std::u32string_view text) {
    if (shown_ && *shown_ == text) {
        return;
    }
    // The lines that differ, found in one pass over both texts.
    std::vector<std::pair<int, std::u32string_view>> changed;
    bool sameLines = shown_.has_value();
    int lines = 0;
    if (sameLines) {
        LineReader before(*shown_);
        LineReader after(text);
        std::u32string_view was;
        std::u32string_view is;
        for (;;) {
            const bool more = before.next(was);
            if (more != after.next(is)) {
                sameLines = false;
                break;
            }
            if (!more) {
                break;
            }
            if (was != is) {
                changed.emplace_back(lines, is);
            }
            ++lines;
        }
    }
    if (!sameLines || box_.document()->blockCount() != lines) {
        replaceAll(text);
        return;
    }
    updating_ = true;
    QTextCursor cursor(box_.document());
    cursor.beginEditBlock();
    for (const auto& [number, line] : changed) {
        const QTextBlock block = box_.document()->findBlockByNumber(number);
        cursor.setPosition(block.position());
        cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
        cursor.insertText(platform::qt::toQString(line));
    }
    cursor.endEditBlock();
    updating_ = false;
    shown_->assign(text);
}

void ShownText::replaceAll(std::u32string_view text) {
    QScrollBar* scroll = box_.verticalScrollBar();
    const int position = scroll->value();
    updating_ = true;
    box_.setPlainText(platform::qt::toQString(widgetTextFromEditor(text)));
    updating_ = false;
    scroll->setValue(position);
    shown_ = std::u32string(text);
}

} // namespace casl
