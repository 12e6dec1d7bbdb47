#include "shell/exercise_pane.h"

#include "platform/qt/qt_text.h"
#include "shell/editor_colours.h"
#include "shell/japanese_setup.h"
#include "workbench/exercise_texts.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTextBlockFormat>
#include <QTextBrowser>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextList>
#include <QVBoxLayout>

namespace casl {

namespace {

QString shown(std::u32string_view text) {
    return platform::qt::toQString(text);
}

QString lines(const std::vector<std::u32string>& texts) {
    QStringList all;
    for (const std::u32string& text : texts) {
        all.append(shown(text));
    }
    return all.join(QLatin1Char('\n'));
}

/// A label whose text changes: a screen reader reads the text, or `role` while there is none.
QLabel* makeLabel(QWidget* parent, const char* name, const QString& role) {
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setProperty("role", role);
    label->setAccessibleName(role);
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

void showText(QLabel* label, const QString& text) {
    label->setText(text);
    label->setAccessibleName(text.isEmpty() ? label->property("role").toString() : text);
}

QPushButton* makeButton(QWidget* parent, const char* name, std::u32string_view caption) {
    auto* button = new QPushButton(shown(caption), parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setAutoDefault(false);
    return button;
}

/// Green for a pass and red for a failure, made legible on the palette's base.
QColor verdictColour(bool passed, const QPalette& palette) {
    return legibleOn(passed ? successGreen : failureRed, palette.color(QPalette::Base), 4.5);
}

QString caseLine(const ExerciseCaseView& c) {
    // A mark as well as a colour, so that the verdict does not rest on colour alone.
    const QString mark = c.verdict.empty() ? QStringLiteral("・")
                         : c.passed        ? QStringLiteral("✔ ")
                                           : QStringLiteral("✘ ");
    const QString verdict = c.verdict.empty() ? QString() : shown(c.verdict) + QStringLiteral("  ");
    return mark + verdict + shown(c.name);
}

} // namespace

void fillStatement(QTextDocument& document, const std::vector<StatementBlock>& blocks,
                   const QFont& codeFont) {
    document.clear();
    QTextCursor cursor(&document);
    const QFont base = document.defaultFont();
    QTextList* list = nullptr;
    StatementBlock::Kind listKind = StatementBlock::Kind::Paragraph;
    bool first = true;
    for (const StatementBlock& block : blocks) {
        const bool item = block.kind == StatementBlock::Kind::BulletItem ||
                          block.kind == StatementBlock::Kind::NumberedItem;
        QTextBlockFormat format;
        format.setBottomMargin(item ? 2 : 6);
        QTextCharFormat blockChars;
        blockChars.setFont(base);
        if (block.kind == StatementBlock::Kind::Heading) {
            QFont heading = base;
            heading.setBold(true);
            heading.setPointSizeF(base.pointSizeF() * (block.level == 1 ? 1.4 : 1.15));
            blockChars.setFont(heading);
        }
        if (first) {
            cursor.setBlockFormat(format);
            cursor.setBlockCharFormat(blockChars);
            first = false;
        } else {
            cursor.insertBlock(format, blockChars);
        }
        if (!item || block.kind != listKind) {
            list = nullptr;
        }
        if (item) {
            if (list == nullptr) {
                QTextListFormat listFormat;
                listFormat.setStyle(block.kind == StatementBlock::Kind::BulletItem
                                        ? QTextListFormat::ListDisc
                                        : QTextListFormat::ListDecimal);
                list = cursor.createList(listFormat);
            } else {
                list->add(cursor.block());
            }
        }
        listKind = block.kind;
        for (const StatementSpan& span : block.spans) {
            QTextCharFormat chars = blockChars;
            if (span.code || block.kind == StatementBlock::Kind::Code) {
                chars.setFont(codeFont);
            }
            if (span.strong) {
                chars.setFontWeight(QFont::Bold);
            }
            if (span.emphasis) {
                chars.setFontItalic(true);
            }
            // A block of code keeps its line breaks inside the one block.
            QString text = shown(span.text);
            text.replace(QLatin1Char('\n'), QChar::LineSeparator);
            cursor.insertText(text, chars);
        }
    }
}

ExercisePane::ExercisePane(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("exercisePane"));
    title_ = makeLabel(this, "exerciseTitle", QStringLiteral("演習の題名"));
    QFont titleFont = title_->font();
    titleFont.setBold(true);
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.2);
    title_->setFont(titleFont);
    close_ = makeButton(this, "exerciseClose", texts::closeExercise);

    statement_ = new QTextBrowser(this);
    statement_->setObjectName(QStringLiteral("exerciseStatement"));
    statement_->setOpenLinks(false);

    check_ = makeButton(this, "exerciseCheck", texts::checkCommand);
    summary_ = makeLabel(this, "exerciseSummary", QStringLiteral("採点の結果"));
    cases_ = new QListWidget(this);
    cases_->setObjectName(QStringLiteral("exerciseCases"));
    caseDetails_ = makeLabel(this, "exerciseCaseDetails", QStringLiteral("ケースの詳細"));
    runCase_ = makeButton(this, "exerciseRunCase", texts::runCaseCommand);

