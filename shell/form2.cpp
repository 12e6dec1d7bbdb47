#include "shell/form2.h"

#include "platform/qt/text_printer.h"
#include "platform/qt/twips.h"
#include "shell/accessible_texts.h"
#include "shell/editor_colours.h"
#include "shell/focus_frame_style.h"
#include "shell/japanese_setup.h"
#include "shell/line_activation.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>

namespace casl {

Form2::Form2(QWidget* mainWindow)
    : QWidget(nullptr, Qt::Window), mainWindow_(mainWindow), text1_(new QPlainTextEdit(this)),
      label1_(new QLabel(this)), command1_(new QPushButton(QStringLiteral("Print"), this)),
      command2_(new QPushButton(QStringLiteral("Back"), this)) {
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("Assemble Result"));
    text1_->setObjectName(QStringLiteral("Text1"));
    label1_->setObjectName(QStringLiteral("Label1"));
    command1_->setObjectName(QStringLiteral("Command1"));
    command2_->setObjectName(QStringLiteral("Command2"));
    describeListingWindow(*this);

    text1_->setReadOnly(true);
    text1_->setStyle(new FocusFrameStyle(text1_));
    text1_->setLineWrapMode(QPlainTextEdit::NoWrap);
    text1_->setFont(gothicFont(10.5));
    text1_->setTabStopDistance(QFontMetricsF(text1_->font()).horizontalAdvance(QLatin1Char(' ')) *
                               8);
    label1_->setFont(gothicFont(14));
    // The result's green or red stands on a background of its own, on which it is legible.
    label1_->setAutoFillBackground(true);
    label1_->setMargin(3);

    connect(command1_, &QPushButton::clicked, this, &Form2::printListing);
    connect(command2_, &QPushButton::clicked, this, &Form2::backToMain);
    // The keyboard's way back, as a dialog's Escape.
    connect(new QShortcut(QKeySequence(Qt::Key_Escape), this), &QShortcut::activated, this,
            &Form2::backToMain);
    connect(new LineActivation(*text1_), &LineActivation::activated, this,
            &Form2::listingLineActivated);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(label1_);
    bottom->addStretch(1);
    bottom->addWidget(command1_);
    bottom->addWidget(command2_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text1_, 1);
    layout->addLayout(bottom);

    resize(640, 480);
    move(platform::qt::pointFromTwips(3800, 700));
}

void Form2::setListing(const QString& text) {
    text1_->setPlainText(text);
}

void Form2::setResult(const QString& caption, const QColor& colour) {
    label1_->setText(caption);
    setResultColour(colour);
}

void Form2::setResultColour(const QColor& colour) {
    QPalette palette = label1_->palette();
    palette.setColor(QPalette::WindowText, colour);
    palette.setColor(QPalette::Window, resultBackground(colour, QWidget::palette()));
    label1_->setPalette(palette);
}

void Form2::printListing() {
    platform::qt::printTextWithDialog(this, printer_, text1_->toPlainText(), gothicFont(12));
}

void Form2::backToMain() {
    // A minimised main window comes back as it was before, maximised or not.
    mainWindow_->setWindowState(mainWindow_->windowState() & ~Qt::WindowMinimized);
    mainWindow_->show();
    mainWindow_->raise();
    mainWindow_->activateWindow();
}

} // namespace casl
