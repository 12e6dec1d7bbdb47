#include "shell/shown_text.h"

#include "platform/qt/qt_text.h"
#include "workbench/editor_text.h"

#include <QAbstractTextDocumentLayout>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTextBlock>
#include <algorithm>
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
        // A plain scan: find_first_of on char32_t strings tests each character against the set
        // through a generic search, several times slower on the long dumps.
        const auto isBreak = [](char32_t c) { return c == U'\r' || c == U'\n'; };
        const auto found = std::find_if(text_.begin() + static_cast<std::ptrdiff_t>(position_),
                                        text_.end(), isBreak);
        const auto end = static_cast<std::size_t>(found - text_.begin());
        if (found == text_.end()) {
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
    // The plain-text layout takes a change whose removed and inserted characters together reach
    // past the line for a change of many lines, and asks for everything in view to be
    // repainted; so does every line the highlighter colours again. Its signals are held while
    // the lines are replaced, and only those lines are repainted: a step back through a long run
    // then costs two lines of the listing, not the whole listing.
    updating_ = true;
    QAbstractTextDocumentLayout* layout = box_.document()->documentLayout();
    const QSizeF size = layout->documentSize();
    std::vector<QTextBlock> blocks;
    {
        const QSignalBlocker quiet(layout);
        for (const auto& [number, line] : changed) {
            const QTextBlock block = box_.document()->findBlockByNumber(number);
            QTextCursor cursor(block);
            cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
            cursor.insertText(platform::qt::toQString(line));
            blocks.push_back(block);
        }
    }
    // The boxes do not wrap: a line is one row of the width of the box.
    for (const QTextBlock& block : blocks) {
        const QRect row = box_.cursorRect(QTextCursor(block));
        box_.viewport()->update(0, row.top() - 1, box_.viewport()->width(), row.height() + 2);
    }
    // What the held signals would have said of a longer longest line: the scroll bars follow.
    if (layout->documentSize() != size) {
        emit layout->documentSizeChanged(layout->documentSize());
    }
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
