#include "shell/editor_colours.h"

#include <QFont>
#include <algorithm>
#include <cmath>
#include <initializer_list>

namespace casl {

namespace {

/// Normal text needs 4.5:1; dimmed text such as comments and line numbers 3:1.
constexpr double textContrast = 4.5;
constexpr double dimContrast = 3.0;

double channel(double value) {
    value /= 255.0;
    return value <= 0.04045 ? value / 12.92 : std::pow((value + 0.055) / 1.055, 2.4);
}

double luminance(const QColor& c) {
    const QColor rgb = c.toRgb();
    return 0.2126 * channel(rgb.red()) + 0.7152 * channel(rgb.green()) +
           0.0722 * channel(rgb.blue());
}

QColor mix(const QColor& a, const QColor& b, double share) {
    const QColor x = a.toRgb();
    const QColor y = b.toRgb();
    const auto blend = [share](int from, int to) {
        return static_cast<int>(std::lround(from + (to - from) * share));
    };
    return QColor(blend(x.red(), y.red()), blend(x.green(), y.green()), blend(x.blue(), y.blue()));
}

/// How far a syntax colour's hue keeps from the red of errors.
constexpr int redDistance = 30;

/// `wanted`, made darker (or lighter) keeping its hue until it reaches `ratio` on every one of
/// `backgrounds`.
QColor legibleOnAll(const QColor& wanted, bool darker, std::initializer_list<QColor> backgrounds,
                    double ratio) {
    const auto legible = [&](const QColor& colour) {
        return std::all_of(backgrounds.begin(), backgrounds.end(), [&](const QColor& background) {
            return contrastRatio(colour, background) >= ratio;
        });
    };
    QColor colour = wanted.toHsl();
    for (int step = 0; step < 64 && !legible(colour); ++step) {
        const int lightness = std::clamp(colour.lightness() + (darker ? -6 : 6), 0, 255);
        colour = QColor::fromHsl(colour.hslHue(), colour.hslSaturation(), lightness);
    }
    return colour.toRgb();
}

/// Whether text on `background` is made darker, not lighter, to be legible.
bool darkerOn(const QColor& background) {
    return luminance(background) > 0.18;
}

/// `wanted`, legible on the base and on the executed line's tint of it: the tint keeps the
/// normal text legible, so both lie on the same side and the same direction serves both.
QColor legibleOnBoth(const QColor& wanted, const QColor& base, const QColor& tint, double ratio) {
    return legibleOnAll(wanted, darkerOn(base), {base, tint}, ratio);
}

/// The link colour's hue turned by `degrees`, kept clear of the errors' red, as saturated as a
/// link and legible on `base` and on the executed line's `tint`.
QColor turned(const QColor& link, int degrees, const QColor& base, const QColor& tint) {
    const QColor hsl = link.toHsl();
    int hue = ((hsl.hslHue() < 0 ? 240 : hsl.hslHue()) + degrees) % 360;
    if (hue < redDistance || hue > 360 - redDistance) {
        hue = hue < 180 ? redDistance : 360 - redDistance;
    }
    const int saturation = std::max(hsl.hslSaturation(), 160);
    return legibleOnBoth(QColor::fromHsl(hue, saturation, hsl.lightness()), base, tint,
                         textContrast);
}

} // namespace

double contrastRatio(const QColor& a, const QColor& b) {
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QColor legibleOn(const QColor& wanted, const QColor& background, double ratio) {
    return legibleOnAll(wanted, darkerOn(background), {background}, ratio);
}

QColor resultBackground(const QColor& colour, const QPalette& palette) {
    QColor best = palette.color(QPalette::Active, QPalette::Window);
    for (const auto role : {QPalette::Base, QPalette::WindowText, QPalette::Text}) {
        const QColor candidate = palette.color(QPalette::Active, role);
        if (contrastRatio(candidate, colour) > contrastRatio(best, colour)) {
            best = candidate;
        }
    }
    return legibleOn(best, colour, textContrast);
}

EditorColours editorColours(const QPalette& palette) {
    EditorColours c;
    c.text = palette.color(QPalette::Active, QPalette::Text);
    c.base = palette.color(QPalette::Active, QPalette::Base);
    // As light a tint of the selection colour as keeps the text on it legible.
    const QColor highlight = palette.color(QPalette::Active, QPalette::Highlight);
    c.executedLine = mix(c.base, highlight, 0.4);
    for (double share = 0.4; share > 0.1 && contrastRatio(c.text, c.executedLine) < textContrast;
         share -= 0.05) {
        c.executedLine = mix(c.base, highlight, share);
    }

    // The tokens of a program line stay legible on the executed line too.
    const QColor link = palette.color(QPalette::Active, QPalette::Link);
    c.label = c.text;
    c.mnemonic = legibleOnBoth(link, c.base, c.executedLine, textContrast);
    // Hues evenly apart from the link's.
    c.registerName = turned(link, 72, c.base, c.executedLine);
    c.number = turned(link, 144, c.base, c.executedLine);
    c.character = turned(link, 216, c.base, c.executedLine);
    c.literal = turned(link, 288, c.base, c.executedLine);
    c.comment = legibleOn(mix(c.text, c.base, 0.45), c.base, dimContrast);

    c.gutterBackground = mix(c.base, palette.color(QPalette::Active, QPalette::Window), 0.6);
    c.gutterNumber =
        legibleOn(mix(c.text, c.gutterBackground, 0.4), c.gutterBackground, dimContrast);
    return c;
}

ChangeColours changeColours(const QPalette& palette, QPalette::ColorRole backgroundRole,
                            QPalette::ColorRole textRole) {
    const QColor background = palette.color(QPalette::Active, backgroundRole);
    const QColor highlight = palette.color(QPalette::Active, QPalette::Highlight);
    const QColor normalText = palette.color(QPalette::Active, textRole);
    const QColor selectedText = palette.color(QPalette::Active, QPalette::HighlightedText);
    const auto betterText = [&](const QColor& on) {
        return contrastRatio(normalText, on) >= contrastRatio(selectedText, on) ? normalText
                                                                                : selectedText;
    };
    // Strong enough to be seen at a glance, and not the selection colour itself.
    for (double share = 0.6; share > 0.2; share -= 0.05) {
        const QColor tint = mix(background, highlight, share);
        const QColor text = betterText(tint);
        if (contrastRatio(text, tint) >= textContrast) {
            return {tint, text};
        }
    }
    return {highlight, legibleOn(betterText(highlight), highlight, textContrast)};
}

QTextCharFormat tokenFormat(TokenKind kind, const EditorColours& colours) {
    QTextCharFormat format;
    switch (kind) {
    case TokenKind::label:
        format.setForeground(colours.label);
        format.setFontWeight(QFont::Bold);
        break;
    case TokenKind::mnemonic:
        format.setForeground(colours.mnemonic);
        format.setFontWeight(QFont::Bold);
        break;
    case TokenKind::unknownMnemonic:
        // Not the mnemonic colour, and underlined: the assembler will not know it.
        format.setForeground(colours.text);
        format.setUnderlineStyle(QTextCharFormat::DashUnderline);
        format.setUnderlineColor(colours.text);
        break;
    case TokenKind::registerName:
        format.setForeground(colours.registerName);
        break;
    case TokenKind::decimal:
    case TokenKind::hexadecimal:
        format.setForeground(colours.number);
        break;
    case TokenKind::literal:
        format.setForeground(colours.literal);
        break;
    case TokenKind::character:
        format.setForeground(colours.character);
        break;
    case TokenKind::comment:
        format.setForeground(colours.comment);
        break;
    case TokenKind::ignored:
        // The assembler drops it: shown dim and struck through.
        format.setForeground(colours.comment);
        format.setFontStrikeOut(true);
        break;
    case TokenKind::name:
    case TokenKind::separator:
        break;
    }
    return format;
}

} // namespace casl
