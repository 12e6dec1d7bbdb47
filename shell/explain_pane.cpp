#include "shell/explain_pane.h"

#include "platform/text_codec.h"
#include "shell/change_label.h"
#include "shell/trace_changes.h"
#include "workbench/workbench.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFile>
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QHelpEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTextDocument>
#include <QToolTip>
#include <QVBoxLayout>

namespace casl {
namespace {

QString qt(std::u32string_view text) {
    return QString::fromStdU32String(std::u32string(text));
}

constexpr std::array<const char*, predictedValueCount> predictedNames = {
    "GR0", "GR1", "GR2", "GR3", "GR4", "GR5", "GR6", "GR7", "PR", "SP", "OF", "SF", "ZF"};

/// The mark of a prediction: a sign that reads without colour, and a colour of the palette.
void showMark(QLabel& mark, PredictionResult result) {
    switch (result) {
    case PredictionResult::Right:
        mark.setText(QStringLiteral("✓ 正"));
        mark.setForegroundRole(QPalette::Link);
        break;
    case PredictionResult::Wrong:
        mark.setText(QStringLiteral("✗ 誤"));
        mark.setForegroundRole(QPalette::WindowText);
        break;
    case PredictionResult::None:
        mark.clear();
        break;
    }
}

/// Names a control for screen readers by what it is for.
void describe(QWidget* widget, const QString& name, const QString& description) {
    if (!name.isEmpty()) {
        widget->setAccessibleName(name);
    }
    widget->setAccessibleDescription(description);
}

} // namespace

ExplainPane::ExplainPane(const Workbench& model, ExplainedDisplays displays,
                         std::function<void(std::function<void(Workbench&)>)> run, QWidget* parent)
    : QDockWidget(tr("Explain"), parent), model_(model), displays_(displays), run_(std::move(run)) {
    setObjectName(QStringLiteral("explainPane"));
    auto* tabs = new QTabWidget(this);
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    reads_ = new QLabel(page);
    reads_->setObjectName(QStringLiteral("readsLabel"));
    reads_->setWordWrap(true);
    describe(reads_, tr("読んだ語"), tr("この命令が読んだデータ領域とスタックの語"));
    notice_ = new QLabel(page);
    notice_->setObjectName(QStringLiteral("noticeLabel"));
    notice_->setWordWrap(true);
    describe(notice_, tr("お知らせ"), tr("書いた命令に戻れないときの説明"));
    auto* hint = new QLabel(tr("Hover a value to see which step wrote it; its context menu "
                               "steps back to that step. Words the step read are underlined "
                               "with dashes."),
                            page);
    hint->setWordWrap(true);
    layout->addWidget(hint);
    layout->addWidget(reads_);
    layout->addWidget(notice_);
    buildPredictions(page);
    layout->addStretch();
    tabs->addTab(page, tr("Step"));
    auto* tablePage = new QWidget;
    buildTable(tablePage);
    tabs->addTab(tablePage, tr("トレース表"));
    tabs->setObjectName(QStringLiteral("explainTabs"));
    // The tab bar's own buttons, for tabs that do not fit beside each other.
    for (QAbstractButton* scroll : tabs->findChildren<QAbstractButton*>()) {
        describe(scroll, QString(), tr("入りきらないタブを表示します"));
    }
    connect(tabs, &QTabWidget::currentChanged, this, [this] { renderTable(); });
    // Beside the displays, not wider than they are.
    tabs->setMaximumWidth(440);
    setWidget(tabs);

    for (QWidget* label : displays_.registers) {
        label->installEventFilter(this);
    }
    for (QWidget* label :
         {static_cast<QWidget*>(displays_.programRegister),
          static_cast<QWidget*>(displays_.stackPointer), static_cast<QWidget*>(displays_.flags)}) {
        label->installEventFilter(this);
    }
    for (QPlainTextEdit* dump : {displays_.dataArea, displays_.stackArea}) {
        dump->viewport()->installEventFilter(this);
        dump->setContextMenuPolicy(Qt::DefaultContextMenu);
    }
}

void ExplainPane::buildPredictions(QWidget* page) {
    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(tr("Predict, then Next (empty: skipped):"), page), 0, 0, 1, 6);
    for (int v = 0; v < predictedValueCount; ++v) {
        const int row = 1 + v % 7;
        const int column = v / 7 * 3;
        auto* name = new QLabel(QString::fromLatin1(predictedNames[static_cast<std::size_t>(v)]));
        auto* edit = new QLineEdit(page);
        edit->setObjectName(QStringLiteral("prediction") + name->text());
        edit->setMaximumWidth(70);
        name->setBuddy(edit);
        auto* mark = new QLabel(page);
        mark->setObjectName(QStringLiteral("mark") + name->text());
        mark->setMinimumWidth(40);
        describe(mark, name->text() + tr(" の予想の結果"), tr("Next の後、予想が合っていたか"));
        describe(edit, QString(), name->text() + tr(" の次の値の予想。空なら予想しません"));
        grid->addWidget(name, row, column);
        grid->addWidget(edit, row, column + 1);
        grid->addWidget(mark, row, column + 2);
        predictions_[static_cast<std::size_t>(v)] = edit;
        marks_[static_cast<std::size_t>(v)] = mark;
        connect(edit, &QLineEdit::textEdited, this, [this, v](const QString& text) {
            const std::u32string typed = text.trimmed().toStdU32String();
            run_([v, typed](Workbench& model) { model.setPrediction(v, typed); });
        });
    }
    grid->setColumnStretch(6, 1);
    score_ = new QLabel(page);
    score_->setObjectName(QStringLiteral("predictionScore"));
    describe(score_, tr("予想の成績"), tr("この実行で合った予想の数"));
    grid->addWidget(score_, 8, 0, 1, 6);
    static_cast<QVBoxLayout*>(page->layout())->addLayout(grid);
}

