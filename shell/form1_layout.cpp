// The main window's controls and menus, and its state right after start-up.

#include "platform/qt/help_viewer.h"
#include "platform/qt/qt_text.h"
#include "platform/qt/twips.h"
#include "platform/temp_folder.h"
#include "shell/accessible_texts.h"
#include "shell/announcement_label.h"
#include "shell/change_label.h"
#include "shell/default_button_style.h"
#include "shell/editor_keys.h"
#include "shell/explain_pane.h"
#include "shell/focus_frame_style.h"
#include "shell/form1.h"
#include "shell/form2.h"
#include "shell/frm_about.h"
#include "shell/japanese_setup.h"
#include "shell/shown_text.h"
#include "shell/source_editor.h"
#include "shell/trace_changes.h"
#include "workbench/key_commands.h"

#include <QAction>
#include <QCheckBox>
#include <QCoreApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QShortcut>
#include <QStatusBar>
#include <QTimer>
#include <QVBoxLayout>
#include <array>

namespace casl {

namespace {

// 14 pixels at 96 dots per inch: full-width glyphs exactly twice as wide as half-width ones.
constexpr double displayPointSize = 10.5;

template <typename Label = QLabel>
Label* makeLabel(QWidget* parent, const char* name, const QString& caption, bool fixedPitch) {
    auto* label = new Label(caption, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setTextFormat(Qt::PlainText);
    if (fixedPitch) {
        label->setFont(gothicFont(displayPointSize));
    }
    return label;
}

QPushButton* makeButton(QWidget* parent, const char* name, const QString& caption) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setAutoDefault(false);
    return button;
}

QPlainTextEdit* makeDump(QWidget* parent, const char* name, int columns) {
    auto* dump = new QPlainTextEdit(parent);
    dump->setObjectName(QString::fromLatin1(name));
    dump->setReadOnly(true);
    // With the focus a caret shows in it, and the arrow keys move through the rows.
    dump->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    // Nothing is ever undone in a dump; its texts change at every step.
    dump->setUndoRedoEnabled(false);
    dump->setLineWrapMode(QPlainTextEdit::NoWrap);
    dump->setFont(gothicFont(displayPointSize));
    const QFontMetrics metrics(dump->font());
    dump->setTabStopDistance(metrics.horizontalAdvance(QLatin1Char(' ')) * 8);
    dump->setMinimumWidth(metrics.horizontalAdvance(QString(columns, QLatin1Char('0'))) + 28);
    dump->setMinimumHeight(metrics.lineSpacing() * 8);
    return dump;
}

void keepPlaceWhenHidden(QWidget* widget) {
    QSizePolicy policy = widget->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    widget->setSizePolicy(policy);
}

QAction* addItem(QWidget* menu, QObject* owner, const char* name, const QString& caption,
                 const QKeySequence& shortcut = {}) {
    auto* action = new QAction(caption, owner);
    action->setObjectName(QString::fromLatin1(name));
    action->setShortcut(shortcut);
    menu->addAction(action);
    return action;
}

} // namespace

Form1::Form1(QWidget* parent)
    : QMainWindow(parent), model_(SessionServices{files_, &scratch_, &recovery_}) {
    setObjectName(QStringLiteral("Form1"));
    buildMenus();
    buildControls();
    buildEditorMarks();
    buildViewMenus();
    buildExercises();
    describeMainWindow(*this);
    render();
    helpFolder_ = platform::qt::findHelpFolder(QCoreApplication::applicationDirPath());
    move(platform::qt::pointFromTwips(10, 10));

    // Started by the first edit and not pushed back by the next ones, so that the kept text is
    // never older than the delay.
    recoveryTimer_ = new QTimer(this);
    recoveryTimer_->setObjectName(QStringLiteral("recoveryTimer"));
    recoveryTimer_->setSingleShot(true);
    recoveryTimer_->setInterval(recoveryDelayMilliseconds);
    connect(recoveryTimer_, &QTimer::timeout, this,
            [this] { model_.keepUnsavedText(editorText()); });
}

// However the window goes, its scratch files go with it; the recovery file goes with the member.
Form1::~Form1() {
    platform::removeTemporaryFolder();
}

void Form1::buildMenus() {
    QMenuBar* bar = menuBar();

    mnuFILE_ = bar->addMenu(QStringLiteral("ファイル(&F)"));
    mnuFILE_->setObjectName(QStringLiteral("mnuFILE"));
    mnuFILE_->menuAction()->setObjectName(QStringLiteral("mnuFILE"));
    connect(addItem(mnuFILE_, this, "mnuSinki", QStringLiteral("新規作成"),
                    QKeySequence(Qt::CTRL | Qt::Key_N)),
            &QAction::triggered, this, &Form1::newFile);
    connect(addItem(mnuFILE_, this, "mnuOPEN", QStringLiteral("開く(&O)"),
                    QKeySequence(Qt::CTRL | Qt::Key_O)),
            &QAction::triggered, this, &Form1::openFile);
    connect(addItem(mnuFILE_, this, "mnuSAVE", QStringLiteral("名前を付けて保存(&S)")),
            &QAction::triggered, this, &Form1::saveAs);
    connect(addItem(mnuFILE_, this, "mnuEXIT", QStringLiteral("終了(&X)")), &QAction::triggered,
            this, &Form1::exitProgram);

    mnuUwagaki_ = addItem(bar, this, "mnuUwagaki", QStringLiteral("上書き保存"));
    connect(mnuUwagaki_, &QAction::triggered, this, &Form1::overwriteSave);

    mnuEdit_ = bar->addMenu(QStringLiteral("編集(&E)"));
    mnuEdit_->setObjectName(QStringLiteral("mnuEdit"));
    mnuEdit_->menuAction()->setObjectName(QStringLiteral("mnuEdit"));
    // With the focus in the editor, the editor takes these keys itself (with the same effect).
    connect(addItem(mnuEdit_, this, "mnuEditUndo", QStringLiteral("元に戻す"),
                    QKeySequence(Qt::CTRL | Qt::Key_Z)),
            &QAction::triggered, this, &Form1::undoEdit);
    connect(addItem(mnuEdit_, this, "mnuCOPY", QStringLiteral("コピー(&C)"),
                    QKeySequence(Qt::CTRL | Qt::Key_C)),
            &QAction::triggered, this, &Form1::copySelection);
    connect(addItem(mnuEdit_, this, "mnuCUT", QStringLiteral("切り取り(&X)"),
                    QKeySequence(Qt::CTRL | Qt::Key_X)),
            &QAction::triggered, this, &Form1::cutSelection);
    connect(addItem(mnuEdit_, this, "mnuPASTE", QStringLiteral("貼り付け(&V)"),
                    QKeySequence(Qt::CTRL | Qt::Key_V)),
            &QAction::triggered, this, &Form1::pasteClipboard);
    connect(addItem(mnuEdit_, this, "mnuEditSelectAll", QStringLiteral("すべて選択"),
                    QKeySequence(Qt::CTRL | Qt::Key_A)),
            &QAction::triggered, this, &Form1::selectAll);

    mnuKomoji_ = addItem(bar, this, "mnuKomoji", QStringLiteral("小文字変換"));
    connect(mnuKomoji_, &QAction::triggered, this, &Form1::lowerCaseSelection);

    mnuHelp_ = bar->addMenu(QStringLiteral("ヘルプ(&H)"));
    mnuHelp_->setObjectName(QStringLiteral("mnuHelp"));
    mnuHelp_->menuAction()->setObjectName(QStringLiteral("mnuHelp"));
    connect(
        addItem(mnuHelp_, this, "mnuMokuji", QStringLiteral("目次(&C)"), QKeySequence(Qt::Key_F1)),
        &QAction::triggered, this, &Form1::showHelpContents);
    connect(addItem(mnuHelp_, this, "mnuVer", QStringLiteral("バージョン情報(&A)")),
            &QAction::triggered, this, &Form1::showVersion);
}

void Form1::buildControls() {
    auto* central = new QWidget(this);
    setCentralWidget(central);

    label2_ = makeLabel(central, "Label2", QStringLiteral("Source Program"), false);
    source_ = new SourceEditor(central);
    source_->setObjectName(QStringLiteral("source"));
    source_->setFont(gothicFont(displayPointSize));
    {
        const QFontMetrics metrics(source_->font());
        source_->setTabStopDistance(metrics.horizontalAdvance(QLatin1Char(' ')) * 8);
        source_->setMinimumWidth(metrics.horizontalAdvance(QString(56, QLatin1Char('0'))));
    }
    connect(source_, &SourceEditor::keyDown, this, &Form1::onEditorKeyDown);
    connect(source_, &SourceEditor::clicked, this, &Form1::onEditorClicked);
    connect(source_, &QPlainTextEdit::textChanged, this, &Form1::onEditorTextChanged);

    assemble_ = makeButton(central, "Assemble", QStringLiteral("Assemble"));
    trace_ = makeButton(central, "Trace", QStringLiteral("Trace"));
    command1_ = makeButton(central, "Command1", QStringLiteral("Next"));
    command1_->setStyle(new DefaultButtonStyle(command1_));
    command2_ = makeButton(central, "Command2", QStringLiteral("End"));
    command4_ = makeButton(central, "Command4", QStringLiteral("クリア"));
    stepBack_ = makeButton(central, "stepBack", QStringLiteral("戻る"));
    // A click leaves the focus where it was, so that Enter goes on pressing Next.
    stepBack_->setFocusPolicy(Qt::TabFocus);
    check1_ = new QCheckBox(QStringLiteral("簡易表示"), central);
    check1_->setObjectName(QStringLiteral("Check1"));
    connect(assemble_, &QPushButton::clicked, this, &Form1::assembleProgram);
    connect(trace_, &QPushButton::clicked, this, &Form1::startTrace);
    connect(command1_, &QPushButton::clicked, this, &Form1::nextStep);
    connect(command2_, &QPushButton::clicked, this, &Form1::endStep);
    connect(command4_, &QPushButton::clicked, this, &Form1::clearBreakpoint);
    connect(stepBack_, &QPushButton::clicked, this, &Form1::stepBack);
    // Its key acts at once (a button's own shortcut would wait for its click animation) and
    // repeats while held; it is enabled with the button.
    stepBackShortcut_ = new QShortcut(QKeySequence(stepBackKey), this);
    stepBackShortcut_->setObjectName(QStringLiteral("stepBackShortcut"));
    stepBackShortcut_->setEnabled(false);
    connect(stepBackShortcut_, &QShortcut::activated, this, [this] {
        if (keyCommand(model_.view(), RunKey::Backspace, false) == KeyCommand::StepBack) {
            stepBack();
        }
    });
    connect(check1_, &QCheckBox::toggled, this,
            [this](bool simple) { model_.setSimpleDisplay(simple); });
    keepPlaceWhenHidden(command1_);
    keepPlaceWhenHidden(command2_);
    keepPlaceWhenHidden(stepBack_);

    label5_ = makeLabel(central, "Label5", QStringLiteral("ブレークポイントを"), false);
    label6_ = makeLabel(central, "Label6", QString(), true);
    label7_ = makeLabel(central, "Label7", QStringLiteral("行に設定します"), false);
    label6_->setMinimumWidth(
        QFontMetrics(label6_->font()).horizontalAdvance(QStringLiteral("0000")));
    label6_->setAlignment(Qt::AlignCenter);
    for (QLabel* label : {label5_, label6_, label7_}) {
        keepPlaceWhenHidden(label);
    }

    const char* stackName = "Label4";
    label4_[0] = makeLabel(central, stackName, QStringLiteral("Stack Area"), false);
    label4_[1] = makeLabel(central, stackName, QStringLiteral("Data Area"), false);
    label4_[2] = makeLabel(central, stackName,
                           QStringLiteral("　　　　2進数　　　　　16進数　10進数"), true);
    for (int i = 0; i < 3; ++i) {
        label4_[i]->setProperty("index", i);
    }

    static constexpr std::array valueNames{"GR0", "gr1", "gr2", "gr3", "GR4", "gr5", "gr6", "gr7"};
    for (int i = 0; i < 8; ++i) {
        // The register names are two control arrays of four.
        registerNames_[i] =
            makeLabel(central, i < 4 ? "Label1" : "Label3", QStringLiteral("GR%1").arg(i), true);
        registerNames_[i]->setProperty("index", i % 4);
        registerValues_[i] = makeLabel<ChangeLabel>(central, valueNames[i], QString(), true);
        registerValues_[i]->setMinimumWidth(QFontMetrics(registerValues_[i]->font())
                                                .horizontalAdvance(QString(36, QLatin1Char('0'))));
    }
    pc_ = makeLabel<ChangeLabel>(central, "pc", QString(), true);
    sp_ = makeLabel<ChangeLabel>(central, "sp", QString(), true);
    fr_ = makeLabel<ChangeLabel>(central, "fr", QString(), true);
    obj_ = makeLabel(central, "obj", QString(), true);

    text1_ = makeDump(central, "Text1", 30);
    text2_ = makeDump(central, "Text2", 16);
    for (QWidget* widget :
         std::initializer_list<QWidget*>{text1_, text2_, label4_[0], label4_[1]}) {
        keepPlaceWhenHidden(widget);
    }
    shownDataArea_ = std::make_unique<ShownText>(*text1_);
    shownStackArea_ = std::make_unique<ShownText>(*text2_);
    shownListing_ = std::make_unique<ShownText>(*source_);
    traceChanges_ =
        new TraceChanges(ChangeDisplays{registerValues_, pc_, sp_, fr_, text1_, text2_}, this);
    explainPane_ = new ExplainPane(
        model_, ExplainedDisplays{{registerValues_, pc_, sp_, fr_, text1_, text2_}, traceChanges_},
        [this](std::function<void(Workbench&)> f) { command([&] { f(model_); }); }, this);
    addDockWidget(Qt::RightDockWidgetArea, explainPane_);
    // The window opens as it always has; 表示 shows the pane to whoever wants it.
    explainPane_->hide();

    for (QPlainTextEdit* text : {static_cast<QPlainTextEdit*>(source_), text1_, text2_}) {
        text->setStyle(new FocusFrameStyle(text));
    }
    // Tab goes through the controls in the order in which they stand: 戻る before Next.
    const std::array<QWidget*, 10> tabOrder{source_,   assemble_, trace_,  stepBack_, command1_,
                                            command2_, command4_, check1_, text1_,    text2_};
    for (std::size_t i = 1; i < tabOrder.size(); ++i) {
        setTabOrder(tabOrder[i - 1], tabOrder[i]);
    }

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(assemble_);
    buttons->addWidget(trace_);
    buttons->addStretch();
    buttons->addWidget(stepBack_);
    buttons->addWidget(command1_);
    buttons->addWidget(command2_);

    auto* breakpoint = new QHBoxLayout;
    breakpoint->addWidget(label5_);
    breakpoint->addWidget(label6_);
    breakpoint->addWidget(label7_);
    breakpoint->addStretch();
    breakpoint->addWidget(command4_);

    auto* registers = new QGridLayout;
    registers->setHorizontalSpacing(8);
    registers->setVerticalSpacing(2);
    registers->addWidget(label4_[2], 0, 1);
    for (int i = 0; i < 8; ++i) {
        registers->addWidget(registerNames_[i], i + 1, 0);
        registers->addWidget(registerValues_[i], i + 1, 1);
    }
    registers->setColumnStretch(1, 1);

    auto* machine = new QGridLayout;
    machine->setVerticalSpacing(2);
    machine->addWidget(pc_, 0, 0);
    machine->addWidget(sp_, 0, 1);
    machine->addWidget(fr_, 1, 0);
    machine->addWidget(obj_, 1, 1);
    machine->setColumnStretch(1, 1);

    auto* dumps = new QGridLayout;
    dumps->addWidget(label4_[1], 0, 0);
    dumps->addWidget(label4_[0], 0, 1);
    dumps->addWidget(text1_, 1, 0);
    dumps->addWidget(text2_, 1, 1);
    dumps->setColumnStretch(0, 2);
    dumps->setColumnStretch(1, 1);
    dumps->setRowStretch(1, 1);

    auto* right = new QVBoxLayout;
    right->addLayout(buttons);
    right->addLayout(breakpoint);
    right->addWidget(check1_);
    right->addSpacing(6);
    right->addLayout(registers);
    right->addSpacing(4);
    right->addLayout(machine);
    right->addSpacing(6);
    right->addLayout(dumps, 1);

    auto* left = new QVBoxLayout;
    left->addWidget(label2_);
    left->addWidget(source_, 1);

    // The trace side scrolls when a zoom makes it larger than its place: zooming never makes
    // the window larger than it is (or than the screen).
    auto* machinePane = new QWidget;
    machinePane->setObjectName(QStringLiteral("machinePane"));
    right->setContentsMargins(0, 0, 0, 0);
    machinePane->setLayout(right);
    auto* machineScroll = new QScrollArea(central);
    machineScroll->setObjectName(QStringLiteral("machineScroll"));
    machineScroll->setFrameShape(QFrame::NoFrame);
    machineScroll->setFocusPolicy(Qt::NoFocus);
    machineScroll->setWidgetResizable(true);
    machineScroll->setWidget(machinePane);
    machineScroll->setMinimumSize(machinePane->minimumSizeHint());

    auto* layout = new QHBoxLayout(central);
    layout->addLayout(left, 1);
    layout->addWidget(machineScroll);

    announcement_ = new AnnouncementLabel(statusBar());
    statusBar()->addWidget(announcement_, 1);

    installEventFilter(this);
    source_->installEventFilter(this);
    // Installed last, so that it sees the editor's keys first.
    auto* editorKeys =
        new EditorKeys(*source_, [this](bool forward) { focusNextPrevChild(forward); });
    connect(editorKeys, &EditorKeys::breakpointKey, this, &Form1::onEditorClicked);
    resize(1000, 700);
}

} // namespace casl
