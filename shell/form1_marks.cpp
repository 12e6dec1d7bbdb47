// The editor's gutter, colours and marks, the listing's way back to the editor, the zoom and the
// example programs.

#include "shell/casl_highlighter.h"
#include "shell/change_label.h"
#include "shell/editor_marks.h"
#include "shell/examples_menu.h"
#include "shell/explain_pane.h"
#include "shell/form1.h"
#include "shell/form2.h"
#include "shell/japanese_setup.h"
#include "shell/line_number_gutter.h"
#include "shell/source_editor.h"
#include "shell/zoom.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QToolButton>

namespace casl {

namespace {

QToolButton* makeMenuButton(QWidget* parent, const char* name, const QString& caption,
                            QMenu* menu) {
    auto* button = new QToolButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setText(caption);
    button->setAutoRaise(true);
    button->setPopupMode(QToolButton::InstantPopup);
    button->setToolButtonStyle(Qt::ToolButtonTextOnly);
    button->setMenu(menu);
    return button;
}

} // namespace

void Form1::buildEditorMarks() {
    marks_ = new EditorMarks(*source_, [this] { return model_.view().breakpointMark; });
    auto* gutter = new LineNumberGutter(*source_, *marks_);
    // A click beside a line chooses as a click on the line does.
    connect(gutter, &LineNumberGutter::lineClicked, this, [this](int line) {
        source_->moveCaretToLine(line);
        onEditorClicked();
    });
    new CaslHighlighter(*source_);
}

void Form1::buildViewMenus() {
    zoom_ = new Zoom(this);
    for (QWidget* widget : std::initializer_list<QWidget*>{source_, text1_, text2_, label4_[2], pc_,
                                                           sp_, fr_, obj_}) {
        zoom_->add(widget);
    }
    for (int i = 0; i < 8; ++i) {
        zoom_->add(registerNames_[i]);
        zoom_->add(registerValues_[i]);
    }
    zoom_->addShortcutsTo(this);

    // Beside the menu bar, whose own menus stay as they are.
    auto* corner = new QWidget(menuBar());
    auto* view = new QMenu(corner);
    view->setObjectName(QStringLiteral("viewMenu"));
    view->addActions({zoom_->zoomInAction(), zoom_->zoomOutAction(), zoom_->resetAction()});
    view->addSeparator();
    view->addAction(explainPane_->toggleViewAction());
    auto* examples = new ExamplesMenu(QStringLiteral("サンプル"), corner);
    examples->setFolder(findExamplesFolder(QCoreApplication::applicationDirPath()));
    connect(examples, &QMenu::aboutToShow, this, [this, examples] {
        for (QAction* item : examples->actions()) {
            item->setEnabled(item->isEnabled() && model_.view().fileMenuEnabled);
        }
    });
    connect(examples, &ExamplesMenu::exampleChosen, this, &Form1::openExample);
    auto* buttons = new QHBoxLayout(corner);
    buttons->setContentsMargins(0, 0, 0, 0);
    buttons->setSpacing(0);
    buttons->addWidget(
        makeMenuButton(corner, "examplesButton", QStringLiteral("サンプル(&P)"), examples));
    buttons->addWidget(makeMenuButton(corner, "viewButton", QStringLiteral("表示(&V)"), view));
    menuBar()->setCornerWidget(corner, Qt::TopRightCorner);
}

void Form1::showListingLine(int listingLine) {
    const int line = model_.editorLineOfListingLine(listingLine);
    if (line == 0) {
        return;
    }
    source_->moveCaretToLine(line);
    show();
    raise();
    activateWindow();
    source_->setFocus();
}

void Form1::watchListingWindow(Form2& listing) {
    if (auto* text = listing.findChild<QPlainTextEdit*>(QStringLiteral("Text1"))) {
        zoom_->add(text);
    }
    zoom_->addShortcutsTo(&listing);
    connect(&listing, &Form2::listingLineActivated, this, &Form1::showListingLine);
}

} // namespace casl
