#pragma once

#include <QByteArray>
#include <QObject>
#include <QPalette>
#include <QRegion>
#include <QString>
#include <QWidget>

namespace casl {
class Form1;
}

namespace casl::test {

/// Japanese translation and font substitution, as the program sets them up.
void setUpApplication();

/// A child of `parent` with the object name `name`; fails the test when there is none.
template <typename T> T* child(const QObject* parent, const char* name) {
    return parent->findChild<T*>(QString::fromLatin1(name));
}

/// The bytes of a file ("" when it cannot be read).
QByteArray readBytes(const QString& path);
/// Writes bytes to a file, replacing it.
void writeBytes(const QString& path, const QByteArray& bytes);

/// Types `text` into the editor, key by key, as a user would.
void typeIntoEditor(casl::Form1& window, const QString& text);
/// Clicks into the editor on the 1-based `line`, as the mouse does (the window must be shown).
void clickOnLine(casl::Form1& window, int line);
/// Replaces the editor text as the user would by pasting it.
void pasteIntoEditor(casl::Form1& window, const QString& text);

/// Shows the window, pastes `program` and assembles it; the assembly must enable Trace.
void assembleAndShow(casl::Form1& window, const QString& program);
/// The editor line that carries the execution mark (1-based), 0 when none does.
int markedEditorLine(const casl::Form1& window);

/// A dark desktop palette, and Fusion's light one, for checking that colours stay legible.
QPalette darkPalette();
QPalette lightPalette();

/// The part of a widget that its paint events drew, from its creation on.
class PaintedRegion : public QObject {
public:
    explicit PaintedRegion(QWidget& widget);
    QRegion region;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

} // namespace casl::test
