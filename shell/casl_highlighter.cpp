#include "shell/casl_highlighter.h"

#include "shell/source_editor.h"
#include "simulator/display_texts.h"

#include <QEvent>
#include <QSignalBlocker>

namespace casl {

CaslHighlighter::CaslHighlighter(SourceEditor& editor)
    : QSyntaxHighlighter(editor.document()), editor_(editor), traceListing_(editor.isReadOnly()) {
    setObjectName(QStringLiteral("caslHighlighter"));
    takeColours();
    editor_.installEventFilter(this);
}

void CaslHighlighter::takeColours() {
    const EditorColours colours = editorColours(editor_.palette());
    for (std::size_t k = 0; k < formats_.size(); ++k) {
        formats_[k] = tokenFormat(static_cast<TokenKind>(k), colours);
    }
}

void CaslHighlighter::highlightBlock(const QString& text) {
    const std::u32string line = text.toStdU32String();
    // The listing's prefix is ASCII: as many UTF-16 units as characters.
    const std::size_t skipped = traceListing_ ? markedListingPrefixLength(line) : 0;
    for (const LineToken& token : lineTokensInUtf16(std::u32string_view(line).substr(skipped))) {
        if (token.kind != TokenKind::separator && token.kind != TokenKind::name) {
            setFormat(static_cast<int>(skipped + token.start), static_cast<int>(token.length),
                      formatOf(token.kind));
        }
    }
}

bool CaslHighlighter::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &editor_) {
        if (event->type() == QEvent::ReadOnlyChange) {
            // The text that follows the lock is the trace listing, the text that follows the
            // unlock the program again; both arrive as new text and are coloured then.
            traceListing_ = editor_.isReadOnly();
        } else if (event->type() == QEvent::PaletteChange) {
            takeColours();
            // Colouring is no change of the text: the editor must not hear of one.
            const QSignalBlocker quiet(document());
            rehighlight();
        }
    }
    return QSyntaxHighlighter::eventFilter(watched, event);
}

} // namespace casl