void ExplainPane::buildTable(QWidget* page) {
    auto* layout = new QVBoxLayout(page);
    auto* choices = new QHBoxLayout;
    constexpr std::array<const char*, 11> names = {"GR0", "GR1", "GR2", "GR3", "GR4", "GR5",
                                                   "GR6", "GR7", "PR",  "SP",  "FR"};
    for (std::size_t i = 0; i < names.size(); ++i) {
        auto* box = new QCheckBox(QString::fromLatin1(names[i]), page);
        box->setChecked(true);
        box->setObjectName(QStringLiteral("column") + box->text());
        describe(box, QString(), tr("トレース表にこの列を表示します"));
        connect(box, &QCheckBox::toggled, this, [this] {
            shownRevision_ = 0;
            renderTable();
        });
        choices->addWidget(box);
        columnChoices_[i] = box;
    }
    layout->addLayout(choices);
    table_ = new QTableWidget(page);
    table_->setObjectName(QStringLiteral("traceTable"));
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->verticalHeader()->setVisible(false);
    describe(table_, tr("トレース表"),
             tr("実行した命令ごとの行: ステップ、行、命令、レジスタ、フラグ"));
    describe(table_->horizontalHeader(), tr("トレース表の列"), tr("列の見出し"));
    describe(table_->verticalHeader(), tr("トレース表の行"), tr("行の見出し"));
    for (QAbstractButton* corner : table_->findChildren<QAbstractButton*>()) {
        describe(corner, tr("すべて選択"), tr("トレース表のすべてのセルを選びます"));
    }
    layout->addWidget(table_, 1);
    auto* buttons = new QHBoxLayout;
    auto* copy = new QPushButton(tr("コピー"), page);
    copy->setObjectName(QStringLiteral("copyTable"));
    auto* save = new QPushButton(tr("CSVで保存..."), page);
    save->setObjectName(QStringLiteral("saveTable"));
    auto* print = new QPushButton(tr("印刷..."), page);
    print->setObjectName(QStringLiteral("printTable"));
    describe(copy, QString(), tr("トレース表をクリップボードにコピーします"));
    describe(save, QString(), tr("トレース表を CSV ファイルに保存します"));
    describe(print, QString(), tr("トレース表を印刷します"));
    buttons->addWidget(copy);
    buttons->addWidget(save);
    buttons->addWidget(print);
    buttons->addStretch();
    layout->addLayout(buttons);
    connect(copy, &QPushButton::clicked, this, [this] {
        QApplication::clipboard()->setText(qt(model_.traceTable(TraceTableFormat::Csv, columns())));
    });
    connect(save, &QPushButton::clicked, this, [this] {
        const QString path =
            QFileDialog::getSaveFileName(this, tr("CSVで保存"), QString(), tr("CSV (*.csv)"));
        if (!path.isEmpty()) {
            saveTable(path);
        }
    });
    connect(print, &QPushButton::clicked, this, [this] {
        QPrinter printer;
        QPrintDialog dialog(&printer, this);
        if (dialog.exec() == QDialog::Accepted) {
            QTextDocument document;
            document.setMarkdown(qt(model_.traceTable(TraceTableFormat::Markdown, columns())));
            document.print(&printer);
        }
    });
}

TraceTableColumns ExplainPane::columns() const {
    TraceTableColumns c;
    for (std::size_t r = 0; r < 8; ++r) {
        c.registers[r] = columnChoices_[r]->isChecked();
    }
    c.programRegister = columnChoices_[8]->isChecked();
    c.stackPointer = columnChoices_[9]->isChecked();
    c.flags = columnChoices_[10]->isChecked();
    return c;
}

bool ExplainPane::saveTable(const QString& path) const {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        return false;
    }
    const std::string bytes = platform::toUtf8(model_.traceTable(TraceTableFormat::Csv, columns()));
    return file.write(bytes.data(), static_cast<qint64>(bytes.size())) ==
           static_cast<qint64>(bytes.size());
}

