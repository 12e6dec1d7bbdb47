#include "shell/casl_highlighter.h"

#include "shell/source_editor.h"

#include <QEvent>
#include <QSignalBlocker>

namespace casl {

int traceListingPrefixLength(const QString& line) {
    static const QString marked = QStringLiteral(">>>>>> \t");
    if (line.startsWith(marked)) {
        return static_cast<int>(marked.size());
    }
    return line.startsWith(QLatin1Char('\t')) ? 1 : 0;
}

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
    const int skipped = traceListing_ ? traceListingPrefixLength(text) : 0;
    const std::u32string line = QStringView(text).mid(skipped).toString().toStdU32String();
    // Token positions count characters; the block counts UTF-16 units.
    int unit = skipped;
    std::size_t character = 0;
    for (const LineToken& token : lineTokens(line)) {
        for (; character < token.start; ++character) {
            unit += line[character] > 0xFFFF ? 2 : 1;
        }
        const int start = unit;
        for (; character < token.start + token.length; ++character) {
            unit += line[character] > 0xFFFF ? 2 : 1;
        }
        if (token.kind != TokenKind::separator && token.kind != TokenKind::name) {
            setFormat(start, unit - start, formatOf(token.kind));
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
