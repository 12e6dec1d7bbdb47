#pragma once

#include "assembler/line_tokens.h"
#include "shell/editor_colours.h"

#include <QSyntaxHighlighter>
#include <array>

namespace casl {

class SourceEditor;

/// Colours the editor's lines by the assembler's own tokens (`lineTokens`), in colours taken
/// from the editor's palette. While a run locks the editor it shows the trace listing, whose
/// lines begin with the execution mark or a tab; the rest of such a line is coloured as source.
class CaslHighlighter : public QSyntaxHighlighter {
    Q_OBJECT

public:
    explicit CaslHighlighter(SourceEditor& editor);

    /// The format of a token of `kind` in the current palette.
    const QTextCharFormat& formatOf(TokenKind kind) const {
        return formats_[static_cast<std::size_t>(kind)];
    }
    /// Whether the lines are read as the trace listing (the editor is locked by a run).
    bool readsTraceListing() const { return traceListing_; }

protected:
    void highlightBlock(const QString& text) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void takeColours();

    SourceEditor& editor_;
    std::array<QTextCharFormat, static_cast<std::size_t>(TokenKind::ignored) + 1> formats_;
    bool traceListing_ = false;
};

} // namespace casl