    run_ = new QWidget(this);
    run_->setObjectName(QStringLiteral("exerciseRun"));
    runHeading_ = makeLabel(run_, "exerciseRunHeading", QStringLiteral("ケースの実行の結果"));
    QFont headingFont = runHeading_->font();
    headingFont.setBold(true);
    runHeading_->setFont(headingFont);
    runDetails_ = makeLabel(run_, "exerciseRunDetails", QStringLiteral("ケースの比較"));
    auto* runLayout = new QVBoxLayout(run_);
    runLayout->setContentsMargins(0, 4, 0, 0);
    runLayout->addWidget(runHeading_);
    runLayout->addWidget(runDetails_);

    auto* top = new QHBoxLayout;
    top->addWidget(title_, 1);
    top->addWidget(close_);
    auto* checkRow = new QHBoxLayout;
    checkRow->addWidget(check_);
    checkRow->addWidget(summary_, 1);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(top);
    layout->addWidget(statement_, 3);
    layout->addLayout(checkRow);
    layout->addWidget(cases_, 2);
    layout->addWidget(caseDetails_);
    layout->addWidget(runCase_, 0, Qt::AlignLeft);
    layout->addWidget(run_);

    connect(check_, &QPushButton::clicked, this, &ExercisePane::checkRequested);
    connect(close_, &QPushButton::clicked, this, &ExercisePane::closeRequested);
    connect(cases_, &QListWidget::currentRowChanged, this, &ExercisePane::showCase);
    connect(cases_, &QListWidget::itemActivated, this, &ExercisePane::requestRun);
    connect(runCase_, &QPushButton::clicked, this, &ExercisePane::requestRun);
    setMinimumWidth(300);
    setVisible(false);
}

void ExercisePane::render(const ExerciseView& view) {
    if (view.revision == shownRevision_) {
        return;
    }
    shownRevision_ = view.revision;
    const bool sameExercise =
        shown_.open && view.open && shown_.name == view.name && shown_.statement == view.statement;
    shown_ = view;
    setVisible(view.open);
    if (!view.open) {
        return;
    }
    showText(title_, shown(view.title));
    if (!sameExercise) {
        fillStatement(*statement_->document(), view.statement,
                      gothicFont(statement_->font().pointSizeF()));
    }
    check_->setEnabled(view.checkEnabled);
    close_->setEnabled(view.checkEnabled);
    showText(summary_, shown(view.summary));

    const int row = cases_->currentRow();
    cases_->clear();
    for (const ExerciseCaseView& c : view.cases) {
        auto* item = new QListWidgetItem(caseLine(c), cases_);
        if (!c.verdict.empty()) {
            item->setForeground(verdictColour(c.passed, palette()));
        }
    }
    // The first failing case is chosen after a Check, so its details show at once.
    int current = row >= 0 && row < cases_->count() ? row : -1;
    if (current < 0 || view.cases[static_cast<std::size_t>(current)].passed) {
        for (std::size_t i = 0; i < view.cases.size(); ++i) {
            if (!view.cases[i].verdict.empty() && !view.cases[i].passed) {
                current = static_cast<int>(i);
                break;
            }
        }
    }
    cases_->setCurrentRow(current < 0 && cases_->count() > 0 ? 0 : current);
    showCase();

    const CaseRunView& run = view.run;
    run_->setVisible(run.shown);
    showText(runHeading_, shown(run.heading));
    QPalette headingPalette = runHeading_->palette();
    headingPalette.setColor(QPalette::WindowText, run.ended
                                                      ? verdictColour(run.passed, palette())
                                                      : palette().color(QPalette::WindowText));
    runHeading_->setPalette(headingPalette);
    std::vector<std::u32string> details = run.given;
    details.insert(details.end(), run.details.begin(), run.details.end());
    showText(runDetails_, lines(details));
}

void ExercisePane::showCase() {
    const int row = cases_->currentRow();
    if (row < 0 || static_cast<std::size_t>(row) >= shown_.cases.size()) {
        caseDetails_->clear();
        runCase_->setEnabled(false);
        return;
    }
    const ExerciseCaseView& c = shown_.cases[static_cast<std::size_t>(row)];
    showText(caseDetails_, lines(c.details));
    caseDetails_->setVisible(!c.details.empty());
    runCase_->setEnabled(c.runnable);
}

void ExercisePane::requestRun() {
    const int row = cases_->currentRow();
    if (row >= 0 && static_cast<std::size_t>(row) < shown_.cases.size() &&
        shown_.cases[static_cast<std::size_t>(row)].runnable) {
        emit caseRunRequested(static_cast<int>(shown_.cases[static_cast<std::size_t>(row)].index));
    }
}

} // namespace casl