void ExplainPane::render() {
    const WorkbenchView& view = model_.view();
    const RunExplanation& e = view.explanation;
    for (std::size_t r = 0; r < 8; ++r) {
        displays_.registers[r]->setToolTip(qt(e.registers[r].tip));
    }
    displays_.programRegister->setToolTip(qt(e.programRegister.tip));
    displays_.stackPointer->setToolTip(qt(e.stackPointer.tip));
    displays_.flags->setToolTip(qt(e.flags.tip));
    reads_->setText(qt(e.readsText));
    notice_->setText(qt(e.notice));
    displays_.changes->showReads(e.dataAreaReads, e.stackAreaReads);
    for (std::size_t v = 0; v < predictions_.size(); ++v) {
        if (!predictions_[v]->hasFocus() &&
            predictions_[v]->text().trimmed().toStdU32String() != e.predictions[v]) {
            predictions_[v]->setText(qt(e.predictions[v]));
        }
        showMark(*marks_[v], e.predictionResults[v]);
    }
    score_->setText(
        e.predictionsMade == 0
            ? QString()
            : tr("Predictions right: %1 of %2").arg(e.predictionsRight).arg(e.predictionsMade));
    renderTable();
}

void ExplainPane::renderTable() {
    const std::uint64_t revision = model_.view().displaysRevision;
    if (!table_->isVisible() || revision == shownRevision_) {
        return;
    }
    shownRevision_ = revision;
    const auto cells = model_.traceTableCells(columns(), panelRows);
    table_->clear();
    table_->setColumnCount(static_cast<int>(cells.front().size()));
    table_->setRowCount(static_cast<int>(cells.size()) - 1);
    QStringList header;
    for (const std::u32string& cell : cells.front()) {
        header << qt(cell);
    }
    table_->setHorizontalHeaderLabels(header);
    for (std::size_t r = 1; r < cells.size(); ++r) {
        for (std::size_t c = 0; c < cells[r].size(); ++c) {
            table_->setItem(static_cast<int>(r) - 1, static_cast<int>(c),
                            new QTableWidgetItem(qt(cells[r][c])));
        }
    }
    table_->resizeColumnsToContents();
    table_->scrollToBottom();
}

const ValueExplanation* ExplainPane::explanationAt(QObject* watched, const QPoint& position) const {
    const RunExplanation& e = model_.view().explanation;
    for (std::size_t r = 0; r < 8; ++r) {
        if (watched == displays_.registers[r]) {
            return &e.registers[r];
        }
    }
    if (watched == displays_.programRegister) {
        return &e.programRegister;
    }
    if (watched == displays_.stackPointer) {
        return &e.stackPointer;
    }
    if (watched == displays_.flags) {
        return &e.flags;
    }
    for (QPlainTextEdit* dump : {displays_.dataArea, displays_.stackArea}) {
        if (watched == dump->viewport()) {
            const int line = dump->cursorForPosition(position).blockNumber();
            const auto& lines = dump == displays_.dataArea ? e.dataArea : e.stackArea;
            if (line >= 0 && static_cast<std::size_t>(line) < lines.size() &&
                !lines[static_cast<std::size_t>(line)].tip.empty()) {
                return &lines[static_cast<std::size_t>(line)];
            }
        }
    }
    return nullptr;
}

void ExplainPane::offerStepBack(const ValueExplanation& value, QMenu& menu) {
    QAction* action = menu.addAction(tr("書いたステップへ戻る (step %1)").arg(value.writerStep));
    action->setObjectName(QStringLiteral("stepBackToWriter"));
    const std::uint32_t step = value.writerStep;
    action->setEnabled(model_.view().phase == WorkbenchPhase::Tracing && step > 0);
    connect(action, &QAction::triggered, this,
            [this, step] { run_([step](Workbench& model) { model.stepBackToStep(step); }); });
}

bool ExplainPane::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        const auto* help = static_cast<QHelpEvent*>(event);
        auto* dump = qobject_cast<QWidget*>(watched);
        if (dump != nullptr && (watched == displays_.dataArea->viewport() ||
                                watched == displays_.stackArea->viewport())) {
            const ValueExplanation* value = explanationAt(watched, help->pos());
            if (value != nullptr) {
                QToolTip::showText(help->globalPos(), qt(value->tip), dump);
            } else {
                QToolTip::hideText();
            }
            return true;
        }
    }
    if (event->type() == QEvent::ContextMenu) {
        const auto* context = static_cast<QContextMenuEvent*>(event);
        const ValueExplanation* value = explanationAt(watched, context->pos());
        if (value == nullptr) {
            return QDockWidget::eventFilter(watched, event);
        }
        QMenu menu;
        for (QPlainTextEdit* dump : {displays_.dataArea, displays_.stackArea}) {
            if (watched == dump->viewport()) {
                QMenu* standard = dump->createStandardContextMenu();
                menu.addActions(standard->actions());
                menu.addSeparator();
                standard->setParent(&menu);
            }
        }
        offerStepBack(*value, menu);
        menu.exec(context->globalPos());
        return true;
    }
    return QDockWidget::eventFilter(watched, event);
}

} // namespace casl
