#pragma once

#include "assembler/line_tokens.h"

#include <QColor>
#include <QPalette>
#include <QTextCharFormat>

namespace casl {

/// The colour of a failed assembly: the listing window's result line shows "Assemble Error: N"
/// in it, the editor marks the lines in error with it, and the breakpoint's dot is drawn in it.
inline const QColor failureRed{255, 0, 0};
/// The colour of the listing window's result line after a clean assembly.
inline const QColor successGreen{0, 255, 0};

/// The background behind the listing window's result line in `colour` (the green or the red
/// above): the palette colour it reads best on, darkened or lightened until it reaches 4.5:1.
QColor resultBackground(const QColor& colour, const QPalette& palette);

/// The colours the editor draws with, all taken from a palette: the syntax colours turn the
/// hue of the palette's link colour and keep the contrast of normal text on the palette's base,
/// so that light and dark desktop themes both stay legible.
struct EditorColours {
    QColor text;
    QColor base;
    QColor label;
    QColor mnemonic;
    QColor registerName;
    QColor number;
    QColor literal;
    QColor character;
    QColor comment;
    /// The background of the line the trace has just executed.
    QColor executedLine;
    QColor gutterBackground;
    QColor gutterNumber;
};

EditorColours editorColours(const QPalette& palette);

/// How the trace displays draw what a step changed: a background of the palette's selection
/// hue, lighter or darker than a selection so that the two are told apart, and the text colour
/// that reads best on it (at least 4.5:1).
struct ChangeColours {
    QColor background;
    QColor text;
};

/// The change colours for a widget that draws `textRole` on `backgroundRole` of `palette`.
ChangeColours changeColours(const QPalette& palette, QPalette::ColorRole backgroundRole,
                            QPalette::ColorRole textRole);

/// How the editor shows a token of `kind`.
QTextCharFormat tokenFormat(TokenKind kind, const EditorColours& colours);

/// The contrast ratio of two colours (1 to 21), as the accessibility guidelines define it.
double contrastRatio(const QColor& a, const QColor& b);

/// `wanted`, made lighter or darker (keeping its hue) until it has at least `ratio` contrast
/// against `background`.
QColor legibleOn(const QColor& wanted, const QColor& background, double ratio);

} // namespace casl
