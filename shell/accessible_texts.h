#pragma once

class QWidget;

namespace casl {

/// Gives the controls of the main window (`Form1`) and of the listing window (`Form2`) the
/// names and descriptions a screen reader reads: the captions where they name the control,
/// what the display shows where a caption alone does not say it. Controls are found by their
/// object names (the arrays of labels by their index).
void describeMainWindow(QWidget& form1);
void describeListingWindow(QWidget& form2);

} // namespace casl
