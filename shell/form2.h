#pragma once

#include <QPrinter>
#include <QWidget>

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace casl {

/// The listing window "Assemble Result": the listing or error list of the last assembly, its
/// one-line result, Print and Back.
class Form2 : public QWidget {
    Q_OBJECT

public:
    /// `mainWindow` is the window that Back brings to the front.
    explicit Form2(QWidget* mainWindow);

    /// Shows the listing window's text (`Text1`).
    void setListing(const QString& text);
    /// Sets the result line (`Label1`) and its colour.
    void setResult(const QString& caption, const QColor& colour);
    /// Sets only the colour of the result line.
    void setResultColour(const QColor& colour);

    /// The printer that Print uses; a test points it at a PDF file.
    QPrinter& printer() { return printer_; }

    /// Print (`Command1`): the printer dialog, then the listing in "ＭＳ ゴシック" 12 points.
    /// Cancel prints nothing and says nothing.
    void printListing();
    /// Back (`Command2`, or Escape): brings the main window to the front, also from the task
    /// bar; this window stays.
    void backToMain();

signals:
    /// A line of the listing (`Text1`, 0-based) was clicked, or Enter was pressed on it.
    void listingLineActivated(int line);

private:
    QWidget* mainWindow_;
    QPlainTextEdit* text1_;
    QLabel* label1_;
    QPushButton* command1_;
    QPushButton* command2_;
    QPrinter printer_;
};

} // namespace casl
