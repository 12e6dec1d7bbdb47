// The editor's gutter, colours and marks, the listing's way back to the editor, the zoom and the
// example programs.

#include "assembler/line_findings.h"
#include "assembler/listing.h"
#include "platform/qt/qt_text.h"
#include "platform/source_file.h"
#include "shell/casl_highlighter.h"
#include "shell/change_label.h"
#include "shell/editor_marks.h"
#include "shell/examples_menu.h"
#include "shell/form1.h"
#include "shell/form2.h"
#include "shell/japanese_setup.h"
#include "shell/line_number_gutter.h"
#include "shell/source_editor.h"
#include "shell/zoom.h"

#include <QCoreApplication>
#include <QFile>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QToolButton>
#include <map>
#include <variant>

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
    marks_ = new EditorMarks(*source_, [this] { return breakpointLine_; });
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
    auto* examples = new ExamplesMenu(QStringLiteral("サンプル"), corner);
    examples->setFolder(findExamplesFolder(QCoreApplication::applicationDirPath()));
    connect(examples, &QMenu::aboutToShow, this, [this, examples] {
        for (QAction* item : examples->actions()) {
            item->setEnabled(item->isEnabled() && !traceActive_);
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

void Form1::showFindingsInEditor(const std::vector<LineFinding>& findings) {
    std::map<int, QStringList> errors;
    for (const LineFinding& finding : findings) {
        if (finding.sourceLine < 1) {
            continue;
        }
        QStringList& messages = errors[finding.sourceLine];
        for (const std::u32string& message : finding.messages) {
            messages.append(platform::qt::toQString(message));
        }
    }
    marks_->setErrors(std::move(errors));
}

void Form1::showListingLine(int listingLine) {
    const int line = programLineOfListingWindowLine(*tables_, listingLine);
    if (line == 0) {
        return;
    }
    // During a run the editor shows the program lines themselves, literal lines included.
    source_->moveCaretToLine(traceActive_ ? line : sourceLineOf(*tables_, line));
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

void Form1::openExample(const QString& path) {
    if (traceActive_ || sessionCalls_ > 0) {
        return;
    }
    auto source =
        platform::readSourceFile(std::filesystem::path(QFile::encodeName(path).toStdString()));
    if (const auto* error = std::get_if<platform::FileError>(&source)) {
        ask(platform::qt::toQString(error->message), QString::fromUtf8(applicationTitle),
            platform::qt::MessageButtons::Ok);
        return;
    }
    newFile();
    // New keeps the program when the save it asked for failed; the example must not replace it.
    if (!source_->editorText().empty()) {
        return;
    }
    setEditorTextByProgram(std::get<platform::SourceText>(source).text);
}

} // namespace casl
