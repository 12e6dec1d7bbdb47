#pragma once

#include <QFont>
#include <QString>

class QPrinter;
class QWidget;

namespace casl::platform::qt {

/// Shows the printer dialog for `printer`; when it is accepted, prints `text` in `font` and ends
/// the job. Cancel prints nothing. Returns whether a job was printed.
bool printTextWithDialog(QWidget* parent, QPrinter& printer, const QString& text,
                         const QFont& font);

/// Prints `text` in `font` on `printer` as one job (an empty text gives an empty job).
void printText(QPrinter& printer, const QString& text, const QFont& font);

} // namespace casl::platform::qt
