#include "platform/qt/text_printer.h"

#include <QPrintDialog>
#include <QPrinter>
#include <QTextDocument>
#include <QTextOption>

namespace casl::platform::qt {

bool printTextWithDialog(QWidget* parent, QPrinter& printer, const QString& text,
                         const QFont& font) {
    QPrintDialog dialog(&printer, parent);
    if (dialog.exec() != QDialog::Accepted) {
        return false;
    }
    printText(printer, text, font);
    return true;
}

void printText(QPrinter& printer, const QString& text, const QFont& font) {
    QTextDocument document;
    document.setDefaultFont(font);
    QTextOption option = document.defaultTextOption();
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    option.setTabStopDistance(QFontMetricsF(font).horizontalAdvance(QLatin1Char(' ')) * 8);
    document.setDefaultTextOption(option);
    document.setPlainText(text);
    document.print(&printer);
}

} // namespace casl::platform::qt
